#include "bills/amount_entry.h"

#include "app/alert.h"
#include "app/chinese_text.h"
#include "app/lookups.h"

#include <QLocale>

#include <algorithm>

namespace billprint {

namespace {

const QString kCaption = QStringLiteral("金额输入");

// Bills are Chinese forms: "1,234.50" whatever the desktop's locale.
const QLocale &billLocale()
{
    static const QLocale locale(QLocale::Chinese, QLocale::China);
    return locale;
}

// True for "-" followed by a number that is not zero ("-0.001" too: the
// user asked for a negative amount even if it rounds to no cents).
bool isNegativeText(const QString &text)
{
    if (!text.startsWith(QLatin1Char('-')))
        return false;
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); });
}

// True when rounding to the cent changed the typed value (a non-zero
// digit after the second decimal).
bool roundingChangedText(const QString &text)
{
    const int point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        return false;
    for (int i = point + 3; i < text.size(); ++i)
        if (text.at(i) != QLatin1Char('0'))
            return true;
    return false;
}

// Shortest decimal text of an amount in cents: 1235 -> "12.35",
// 1230 -> "12.3", 1200 -> "12".
QString shortestText(qint64 cents)
{
    QString text = QString::number(cents / 100);
    const int fraction = int(cents % 100);
    if (fraction % 10)
        text += QStringLiteral(".%1").arg(fraction, 2, 10, QLatin1Char('0'));
    else if (fraction)
        text += QLatin1Char('.') + QString::number(fraction / 10);
    return text;
}

// Characters an amount may be typed with; normalizeAmountText turns them
// into plain digits, "." and "-" and drops the separators.
bool isAmountCharacter(QChar c)
{
    const char16_t code = c.unicode();
    return (code >= u'0' && code <= u'9') || (code >= u'０' && code <= u'９') || code == u'.' || code == u'．'
        || code == u'。' || code == u',' || code == u'-';
}

} // namespace

const std::array<QString, kDigitBoxCount> &digitBoxNames()
{
    static const std::array<QString, kDigitBoxCount> names = {
        QStringLiteral("zdYY"), QStringLiteral("zdQW"), QStringLiteral("zdBW"), QStringLiteral("zdSW"),
        QStringLiteral("zdWY"), QStringLiteral("zdQY"), QStringLiteral("zdBY"), QStringLiteral("zdSY"),
        QStringLiteral("zdY"),  QStringLiteral("zdJ"),  QStringLiteral("zdF")};
    return names;
}

AmountStatus parseEnteredAmount(const QString &text, qint64 *cents, QString *cleaned)
{
    *cents = 0;
    const QString typed = text.trimmed();
    if (!std::all_of(typed.cbegin(), typed.cend(), isAmountCharacter))
        return AmountStatus::NotANumber;
    const QString plain = normalizeAmountText(typed);
    if (cleaned)
        *cleaned = plain;
    if (plain.isEmpty())
        return typed.isEmpty() ? AmountStatus::Cleared : AmountStatus::NotANumber;
    const AmountCents parsed = parseAmountCents(plain);
    if (parsed.error == AmountError::NotANumber)
        return AmountStatus::NotANumber;
    // The limit applies to the rounded amount: 999999999.995 would print
    // as 1,000,000,000.00, which no form has boxes for.
    if (!parsed.ok() || parsed.cents < 0 || parsed.cents >= kAmountLimitCents || isNegativeText(plain))
        return AmountStatus::OutOfRange;
    *cents = parsed.cents;
    return parsed.cents == 0 ? AmountStatus::Cleared : AmountStatus::Applied;
}

