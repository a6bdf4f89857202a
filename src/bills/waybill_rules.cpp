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

const QString kCapitalDigits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");

// Decimals a digit format writes: mode "0" none, ".0" or "0.0" one, else two.
int decimalsOfMode(const QString &mode)
{
    if (mode == QLatin1String("0"))
        return 0;
    if (mode == QLatin1String(".0") || mode == QLatin1String("0.0"))
        return 1;
    return 2;
}

// "0056" and "70" -> "56.7": no leading zeros, no trailing decimal zeros.
QString figuresText(const QString &integer, const QString &decimals)
{
    QString whole = integer;
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    QString fraction = decimals;
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    return fraction.isEmpty() ? whole : whole + QLatin1Char('.') + fraction;
}

// One capital per digit over the boxes of a digit format, read back.
QString figuresOfDigitCapitals(const QString &format, const QString &shown)
{
    if (shown == QStringLiteral("零"))
        return QStringLiteral("0");
    int boxes = 0;
    QString mode;
    readDigitFormat(format, &boxes, &mode);
    const int decimals = decimalsOfMode(mode);
    if (shown.size() != boxes + decimals)
        return QString();
    QString digits;
    for (const QChar c : shown) {
        const int value = kCapitalDigits.indexOf(c);
        if (value < 0)
            return QString();
        digits += QChar(u'0' + value);
    }
    return figuresText(digits.left(boxes), digits.mid(boxes));
}

// Capitals with units (壹仟贰佰叁拾肆元伍角陆分, 零元整) read back; "" for a
// text that is not written so.
QString figuresOfChineseCapitals(const QString &shown)
{
    qint64 total = 0;    // whole yuan of the finished 亿 and 万 groups
    qint64 section = 0;  // the group below 万 being read
    int digit = 0;
    int jiao = 0;
    int fen = 0;
    bool pastYuan = false;
    for (const QChar c : shown) {
        const int value = kCapitalDigits.indexOf(c);
        if (value >= 0) {
            digit = value;
            continue;
        }
        switch (c.unicode()) {
        case u'拾': section += (digit == 0 ? 1 : digit) * 10; digit = 0; break;
        case u'佰': section += digit * 100; digit = 0; break;
        case u'仟': section += digit * 1000; digit = 0; break;
        case u'万': total += (section + digit) * 10000; section = 0; digit = 0; break;
        case u'亿': total = (total + section + digit) * 100000000; section = 0; digit = 0; break;
        case u'元': total += section + digit; section = 0; digit = 0; pastYuan = true; break;
        case u'角': jiao = digit; digit = 0; break;
        case u'分': fen = digit; digit = 0; break;
        case u'整': break;
        default: return QString();
        }
    }
    if (!pastYuan)
        return QString();
    return figuresText(QString::number(total), QString::number(jiao) + QString::number(fen));
}

} // namespace

QString figuresOfAmountInWords(const QString &format, const QString &shown)
{
    if (shown.isEmpty() || isNumberText(shown))
        return shown;
    const QString trimmedFormat = format.trimmed();
    if (trimmedFormat.isEmpty() || trimmedFormat == kPlainFiguresFormat)
        return QString();
    const QString figures = trimmedFormat == kTraditionalCapitalsFormat ? figuresOfChineseCapitals(shown)
                                                                         : figuresOfDigitCapitals(trimmedFormat, shown);
    // Only figures that are written as shown again are the ones behind it.
    if (figures.isEmpty() || amountInWords(trimmedFormat, figures).text != shown)
        return QString();
    return figures;
}

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
