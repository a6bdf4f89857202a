#include "app/chinese_text.h"

#include <cmath>
#include <limits>
#include <string>

namespace billprint {

namespace {

// Capital digit d is the character at index d.
constexpr char16_t kCapitalDigits[] = u"零壹贰叁肆伍陆柒捌玖";

// The ten capital digits, then the units. A number of L cents digits takes
// the units from index 26 - L on, so the last digit is "分".
constexpr char16_t kAmountDigitsAndUnits[] = u"零壹贰叁肆伍陆柒捌玖-万仟佰拾亿仟佰拾万仟佰拾元角分";
static_assert(sizeof(kAmountDigitsAndUnits) / sizeof(char16_t) == 26 + 1);
constexpr int kMaxCentsDigits = 15;

// Clean-up of the digit-and-unit text, applied in this order; each pair
// replaces every non-overlapping occurrence in one left-to-right pass.
struct CleanUpPair {
    char16_t from[3]; // a third character of 0 means a two-character pattern
    char16_t to;
};
constexpr CleanUpPair kCleanUpPairs[] = {
    {{u'零', u'仟'}, u'零'}, {{u'零', u'佰'}, u'零'}, {{u'零', u'拾'}, u'零'},
    {{u'零', u'零', u'零'}, u'零'}, {{u'零', u'零'}, u'零'}, {{u'零', u'亿'}, u'亿'},
    {{u'零', u'万'}, u'万'}, {{u'零', u'元'}, u'元'}, {{u'亿', u'万'}, u'亿'},
    {{u'零', u'角'}, u'零'}, {{u'零', u'分'}, u'整'}, {{u'零', u'整'}, u'整'},
};

// Month and day capitals for 1 to 31.
const char16_t *const kMonthDayCapitals[31] = {
    u"零壹", u"零贰", u"零叁", u"零肆", u"零伍", u"零陆", u"零柒", u"零捌",
    u"零玖", u"零壹拾", u"壹拾壹", u"壹拾贰", u"壹拾叁", u"壹拾肆", u"壹拾伍",
    u"壹拾陆", u"壹拾柒", u"壹拾捌", u"壹拾玖", u"零贰拾", u"贰拾壹", u"贰拾贰",
    u"贰拾叁", u"贰拾肆", u"贰拾伍", u"贰拾陆", u"贰拾柒", u"贰拾捌", u"贰拾玖",
    u"零叁拾", u"叁拾壹",
};

bool isAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A decimal number as written: value = 0.d1d2d3... x 10^point, where
// digits holds the significant digits without leading zeros ("" = zero).
struct Decimal {
    bool negative = false;
    std::string digits;
    qint64 point = 0;
};

// Numbers with more integer digits than this are refused outright, so a
// huge exponent cannot make us build a huge digit string.
constexpr qint64 kMaxIntegerDigits = 400;

AmountError parseDecimal(QStringView text, Decimal &out)
{
    out = Decimal();
    text = text.trimmed();
    const qsizetype n = text.size();
    qsizetype i = 0;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        out.negative = text[i] == u'-';
        ++i;
    }
    bool anyDigit = false;
    bool seenPoint = false;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (isAsciiDigit(c)) {
            anyDigit = true;
            if (out.digits.empty() && c == u'0') {
                if (seenPoint)
                    --out.point; // a leading zero after the point
                continue;
            }
            out.digits.push_back(char(c));
            if (!seenPoint)
                ++out.point;
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return AmountError::NotANumber;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        if (i >= n || !isAsciiDigit(text[i].unicode()))
            return AmountError::NotANumber;
        qint64 exponent = 0;
        for (; i < n && isAsciiDigit(text[i].unicode()); ++i)
            exponent = qMin<qint64>(exponent * 10 + (text[i].unicode() - u'0'), 1000000);
        out.point += negativeExponent ? -exponent : exponent;
    }
    if (i != n)
        return AmountError::NotANumber;
    if (out.digits.empty()) {
        out.point = 0;
    } else if (out.point > kMaxIntegerDigits) {
        return AmountError::OutOfRange;
    } else if (out.point < -kMaxIntegerDigits) {
        out.digits.clear(); // far below any rounding position
        out.point = 0;
    }
    return AmountError::None;
}

// The digits of |value| x 10^scale rounded to an integer, halves away from
// zero, without leading zeros; "" when that integer is 0.
std::string roundedInteger(const Decimal &d, int scale)
{
    if (d.digits.empty())
        return {};
    const qint64 keep = d.point + scale; // digits that end up before the point
    if (keep < 0)
        return {};
    if (keep == 0)
        return d.digits[0] >= '5' ? std::string("1") : std::string();
    const auto size = qint64(d.digits.size());
    std::string r = d.digits.substr(0, size_t(qMin(keep, size)));
    if (keep > size)
        r.append(size_t(keep - size), '0');
    if (keep < size && d.digits[size_t(keep)] >= '5') {
        qsizetype j = qsizetype(r.size()) - 1;
        while (j >= 0 && r[size_t(j)] == '9')
            r[size_t(j--)] = '0';
        if (j < 0)
            r.insert(r.begin(), '1');
        else
            ++r[size_t(j)];
    }
    return r;
}

std::string magnitudeDigits(qint64 value)
{
    quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    if (magnitude == 0)
        return {};
    char buffer[24];
    int len = 0;
    while (magnitude) {
        buffer[len++] = char('0' + magnitude % 10);
        magnitude /= 10;
    }
    std::string r(size_t(len), '0');
    for (int k = 0; k < len; ++k)
        r[size_t(k)] = buffer[len - 1 - k];
    return r;
}

// Formats cents given as a digit string (no leading zeros, "" = zero).
QString formatCentsDigits(bool thousands, bool negative, const std::string &centsDigits,
                          const QLocale &locale)
{
    std::string digits = centsDigits;
    if (digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    const size_t integerCount = digits.size() - 2;
    const QString group = locale.groupSeparator();
    QString result;
    result.reserve(int(digits.size() * 2 + 2));
    if (negative && !centsDigits.empty())
        result += u'-';
    for (size_t k = 0; k < integerCount; ++k) {
        if (thousands && k > 0 && (integerCount - k) % 3 == 0)
            result += group;
        result += QChar(char16_t(digits[k]));
    }
    result += locale.decimalPoint();
    result += QChar(char16_t(digits[integerCount]));
    result += QChar(char16_t(digits[integerCount + 1]));
    return result;
}

QString shortestDecimalText(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

// Replaces every non-overlapping occurrence of pair.from by pair.to in one
// left-to-right pass, in place; returns the new length.
int replaceInPlace(char16_t *text, int len, const CleanUpPair &pair)
{
    const char16_t a = pair.from[0];
    const char16_t b = pair.from[1];
    const char16_t c = pair.from[2];
    const int fromLen = c ? 3 : 2;
    int read = 0;
    int write = 0;
    while (read + fromLen <= len) {
        if (text[read] == a && text[read + 1] == b && (!c || text[read + 2] == c)) {
            text[write++] = pair.to;
            read += fromLen;
        } else {
            text[write++] = text[read++];
        }
    }
    while (read < len)
        text[write++] = text[read++];
    return write;
}

} // namespace

QString amountErrorMessage(AmountError error)
{
    switch (error) {
    case AmountError::None:
        return QString();
    case AmountError::NotANumber:
        return QStringLiteral("金额不是有效的数值");
    case AmountError::OutOfRange:
        return QStringLiteral("金额超出范围：大写金额必须小于10,000,000,000,000（十万亿）");
    }
    return QString();
}

qsizetype gbkWidth(QStringView text)
{
    qsizetype width = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80) {
            width += 1;
        } else {
            width += 2;
            if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate())
                ++i;
        }
    }
    return width;
}

