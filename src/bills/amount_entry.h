// The amount of a money bill, typed once in figures and spread over every
// place the form wants it: the figures with the currency code (zdJEXX and
// its stub copy cgJEXX), the Chinese capitals with the currency name
// (zdJEDX) and the eleven digit boxes 亿 … 分 with the currency symbol just
// left of the highest digit. No widgets here: the bill windows bind this
// state to their fields (bills/ui/amount_entry_controller.h).
//
// The typed amount is rounded to the cent once, before anything is spread,
// so the figures, the digit boxes and the capitals always show the same
// amount (12.345 is 12.35 everywhere, never 12.34 in the boxes).
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <functional>
#include <optional>

namespace billprint {

class Database;

// The option check boxes of the bill window that steer the result.
struct AmountOptions
{
    bool jexxWithMoneyCode = true;   // cfgJEXXWithMoneyCode: code before the figures
    bool jedxWithMoneyName = true;   // cfgJEDXWithMoneyName: name before the capitals
    bool jedxRmbChecked = false;     // cfgJEDXRMBChecked: keep "人民币" before the capitals
    bool noPrtSheep = false;         // cfgNoPrtSheep: no symbol in the digit boxes
};

// The digit boxes, highest first: 亿 千万 百万 十万 万 千 百 十 元 角 分.
inline constexpr int kDigitBoxCount = 11;
using DigitBoxes = std::array<QString, kDigitBoxCount>;
enum DigitBox { BoxYY, BoxQW, BoxBW, BoxSW, BoxWY, BoxQY, BoxBY, BoxSY, BoxY, BoxJ, BoxF };
// Field names of the boxes in that order (zdYY … zdF).
const std::array<QString, kDigitBoxCount> &digitBoxNames();

// What the amount fields show.
struct AmountFields
{
    QString input;     // inputJEXX: the amount as typed (cleaned)
    QString figures;   // zdJEXX, e.g. "￥1,234.56"
    QString stub;      // cgJEXX
    QString capitals;  // zdJEDX, e.g. "壹仟贰佰叁拾肆元伍角陆分"
    DigitBoxes digits;

    bool operator==(const AmountFields &o) const
    {
        return input == o.input && figures == o.figures && stub == o.stub && capitals == o.capitals
            && digits == o.digits;
    }
};

enum class AmountStatus {
    Applied,     // a positive amount was spread
    Cleared,     // zero or empty: every amount field is empty
    NotANumber,  // refused, fields unchanged
    OutOfRange,  // below 0 or 1,000,000,000 and above after rounding; refused
};

// Amounts run from 0 up to, not including, 1,000,000,000 yuan.
inline constexpr qint64 kAmountLimitCents = Q_INT64_C(100000000000);

// The one reading of a typed amount, shared by the amount input of every
// bill window and the command line: blank is zero; otherwise only digits
// (half or full width), one decimal point ("." "．" "。"), thousands
// separators "," and a leading "-" (which is out of range) may stand in
// it, so letters, an exponent ("1e3") or a currency sign make it no
// number. The amount is rounded half away from zero to the cent;
// `cleaned`, when given, receives the text with the separators dropped.
AmountStatus parseEnteredAmount(const QString &text, qint64 *cents, QString *cleaned = nullptr);

// The digits of `cents` over the eleven boxes. Digits beyond the nine
// integer boxes are counted in `overflow`. With a symbol, `code` goes into
// the first empty box walking up from 角 (so just left of the highest
// digit; into 元 below one yuan; nowhere when all nine are filled).
struct DigitSpread
{
    DigitBoxes digits;
    int overflow = 0;
};
DigitSpread spreadDigits(qint64 cents, const QString &code, bool withSymbol);

// The bill's currency: its name (default "人民币") and its code, looked up
// once per name and kept until the name changes.
class CurrencyState
{
public:
    using CodeLookup = std::function<QString(const QString &name)>;
    explicit CurrencyState(CodeLookup lookup) : m_lookup(std::move(lookup)) {}

    static QString defaultName() { return QStringLiteral("人民币"); }

    void setMoneyName(const QString &name);
    const QString &moneyName() const { return m_name; }
    QString getMoneyCode();

private:
    CodeLookup m_lookup;
    QString m_name = defaultName();
    std::optional<QString> m_code;
};

// The amount state of one bill window.
class AmountEntry
{
public:
    explicit AmountEntry(CurrencyState::CodeLookup lookup);
    // Codes come from the currency table (coins) of `db`.
    explicit AmountEntry(const Database &db);

    void setMoneyName(const QString &name) { m_currency.setMoneyName(name); }
    const QString &moneyName() const { return m_currency.moneyName(); }
    QString getMoneyCode() { return m_currency.getMoneyCode(); }

    void setOptions(const AmountOptions &options) { m_options = options; }
    const AmountOptions &options() const { return m_options; }

    const AmountFields &fields() const { return m_fields; }
    qint64 cents() const { return m_cents; }

    // Validates `text` and spreads it over all amount fields. A refused
    // text tells the user ("金额输入") and leaves the fields as they were.
    // An amount with more than two decimals is rounded to the cent and the
    // input takes the rounded text, so what is saved is what is printed.
    AmountStatus setJEXX(const QString &text);

    // Fills the digit boxes from an amount; an empty code means the
    // current currency's. Zero or less empties the boxes, the figures and
    // the stub copy. Each digit beyond the nine integer boxes tells the
    // user "    溢出   " ("出错") once.
    void WriteToJEGrid(const QString &code, qint64 cents);

private:
    void clear();
    QString capitalsOf(qint64 cents) const;

    CurrencyState m_currency;
    AmountOptions m_options;
    AmountFields m_fields;
    qint64 m_cents = 0;
};

} // namespace billprint
