// Chinese amount, digit and date texts for bills, and the small text
// helpers shared by the bill windows, the history windows and the print
// renderer. Everything here is a pure function of its arguments.
//
// Amounts are handled exactly: a typed amount text is converted to whole
// cents (qint64) digit by digit, rounding half away from zero on the decimal
// value as written, so "1.005" is 101 cents and "0.285" is 29 cents. A
// double amount is first written as its shortest decimal text, so 1.005
// typed into a double field still means 1.005.
//
// Widths are GBK byte lengths: an ASCII character counts 1, any other
// character 2 (a character outside the BMP is one character, also 2),
// even though the texts are held as UTF-16/UTF-8 here.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

namespace billprint {

// Why an amount could not be converted.
enum class AmountError {
    None,
    NotANumber, // not a decimal number ("", ".", "1.2.3", "1,000", "abc")
    OutOfRange, // a number too large for the requested conversion
};

// A typed amount in whole cents.
struct AmountCents {
    qint64 cents = 0;
    AmountError error = AmountError::None;
    bool ok() const noexcept { return error == AmountError::None; }
};

// An amount in Chinese financial capitals ("壹仟零壹元零壹分"). On error the
// text is empty and error says why; a wrong capital text is never produced.
struct ChineseAmount {
    QString text;
    AmountError error = AmountError::None;
    bool ok() const noexcept { return error == AmountError::None; }
};

// The capitals run up to 万亿: the magnitude must stay below
// 10 000 000 000 000 yuan (十万亿), i.e. at most 15 digits of cents.
inline constexpr qint64 kChineseAmountLimitCents = Q_INT64_C(1000000000000000);

// The result of amountToDigitCapitals when the integer part needs more
// boxes than there are (or the amount is unusable).
inline constexpr QStringView kDigitCapitalsOverflow = u"超出位数限制";

// A one-line Chinese message for an amount error, for message boxes.
QString amountErrorMessage(AmountError error);

// GBK byte length: ASCII characters 1, every other character 2.
qsizetype gbkWidth(const QString &text);
qsizetype gbkWidth(QStringView text);

// Cleans a typed amount: trims, turns full-width digits and "．" / "。"
// into ASCII, and keeps only "-", "." and "0"-"9" in their order.
// "１２，３４５．６元" -> "12345.6". An empty text gives "".
QString normalizeAmountText(const QString &typed);

// Exact conversion of an amount text to cents, half away from zero.
// Accepts blanks around, an optional "+" or "-", digits with at most one
// ".", and an optional exponent ("1.5e3"); no separators, no full-width
// characters. Amounts whose cents do not fit in qint64 give OutOfRange.
AmountCents parseAmountCents(const QString &text);

// The amount with exactly two decimals, rounded half away from zero;
// with thousands set, the integer part is grouped by three with the
// locale's group separator. The locale's decimal point is used.
// formatAmount(true, 1234567.5) -> "1,234,567.50" in a Chinese locale.
// A NaN or infinite amount gives "". Negative amounts get a leading "-"
// unless they round to zero.
QString formatAmount(bool thousands, double amount, const QLocale &locale = QLocale());
QString formatCents(bool thousands, qint64 cents, const QLocale &locale = QLocale());

// The amount in financial capitals with units: 1234.56 ->
// "壹仟贰佰叁拾肆元伍角陆分", 0 -> "零元整", -56.3 -> "负伍拾陆元叁角整".
// The text overload reads the decimal text exactly (parseAmountCents); the
// double overload goes through the double's shortest decimal text. An
// amount that rounds to zero cents gives "零元整" without a sign.
// |amount| at or above kChineseAmountLimitCents gives OutOfRange.
ChineseAmount amountToChinese(const QString &amount);
ChineseAmount amountToChinese(double amount);
ChineseAmount centsToChinese(qint64 cents);

// The amount spread over `boxes` integer digit boxes plus its decimals, each
// digit as a capital: amountToDigitCapitals("123.45", 5, "0.00") ->
// "零零壹贰叁肆伍". mode "0": no decimals; ".0" or "0.0": one; ".00",
// "0.00" or anything else: two (rounded half away from zero). "," in the
// amount is ignored. A zero amount gives "零". More integer digits than
// boxes, a negative amount or a text that is not a number gives
// kDigitCapitalsOverflow.
QString amountToDigitCapitals(const QString &amount, int boxes, const QString &mode);

// A date part in capitals as written on cheques. One or two digits are a
// month or day from 1 to 31 ("08" -> "零捌", "10" -> "零壹拾",
// "12" -> "壹拾贰"); other values give "". Three or more digits are
// written digit by digit ("2026" -> "贰零贰陆"). Blanks around are
// ignored; a text with anything but ASCII digits gives "".
QString dateNumberToChinese(const QString &part);

// Splits at every occurrence of separator, keeping empty parts:
// ("a,,b,", ",") -> a, "", b, "". A text without the separator, or an
// empty separator, gives the text alone; "" gives one empty text.
QStringList splitString(const QString &text, const QString &separator);

// Breaks a text into pieces of `width` double-width characters (2*width
// GBK bytes; 2*width + 1 when a double-width character straddles the
// limit). Characters are never split and no piece is empty; "" gives an
// empty list. A width below 1 counts as 1.
QStringList breakTextByWidth(const QString &text, int width);

// True when the text is not blank and every character is "0"-"9" or "."
// (several points pass; blanks anywhere fail).
bool isNumberText(const QString &text);

// True when the text is not blank and every character is "0"-"9".
bool isDigitText(const QString &text);

} // namespace billprint