qsizetype gbkWidth(const QString &text) { return gbkWidth(QStringView(text)); }

QString normalizeAmountText(const QString &typed)
{
    const QString trimmed = typed.trimmed();
    QString result;
    result.reserve(trimmed.size());
    for (const QChar ch : trimmed) {
        char16_t c = ch.unicode();
        if (c >= u'０' && c <= u'９')
            c = char16_t(u'0' + (c - u'０'));
        else if (c == u'．' || c == u'。')
            c = u'.';
        if (isAsciiDigit(c) || c == u'.' || c == u'-')
            result += QChar(c);
    }
    return result;
}

AmountCents parseAmountCents(const QString &text)
{
    Decimal d;
    const AmountError error = parseDecimal(text, d);
    if (error != AmountError::None)
        return {0, error};
    const std::string digits = roundedInteger(d, 2);
    if (digits.size() > 19) // 19 digits always fit in quint64
        return {0, AmountError::OutOfRange};
    quint64 magnitude = 0;
    for (char c : digits)
        magnitude = magnitude * 10 + quint64(c - '0');
    if (magnitude > quint64(std::numeric_limits<qint64>::max()))
        return {0, AmountError::OutOfRange};
    const auto cents = qint64(magnitude);
    return {d.negative ? -cents : cents, AmountError::None};
}

QString formatAmount(bool thousands, double amount, const QLocale &locale)
{
    if (!std::isfinite(amount))
        return QString();
    Decimal d;
    if (parseDecimal(shortestDecimalText(amount), d) != AmountError::None)
        return QString();
    return formatCentsDigits(thousands, d.negative, roundedInteger(d, 2), locale);
}

QString formatCents(bool thousands, qint64 cents, const QLocale &locale)
{
    return formatCentsDigits(thousands, cents < 0, magnitudeDigits(cents), locale);
}

