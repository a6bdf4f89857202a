#include "bills/waybill_rules.h"

#include "app/chinese_text.h"

namespace billprint {

const QStringList &amountInWordsFormats()
{
    static const QStringList formats{
        QStringLiteral("00000.00  限万位到分"),   QStringLiteral("00000.0   限万位到角"),
        QStringLiteral("00000     限万位无小数"), QStringLiteral("0000.00   限千位到分"),
        QStringLiteral("0000.0    限千位到角"),   QStringLiteral("0000      限千位无小数"),
        QStringLiteral("000.00    限百位到分"),   QStringLiteral("000.0     限百位到角"),
        QStringLiteral("000       限百位无小数"), QStringLiteral("000000.00 限十万位到分"),
        QStringLiteral("000000.0  限十万位到角"), QStringLiteral("000000    限十万位无小数"),
        kPlainFiguresFormat,                      kTraditionalCapitalsFormat};
    return formats;
}

namespace {

// The boxes before the point and the decimals mode of a digit format:
// "00000.00  限万位到分" -> 5 boxes, "0.00"; "000       限百位无小数" -> 3, "0".
void readDigitFormat(const QString &format, int *boxes, QString *mode)
{
    const int point = format.indexOf(QLatin1Char('.'));
    const int blank = format.indexOf(QLatin1Char(' '));
    if (point >= 0) {
        const int start = qMax(0, point - 1);
        const int end = blank > point ? blank : format.size();
        *mode = format.mid(start, end - start);
        *boxes = point;
    } else {
        *mode = QStringLiteral("0");
        *boxes = blank >= 0 ? blank : format.size();
    }
}

} // namespace

AmountInWords amountInWords(const QString &format, const QString &typed)
{
    const QString trimmedFormat = format.trimmed();
    if (trimmedFormat.isEmpty() || trimmedFormat == kPlainFiguresFormat || typed.isEmpty())
        return {typed, false};
    if (!isNumberText(typed))
        return {typed, true};
    if (trimmedFormat == kTraditionalCapitalsFormat) {
        const ChineseAmount chinese = amountToChinese(typed);
        return {chinese.ok() ? chinese.text : kDigitCapitalsOverflow.toString(), false};
    }
    int boxes = 0;
    QString mode;
    readDigitFormat(trimmedFormat, &boxes, &mode);
    return {amountToDigitCapitals(typed, boxes, mode), false};
}

QString mergeMobileIntoPhone(const QString &phone, const QString &mobile)
{
    if (mobile.isEmpty())
        return phone;
    if (phone.isEmpty())
        return mobile;
    if (phone.contains(mobile))
        return phone;
    return phone + QLatin1Char('\\') + mobile;
}

QString removeMobileFromPhone(const QString &phone, const QString &mobile)
{
    if (mobile.isEmpty())
        return phone;
    QString result = phone;
    const QString piece = QLatin1Char('\\') + mobile;
    const int at = result.indexOf(piece);
    if (at >= 0)
        result.remove(at, piece.size());
    return result;
}

int addressFontSize(int lines, int height, int limit)
{
    if (lines < 2)
        return 9;
    if (height <= 21)
        return 7;
    return height > limit ? 9 : 8;
}

} // namespace billprint
