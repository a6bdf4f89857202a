#include "app/convert_command.h"

#include "app/chinese_text.h"

#include <QStringConverter>

namespace billprint {

namespace {

constexpr int kUsageError = 2;

// Digit boxes beyond this many are a typing error, not a form.
constexpr int kMaxBoxes = 1000;

const char kUsage[] = "usage: billprint convert capitals AMOUNT | digits AMOUNT BOXES MODE"
                      " | date TEXT | normalize TEXT | break WIDTH TEXT";

int fail(QTextStream &err, const QString &message)
{
    err << "billprint convert: " << message << '\n';
    err.flush();
    return kUsageError;
}

bool toInt(const QString &text, int &value)
{
    if (!isDigitText(text.startsWith(u'-') ? text.mid(1) : text))
        return false;
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

QString amountError(AmountError error, const QString &amount)
{
    if (error == AmountError::OutOfRange)
        return QStringLiteral("amount out of range (must be below 10000000000000): ") + amount;
    return QStringLiteral("not a number: ") + amount;
}

} // namespace

int runConvertCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    QStringList words = args;
    const qsizetype endOfOptions = words.indexOf(QStringLiteral("--"));
    if (endOfOptions >= 0)
        words.removeAt(endOfOptions);

    if (words.isEmpty())
        return fail(err, QStringLiteral("missing conversion; ") + QLatin1String(kUsage));
    const QString command = words.takeFirst();

    struct Spec {
        const char *name;
        QStringList params;
    };
    const Spec specs[] = {
        {"capitals", {QStringLiteral("AMOUNT")}},
        {"digits", {QStringLiteral("AMOUNT"), QStringLiteral("BOXES"), QStringLiteral("MODE")}},
        {"date", {QStringLiteral("TEXT")}},
        {"normalize", {QStringLiteral("TEXT")}},
        {"break", {QStringLiteral("WIDTH"), QStringLiteral("TEXT")}},
    };
    const Spec *spec = nullptr;
    for (const Spec &s : specs) {
        if (command == QLatin1String(s.name))
            spec = &s;
    }
    if (!spec)
        return fail(err, QStringLiteral("unknown conversion \"%1\"; ").arg(command)
                             + QLatin1String(kUsage));
    if (words.size() < spec->params.size())
        return fail(err, QStringLiteral("%1: missing %2").arg(command, spec->params.at(words.size())));
    if (words.size() > spec->params.size())
        return fail(err, QStringLiteral("%1: unexpected argument \"%2\"")
                             .arg(command, words.at(spec->params.size())));

    if (command == u"capitals") {
        const ChineseAmount result = amountToChinese(words.at(0));
        if (!result.ok())
            return fail(err, QStringLiteral("capitals: ") + amountError(result.error, words.at(0)));
        out << result.text << '\n';
    } else if (command == u"digits") {
        QString amount = words.at(0);
        amount.remove(u',');
        const AmountCents parsed = parseAmountCents(amount);
        if (parsed.error == AmountError::NotANumber)
            return fail(err, QStringLiteral("digits: ") + amountError(parsed.error, words.at(0)));
        int boxes = 0;
        if (!toInt(words.at(1), boxes))
            return fail(err, QStringLiteral("digits: BOXES is not a whole number: ") + words.at(1));
        if (boxes > kMaxBoxes)
            return fail(err, QStringLiteral("digits: BOXES must be at most %1").arg(kMaxBoxes));
        out << amountToDigitCapitals(words.at(0), boxes, words.at(2)) << '\n';
    } else if (command == u"date") {
        if (!isDigitText(words.at(0).trimmed()))
            return fail(err, QStringLiteral("date: not a number: ") + words.at(0));
        out << dateNumberToChinese(words.at(0)) << '\n';
    } else if (command == u"normalize") {
        out << normalizeAmountText(words.at(0)) << '\n';
    } else { // break
        int width = 0;
        if (!toInt(words.at(0), width))
            return fail(err, QStringLiteral("break: WIDTH is not a whole number: ") + words.at(0));
        if (width < 1)
            return fail(err, QStringLiteral("break: WIDTH must be at least 1"));
        for (const QString &piece : breakTextByWidth(words.at(1), width))
            out << piece << '\n';
    }
    out.flush();
    return 0;
}

} // namespace billprint