ChineseAmount centsToChinese(qint64 cents)
{
    if (cents <= -kChineseAmountLimitCents || cents >= kChineseAmountLimitCents)
        return {QString(), AmountError::OutOfRange};
    // Also reached by amounts such as 0.004 or -0.004 that round to no
    // cents: the digit table alone would turn them into "整" / "负整".
    if (cents == 0)
        return {QStringLiteral("零元整"), AmountError::None};

    // Digits of the magnitude, most significant first.
    quint64 magnitude = cents < 0 ? quint64(-cents) : quint64(cents);
    char16_t digits[kMaxCentsDigits];
    int count = 0;
    for (; magnitude; magnitude /= 10)
        digits[count++] = char16_t(magnitude % 10);

    // "负" + one capital and one unit per digit.
    char16_t text[1 + 2 * kMaxCentsDigits];
    int len = 0;
    if (cents < 0)
        text[len++] = u'负';
    for (int i = 1; i <= count; ++i) {
        text[len++] = kCapitalDigits[digits[count - i]];
        text[len++] = kAmountDigitsAndUnits[25 - count + i];
    }
    for (const CleanUpPair &pair : kCleanUpPairs)
        len = replaceInPlace(text, len, pair);
    return {QString(reinterpret_cast<const QChar *>(text), len), AmountError::None};
}

ChineseAmount amountToChinese(const QString &amount)
{
    const AmountCents cents = parseAmountCents(amount);
    if (!cents.ok())
        return {QString(), cents.error};
    return centsToChinese(cents.cents);
}

ChineseAmount amountToChinese(double amount)
{
    if (std::isnan(amount))
        return {QString(), AmountError::NotANumber};
    if (std::isinf(amount))
        return {QString(), AmountError::OutOfRange};
    return amountToChinese(shortestDecimalText(amount));
}

QString amountToDigitCapitals(const QString &amount, int boxes, const QString &mode)
{
    const QString overflow = kDigitCapitalsOverflow.toString();
    QString text = amount;
    text.remove(u',');
    Decimal d;
    if (parseDecimal(text, d) != AmountError::None)
        return overflow;
    if (d.digits.empty())
        return QStringLiteral("零");
    if (d.negative)
        return overflow;

    int decimals = 2;
    if (mode == u"0")
        decimals = 0;
    else if (mode == u".0" || mode == u"0.0")
        decimals = 1;

    std::string digits = roundedInteger(d, decimals);
    if (digits.size() < size_t(decimals) + 1)
        digits.insert(0, size_t(decimals) + 1 - digits.size(), '0');
    const qint64 integerDigits = qint64(digits.size()) - decimals;
    if (boxes < integerDigits)
        return overflow;

    QString result;
    result.reserve(qsizetype(boxes) + decimals);
    for (qint64 k = integerDigits; k < boxes; ++k)
        result += QChar(kCapitalDigits[0]);
    for (char c : digits)
        result += QChar(kCapitalDigits[c - '0']);
    return result;
}

QString dateNumberToChinese(const QString &part)
{
    const QString text = part.trimmed();
    if (text.isEmpty())
        return QString();
    for (const QChar c : text) {
        if (!isAsciiDigit(c.unicode()))
            return QString();
    }
    if (text.size() < 3) {
        const int value = text.toInt();
        if (value < 1 || value > 31)
            return QString();
        return QString::fromUtf16(kMonthDayCapitals[value - 1]);
    }
    QString result;
    result.reserve(text.size());
    for (const QChar c : text)
        result += QChar(kCapitalDigits[c.unicode() - u'0']);
    return result;
}

QStringList splitString(const QString &text, const QString &separator)
{
    if (separator.isEmpty())
        return {text};
    return text.split(separator, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QStringList breakTextByWidth(const QString &text, int width)
{
    QStringList pieces;
    if (text.isEmpty())
        return pieces;
    const qsizetype limit = 2 * qsizetype(qMax(width, 1));
    qsizetype remaining = gbkWidth(text);
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (remaining > limit) {
        // The shortest prefix of the rest that is at least `limit` wide.
        qsizetype pieceWidth = 0;
        qsizetype i = start;
        while (pieceWidth < limit) {
            const QChar c = text[i];
            if (c.unicode() < 0x80) {
                pieceWidth += 1;
            } else {
                pieceWidth += 2;
                if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate())
                    ++i;
            }
            ++i;
        }
        pieces.append(text.mid(start, i - start));
        remaining -= pieceWidth;
        start = i;
    }
    // A cut that ends one byte past the limit can use up the whole text.
    if (start < n)
        pieces.append(start == 0 ? text : text.mid(start));
    return pieces;
}

bool isNumberText(const QString &text)
{
    if (text.trimmed().isEmpty())
        return false;
    for (const QChar c : text) {
        if (!isAsciiDigit(c.unicode()) && c != u'.')
            return false;
    }
    return true;
}

bool isDigitText(const QString &text)
{
    if (text.trimmed().isEmpty())
        return false;
    for (const QChar c : text) {
        if (!isAsciiDigit(c.unicode()))
            return false;
    }
    return true;
}

} // namespace billprint