DigitSpread spreadDigits(qint64 cents, const QString &code, bool withSymbol)
{
    DigitSpread spread;
    if (cents <= 0)
        return spread;
    // Integer boxes from the units up: 元 十 百 千 万 十万 百万 千万 亿.
    static constexpr DigitBox kUp[] = {BoxY, BoxSY, BoxBY, BoxQY, BoxWY, BoxSW, BoxBW, BoxQW, BoxYY};
    const QString integer = QString::number(cents / 100);
    if (integer != QLatin1String("0")) {
        for (int i = 0; i < integer.size(); ++i) {
            const QChar digit = integer.at(integer.size() - 1 - i);
            if (i < 9)
                spread.digits[kUp[i]] = digit;
            else
                ++spread.overflow;
        }
    }
    spread.digits[BoxJ] = QString::number((cents / 10) % 10);
    spread.digits[BoxF] = QString::number(cents % 10);
    if (withSymbol) {
        static constexpr DigitBox kWalk[] = {BoxJ, BoxY, BoxSY, BoxBY, BoxQY, BoxWY, BoxSW, BoxBW, BoxQW, BoxYY};
        for (DigitBox box : kWalk) {
            if (spread.digits[box].trimmed().isEmpty()) {
                spread.digits[box] = code;
                break;
            }
        }
    }
    return spread;
}

void CurrencyState::setMoneyName(const QString &name)
{
    m_name = name.isEmpty() ? defaultName() : name;
    m_code.reset();
}

QString CurrencyState::getMoneyCode()
{
    if (!m_code)
        m_code = m_lookup ? m_lookup(m_name) : QString();
    return *m_code;
}

AmountEntry::AmountEntry(CurrencyState::CodeLookup lookup) : m_currency(std::move(lookup)) {}

AmountEntry::AmountEntry(const Database &db)
    : AmountEntry([&db](const QString &name) { return Lookups(db).getMoneyCodeByName(name); })
{
}

AmountStatus AmountEntry::setJEXX(const QString &text)
{
    qint64 cents = 0;
    QString cleaned;
    const AmountStatus status = parseEnteredAmount(text, &cents, &cleaned);
    switch (status) {
    case AmountStatus::NotANumber:
        tell(QStringLiteral("金额只能为数值，例如：123.50"), kCaption, AlertIcon::Warning);
        return status;
    case AmountStatus::OutOfRange:
        tell(QStringLiteral("金额值必须介于0~1,000,000,000之间！"), kCaption, AlertIcon::Warning);
        return status;
    case AmountStatus::Cleared:
        clear();
        return status;
    case AmountStatus::Applied:
        break;
    }
    m_fields.input = roundingChangedText(cleaned) ? shortestText(cents) : cleaned;
    const QString code = getMoneyCode();
    m_fields.figures = (m_options.jexxWithMoneyCode ? code : QString()) + formatCents(true, cents, billLocale());
    m_fields.stub = m_fields.figures;
    WriteToJEGrid(code, cents);
    m_fields.capitals = capitalsOf(cents);
    m_cents = cents;
    return status;
}

void AmountEntry::WriteToJEGrid(const QString &code, qint64 cents)
{
    if (cents <= 0) {
        m_fields.digits = {};
        m_fields.stub.clear();
        m_fields.figures.clear();
        return;
    }
    const DigitSpread spread =
        spreadDigits(cents, code.isEmpty() ? getMoneyCode() : code, !m_options.noPrtSheep);
    m_fields.digits = spread.digits;
    for (int i = 0; i < spread.overflow; ++i)
        tell(QStringLiteral("    溢出   "), QStringLiteral("出错"), AlertIcon::Error);
}

QString AmountEntry::capitalsOf(qint64 cents) const
{
    QString capitals = centsToChinese(cents).text;
    if (m_options.jedxWithMoneyName) {
        const QString &name = m_currency.moneyName();
        capitals.prepend(name);
        // For 人民币 the name stays only when the user asks for it.
        if (name == CurrencyState::defaultName() && !m_options.jedxRmbChecked) {
            const int at = capitals.indexOf(name);
            if (at >= 0)
                capitals.remove(at, name.size());
        }
    }
    return capitals;
}

void AmountEntry::clear()
{
    m_fields = AmountFields();
    m_cents = 0;
}

} // namespace billprint
