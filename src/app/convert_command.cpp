#include "app/convert_command.h"

#include "app/chinese_text.h"
#include "app/command_context.h"
#include "app/command_line.h"

#include <QStringConverter>

namespace billprint {

namespace {

// Digit boxes beyond this many are a typing error, not a form.
constexpr int kMaxBoxes = 1000;

const char kUsage[] = "usage: billprint convert capitals AMOUNT | digits AMOUNT BOXES MODE"
                      " | date TEXT | normalize TEXT | break WIDTH TEXT";

CommandLine convertCommandLine()
{
    CommandLine line(QStringLiteral("convert"),
                     {QStringLiteral("capitals AMOUNT"), QStringLiteral("digits AMOUNT BOXES MODE"),
                      QStringLiteral("date TEXT"), QStringLiteral("normalize TEXT"), QStringLiteral("break WIDTH TEXT")},
                     QStringLiteral("The text conversions of the bills, one result per call, printed as UTF-8:\n"
                                    "  capitals   an amount in Chinese capitals\n"
                                    "  digits     an amount spread over BOXES digit boxes in format MODE\n"
                                    "  date       a year, month or day number in capitals\n"
                                    "  normalize  a typed amount cleaned to a number text\n"
                                    "  break      a text broken into pieces of WIDTH, one a line\n"
                                    "Values may begin with \"-\"; a first \"--\" is dropped.\n"
                                    "Exit 0: converted; 2: unknown conversion, missing, extra or non-numeric\n"
                                    "argument, amount out of range."));
    line.word(QStringLiteral("CONVERSION"), QStringLiteral("capitals, digits, date, normalize or break"))
        .word(QStringLiteral("VALUE..."), QStringLiteral("what the conversion takes"))
        .moreWords()
        .wordsEndOptions()
        .withoutDataFolder();
    return line;
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

    // The first "--" goes before the words are read, so that a value
    // after it may begin with a dash, and "--" itself may follow it.
    QStringList rest = args;
    const qsizetype endOfOptions = rest.indexOf(QStringLiteral("--"));
    if (endOfOptions >= 0)
        rest.removeAt(endOfOptions);
    CommandLine line = convertCommandLine();
    CommandContext context(line, QString(), err);
    if (const std::optional<int> done = context.start(rest, out))
        return *done;
    const auto fail = [&context](const QString &message) { return context.fail(message); };
    QStringList words = line.words();

    if (words.isEmpty())
        return fail(QStringLiteral("missing conversion; ") + QLatin1String(kUsage));
    const QString command = words.takeFirst();

    struct Conversion {
        const char *name;
        QStringList params;
    };
    const Conversion conversions[] = {
        {"capitals", {QStringLiteral("AMOUNT")}},
        {"digits", {QStringLiteral("AMOUNT"), QStringLiteral("BOXES"), QStringLiteral("MODE")}},
        {"date", {QStringLiteral("TEXT")}},
        {"normalize", {QStringLiteral("TEXT")}},
        {"break", {QStringLiteral("WIDTH"), QStringLiteral("TEXT")}},
    };
    const Conversion *conversion = nullptr;
    for (const Conversion &c : conversions) {
        if (command == QLatin1String(c.name))
            conversion = &c;
    }
    if (!conversion)
        return fail(QStringLiteral("unknown conversion \"%1\"; ").arg(command)
                             + QLatin1String(kUsage));
    if (words.size() < conversion->params.size())
        return fail(QStringLiteral("%1: missing %2").arg(command, conversion->params.at(words.size())));
    if (words.size() > conversion->params.size())
        return fail(QStringLiteral("%1: unexpected argument \"%2\"")
                             .arg(command, words.at(conversion->params.size())));

    if (command == u"capitals") {
        const ChineseAmount result = amountToChinese(words.at(0));
        if (!result.ok())
            return fail(QStringLiteral("capitals: ") + amountError(result.error, words.at(0)));
        out << result.text << '\n';
    } else if (command == u"digits") {
        QString amount = words.at(0);
        amount.remove(u',');
        const AmountCents parsed = parseAmountCents(amount);
        if (parsed.error == AmountError::NotANumber)
            return fail(QStringLiteral("digits: ") + amountError(parsed.error, words.at(0)));
        int boxes = 0;
        if (!toInt(words.at(1), boxes))
            return fail(QStringLiteral("digits: BOXES is not a whole number: ") + words.at(1));
        if (boxes > kMaxBoxes)
            return fail(QStringLiteral("digits: BOXES must be at most %1").arg(kMaxBoxes));
        out << amountToDigitCapitals(words.at(0), boxes, words.at(2)) << '\n';
    } else if (command == u"date") {
        if (!isDigitText(words.at(0).trimmed()))
            return fail(QStringLiteral("date: not a number: ") + words.at(0));
        out << dateNumberToChinese(words.at(0)) << '\n';
    } else if (command == u"normalize") {
        out << normalizeAmountText(words.at(0)) << '\n';
    } else { // break
        int width = 0;
        if (!toInt(words.at(0), width))
            return fail(QStringLiteral("break: WIDTH is not a whole number: ") + words.at(0));
        if (width < 1)
            return fail(QStringLiteral("break: WIDTH must be at least 1"));
        for (const QString &piece : breakTextByWidth(words.at(1), width))
            out << piece << '\n';
    }
    out.flush();
    return 0;
}

} // namespace billprint
