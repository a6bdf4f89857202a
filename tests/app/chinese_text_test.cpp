// Chinese amount, digit and date texts and the shared text helpers.
#include "app/chinese_text.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <limits>
#include <ostream>

using namespace billprint;

// Readable failure output for Qt strings (found by argument-dependent lookup).
QT_BEGIN_NAMESPACE
static void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
static void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '[';
    for (qsizetype i = 0; i < l.size(); ++i)
        *os << (i ? ", " : "") << '"' << l[i].toStdString() << '"';
    *os << ']';
}
QT_END_NAMESPACE

namespace {

QString q(const char *utf8) { return QString::fromUtf8(utf8); }

// ---------------------------------------------------------------------------
// gbkWidth

struct WidthCase {
    const char *text;
    qsizetype width;
};

class GbkWidthTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(GbkWidthTest, CountsAsciiOneAndEveryOtherCharacterTwo)
{
    EXPECT_EQ(gbkWidth(q(GetParam().text)), GetParam().width) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Widths, GbkWidthTest,
    ::testing::Values(WidthCase{"", 0}, WidthCase{"abc 12", 6}, WidthCase{"中文", 4},
                      WidthCase{"ab中文字cd", 10}, WidthCase{"１２．", 6}, // full-width: 2 each
                      WidthCase{"￥", 2}, WidthCase{"é", 2},
                      WidthCase{"a\xF0\xA0\x80\x80" "b", 4}, // CJK ext. B: one character
                      WidthCase{"\xF0\x9F\x98\x80", 2}));

// ---------------------------------------------------------------------------
// normalizeAmountText

struct TextCase {
    const char *input;
    const char *expected;
};

class NormalizeAmountTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(NormalizeAmountTextTest, KeepsOnlySignPointAndDigits)
{
    EXPECT_EQ(normalizeAmountText(q(GetParam().input)), q(GetParam().expected))
        << GetParam().input;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, NormalizeAmountTextTest,
    ::testing::Values(TextCase{"１２，３４５．６元", "12345.6"},
                      TextCase{"  -8,000。5  ", "-8000.5"},
                      TextCase{"", ""}, TextCase{"   ", ""}, TextCase{"\t\n", ""},
                      TextCase{"人民币", ""},
                      TextCase{"０１２３４５６７８９", "0123456789"},
                      TextCase{"1 234.50", "1234.50"},   // inner blank dropped
                      TextCase{"¥1,234.5", "1234.5"},
                      TextCase{"1.2.3", "1.2.3"},        // cleaned, not validated
                      TextCase{"－５", "5"},               // full-width minus is not kept
                      TextCase{"ＡＢ12ab", "12"}));

// ---------------------------------------------------------------------------
// parseAmountCents: exact decimal to cents, half away from zero

struct CentsCase {
    const char *text;
    qint64 cents;
};

class ParseAmountCentsTest : public ::testing::TestWithParam<CentsCase> {};

TEST_P(ParseAmountCentsTest, RoundsTheWrittenDecimalValue)
{
    const AmountCents r = parseAmountCents(q(GetParam().text));
    ASSERT_TRUE(r.ok()) << GetParam().text;
    EXPECT_EQ(r.cents, GetParam().cents) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    ExactDecimals, ParseAmountCentsTest,
    ::testing::Values(
        // These are all just below the half in binary floating point.
        CentsCase{"1.005", 101}, CentsCase{"0.285", 29}, CentsCase{"1234567.895", 123456790},
        CentsCase{"2.675", 268}, CentsCase{"1.015", 102}, CentsCase{"8.345", 835},
        CentsCase{"-1.005", -101}, CentsCase{"-0.285", -29},
        CentsCase{"1.00499999999999999999", 100}, CentsCase{"1.00500000000000000001", 101},
        CentsCase{"0.005", 1}, CentsCase{"0.0049", 0}, CentsCase{"-0.005", -1},
        CentsCase{"999.995", 100000}, CentsCase{"9999999999999.995", Q_INT64_C(1000000000000000)},
        CentsCase{"0", 0}, CentsCase{"-0", 0}, CentsCase{"0.00", 0}, CentsCase{"000123.40", 12340},
        CentsCase{" 12.3 ", 1230}, CentsCase{"+5", 500}, CentsCase{"5.", 500}, CentsCase{".5", 50},
        CentsCase{"1e3", 100000}, CentsCase{"1.5E2", 15000}, CentsCase{"125e-4", 1},
        CentsCase{"1e-9999999", 0}, CentsCase{"0e99999999", 0},
        CentsCase{"92233720368547758.07", Q_INT64_C(9223372036854775807)},
        CentsCase{"-92233720368547758.07", -Q_INT64_C(9223372036854775807)}));

struct BadAmountCase {
    const char *text;
    AmountError error;
};

class ParseAmountCentsErrorTest : public ::testing::TestWithParam<BadAmountCase> {};

TEST_P(ParseAmountCentsErrorTest, Refuses)
{
    const AmountCents r = parseAmountCents(q(GetParam().text));
    EXPECT_FALSE(r.ok()) << GetParam().text;
    EXPECT_EQ(r.error, GetParam().error) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Invalid, ParseAmountCentsErrorTest,
    ::testing::Values(
        BadAmountCase{"", AmountError::NotANumber}, BadAmountCase{"  ", AmountError::NotANumber},
        BadAmountCase{".", AmountError::NotANumber}, BadAmountCase{"-", AmountError::NotANumber},
        BadAmountCase{"1.2.3", AmountError::NotANumber}, BadAmountCase{"1,000", AmountError::NotANumber},
        BadAmountCase{"1 000", AmountError::NotANumber}, BadAmountCase{"--5", AmountError::NotANumber},
        BadAmountCase{"1e", AmountError::NotANumber}, BadAmountCase{"e5", AmountError::NotANumber},
        BadAmountCase{"1e+", AmountError::NotANumber}, BadAmountCase{"abc", AmountError::NotANumber},
        BadAmountCase{"１２", AmountError::NotANumber}, BadAmountCase{"12元", AmountError::NotANumber},
        BadAmountCase{"inf", AmountError::NotANumber}, BadAmountCase{"nan", AmountError::NotANumber},
        BadAmountCase{"0x10", AmountError::NotANumber},
        BadAmountCase{"92233720368547758.08", AmountError::OutOfRange},
        BadAmountCase{"92233720368547758.075", AmountError::OutOfRange},
        BadAmountCase{"1e17", AmountError::OutOfRange},
        BadAmountCase{"-1e17", AmountError::OutOfRange},
        BadAmountCase{"1e99999999", AmountError::OutOfRange}));

// ---------------------------------------------------------------------------
// formatAmount

struct FormatCase {
    bool thousands;
    double amount;
    const char *expected;
};

class FormatAmountTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatAmountTest, TwoDecimalsHalfAwayFromZero)
{
    const FormatCase &c = GetParam();
    EXPECT_EQ(formatAmount(c.thousands, c.amount, QLocale::c()), q(c.expected)) << c.amount;
    EXPECT_EQ(formatAmount(c.thousands, c.amount, QLocale(QLocale::Chinese, QLocale::China)),
              q(c.expected))
        << c.amount;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FormatAmountTest,
    ::testing::Values(FormatCase{true, 1234567.5, "1,234,567.50"},
                      FormatCase{false, 1234567.5, "1234567.50"}, FormatCase{true, 0, "0.00"},
                      FormatCase{true, 0.5, "0.50"}, FormatCase{true, 999, "999.00"},
                      FormatCase{true, 1000, "1,000.00"}, FormatCase{true, 100000, "100,000.00"},
                      FormatCase{true, 999999999.99, "999,999,999.99"},
                      FormatCase{true, -1234.5, "-1,234.50"},
                      FormatCase{false, 1.005, "1.01"}, FormatCase{false, 0.285, "0.29"},
                      FormatCase{true, 1234567.895, "1,234,567.90"},
                      FormatCase{true, 999.995, "1,000.00"}, FormatCase{false, 2.675, "2.68"},
                      FormatCase{false, -0.005, "-0.01"},
                      FormatCase{false, -0.004, "0.00"}, // no "-0.00"
                      FormatCase{false, 0.1 + 0.2, "0.30"},
                      FormatCase{true, 1e20, "100,000,000,000,000,000,000.00"}));

TEST(FormatAmountLocale, UsesTheLocaleSeparators)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(formatAmount(true, 1234567.5, german), q("1.234.567,50"));
    EXPECT_EQ(formatAmount(false, 1234567.5, german), q("1234567,50"));
}

TEST(FormatAmountLocale, NonFiniteGivesEmptyText)
{
    EXPECT_TRUE(formatAmount(true, std::numeric_limits<double>::quiet_NaN()).isEmpty());
    EXPECT_TRUE(formatAmount(true, std::numeric_limits<double>::infinity()).isEmpty());
}

struct FormatCentsCase {
    bool thousands;
    qint64 cents;
    const char *expected;
};

class FormatCentsTest : public ::testing::TestWithParam<FormatCentsCase> {};

TEST_P(FormatCentsTest, WritesCentsExactly)
{
    const FormatCentsCase &c = GetParam();
    EXPECT_EQ(formatCents(c.thousands, c.cents, QLocale::c()), q(c.expected)) << c.cents;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FormatCentsTest,
    ::testing::Values(FormatCentsCase{true, 0, "0.00"}, FormatCentsCase{true, 7, "0.07"},
                      FormatCentsCase{true, 50, "0.50"}, FormatCentsCase{true, 123450, "1,234.50"},
                      FormatCentsCase{false, 123450, "1234.50"},
                      FormatCentsCase{true, -5630, "-56.30"},
                      FormatCentsCase{true, std::numeric_limits<qint64>::min(),
                                      "-92,233,720,368,547,758.08"}));

// ---------------------------------------------------------------------------
// amountToChinese

struct ChineseCase {
    const char *amount;
    const char *expected;
};

class AmountToChineseTest : public ::testing::TestWithParam<ChineseCase> {};

TEST_P(AmountToChineseTest, WritesCapitalsWithUnits)
{
    const ChineseAmount r = amountToChinese(q(GetParam().amount));
    ASSERT_TRUE(r.ok()) << GetParam().amount << ": " << amountErrorMessage(r.error).toStdString();
    EXPECT_EQ(r.text, q(GetParam().expected)) << GetParam().amount;
}

INSTANTIATE_TEST_SUITE_P(
    WorkedResults, AmountToChineseTest,
    ::testing::Values(ChineseCase{"0", "零元整"}, ChineseCase{"0.07", "柒分"},
                      ChineseCase{"0.5", "伍角整"}, ChineseCase{"1", "壹元整"},
                      ChineseCase{"12.3", "壹拾贰元叁角整"}, ChineseCase{"101", "壹佰零壹元整"},
                      ChineseCase{"1001.01", "壹仟零壹元零壹分"},
                      ChineseCase{"1234.56", "壹仟贰佰叁拾肆元伍角陆分"},
                      ChineseCase{"30000.07", "叁万元零柒分"},
                      ChineseCase{"100010", "壹拾万零壹拾元整"},
                      ChineseCase{"1000001", "壹佰万零壹元整"},
                      ChineseCase{"10005000", "壹仟万伍仟元整"},
                      ChineseCase{"100000000", "壹亿元整"},
                      ChineseCase{"1000100000", "壹拾亿零壹拾万元整"},
                      ChineseCase{"-56.3", "负伍拾陆元叁角整"}));

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, AmountToChineseTest,
    ::testing::Values(ChineseCase{"8", "捌元整"}, ChineseCase{"120", "壹佰贰拾元整"},
                      ChineseCase{"7.2", "柒元贰角整"}, ChineseCase{"1.05", "壹元零伍分"},
                      ChineseCase{"0.005", "壹分"}, ChineseCase{"0.01", "壹分"},
                      ChineseCase{"0.1", "壹角整"}, ChineseCase{"0.11", "壹角壹分"},
                      ChineseCase{"10", "壹拾元整"}, ChineseCase{"10.5", "壹拾元伍角整"},
                      ChineseCase{"1000.01", "壹仟元零壹分"},
                      ChineseCase{"16409.02", "壹万陆仟肆佰零玖元零贰分"},
                      ChineseCase{"1004.56", "壹仟零肆元伍角陆分"},
                      ChineseCase{"107000.53", "壹拾万柒仟元伍角叁分"},
                      ChineseCase{"100000.5", "壹拾万元伍角整"},
                      ChineseCase{"100000001", "壹亿零壹元整"},
                      ChineseCase{"100100000", "壹亿零壹拾万元整"},
                      ChineseCase{"101000000", "壹亿零壹佰万元整"},
                      ChineseCase{"1000000010", "壹拾亿零壹拾元整"},
                      ChineseCase{"999999999.99", "玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
                      ChineseCase{"-0.07", "负柒分"}, ChineseCase{"1.005", "壹元零壹分"},
                      ChineseCase{"0.285", "贰角玖分"},
                      ChineseCase{"1234567.895", "壹佰贰拾叁万肆仟伍佰陆拾柒元玖角整"},
                      ChineseCase{" 12.30 ", "壹拾贰元叁角整"}, ChineseCase{"1.2e3", "壹仟贰佰元整"}));

INSTANTIATE_TEST_SUITE_P(
    Above100Million, AmountToChineseTest,
    ::testing::Values(ChineseCase{"1000000000000", "壹万亿元整"},
                      ChineseCase{"1000100000000", "壹万零壹亿元整"},
                      ChineseCase{"1010000000000", "壹万零壹佰亿元整"},
                      ChineseCase{"1000010000000", "壹万亿壹仟万元整"},
                      ChineseCase{"1000000010000", "壹万亿零壹万元整"},
                      ChineseCase{"1000000000001.01", "壹万亿零壹元零壹分"},
                      ChineseCase{"2345678901234", "贰万叁仟肆佰伍拾陆亿柒仟捌佰玖拾万壹仟贰佰叁拾肆元整"},
                      ChineseCase{"9999999999999.99", "玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
                      ChineseCase{"-9999999999999.99", "负玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"}));

// Amounts that round to no cents at all used to come out as "整".
INSTANTIATE_TEST_SUITE_P(
    RoundsToZero, AmountToChineseTest,
    ::testing::Values(ChineseCase{"0.004", "零元整"}, ChineseCase{"-0.004", "零元整"},
                      ChineseCase{"-0", "零元整"}, ChineseCase{"0.00", "零元整"}));

struct OutOfRangeCase {
    const char *amount;
    AmountError error;
};

class AmountToChineseErrorTest : public ::testing::TestWithParam<OutOfRangeCase> {};

TEST_P(AmountToChineseErrorTest, GivesAnErrorAndNoText)
{
    const ChineseAmount r = amountToChinese(q(GetParam().amount));
    EXPECT_FALSE(r.ok()) << GetParam().amount << " gave " << r.text.toStdString();
    EXPECT_EQ(r.error, GetParam().error);
    EXPECT_TRUE(r.text.isEmpty());
    EXPECT_FALSE(amountErrorMessage(r.error).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Refused, AmountToChineseErrorTest,
    ::testing::Values(OutOfRangeCase{"10000000000000", AmountError::OutOfRange},
                      OutOfRangeCase{"9999999999999.995", AmountError::OutOfRange}, // rounds up
                      OutOfRangeCase{"-10000000000000", AmountError::OutOfRange},
                      OutOfRangeCase{"123456789012345678", AmountError::OutOfRange},
                      OutOfRangeCase{"1e300", AmountError::OutOfRange},
                      OutOfRangeCase{"", AmountError::NotANumber},
                      OutOfRangeCase{"1.2.3", AmountError::NotANumber},
                      OutOfRangeCase{".", AmountError::NotANumber},
                      OutOfRangeCase{"1,234", AmountError::NotANumber},
                      OutOfRangeCase{"壹元", AmountError::NotANumber}));

TEST(AmountToChineseNumber, ReadsTheDoubleAsItsShortestDecimal)
{
    EXPECT_EQ(amountToChinese(1.005).text, q("壹元零壹分"));
    EXPECT_EQ(amountToChinese(0.285).text, q("贰角玖分"));
    EXPECT_EQ(amountToChinese(1234567.895).text, q("壹佰贰拾叁万肆仟伍佰陆拾柒元玖角整"));
    EXPECT_EQ(amountToChinese(-56.3).text, q("负伍拾陆元叁角整"));
    EXPECT_EQ(amountToChinese(0.1 + 0.2).text, q("叁角整"));
    EXPECT_EQ(amountToChinese(0).text, q("零元整"));
    EXPECT_EQ(amountToChinese(1e-7).text, q("零元整"));
}

TEST(AmountToChineseNumber, RefusesWhatCannotBeWritten)
{
    EXPECT_EQ(amountToChinese(1e13).error, AmountError::OutOfRange);
    EXPECT_EQ(amountToChinese(-1e13).error, AmountError::OutOfRange);
    EXPECT_EQ(amountToChinese(1e300).error, AmountError::OutOfRange);
    EXPECT_EQ(amountToChinese(std::numeric_limits<double>::infinity()).error,
              AmountError::OutOfRange);
    EXPECT_EQ(amountToChinese(std::numeric_limits<double>::quiet_NaN()).error,
              AmountError::NotANumber);
}

TEST(AmountToChineseCents, LimitIsFifteenDigitsOfCents)
{
    EXPECT_TRUE(centsToChinese(kChineseAmountLimitCents - 1).ok());
    EXPECT_TRUE(centsToChinese(-(kChineseAmountLimitCents - 1)).ok());
    EXPECT_EQ(centsToChinese(kChineseAmountLimitCents).error, AmountError::OutOfRange);
    EXPECT_EQ(centsToChinese(-kChineseAmountLimitCents).error, AmountError::OutOfRange);
    EXPECT_EQ(centsToChinese(std::numeric_limits<qint64>::max()).error, AmountError::OutOfRange);
    EXPECT_EQ(centsToChinese(std::numeric_limits<qint64>::min()).error, AmountError::OutOfRange);
}

// An independent way to write an amount, group by group, following the
// rules banks apply to capital amounts:
// - a 零 stands for a run of zeros inside the number, once;
// - a wholly zero 万 or 亿 group is left out without a 零 of its own; the
//   next group then gets its 零 only when it starts with a zero;
// - trailing zeros of the integer part give no 零;
// - 元 when there are yuan, then 角 and 分; 零 between 元 and 分 when the
//   角 are zero; 整 after 元 or 角 when there are no 分.
const char16_t kDigits[] = u"零壹贰叁肆伍陆柒捌玖";

QString referenceGroup(int group, bool somethingBefore)
{
    static const char16_t *const units[] = {u"", u"拾", u"佰", u"仟"};
    static const int powers[] = {1, 10, 100, 1000};
    QString s;
    bool pendingZero = somethingBefore && group < 1000;
    for (int p = 3; p >= 0; --p) {
        const int d = group / powers[p] % 10;
        if (d == 0) {
            if (!s.isEmpty())
                pendingZero = true;
            continue;
        }
        if (pendingZero)
            s += QChar(u'零');
        pendingZero = false;
        s += QChar(kDigits[d]);
        s += QString::fromUtf16(units[p]);
    }
    return s;
}

QString referenceYuan(qint64 yuan)
{
    const qint64 yi = yuan / 100000000;
    const int wan = int(yuan / 10000 % 10000);
    const int ge = int(yuan % 10000);
    QString s;
    if (yi > 0) {
        const int high = int(yi / 10000);
        const int low = int(yi % 10000);
        if (high > 0)
            s += QChar(kDigits[high]) + QString(u'万');
        if (low > 0)
            s += referenceGroup(low, high > 0);
        s += QChar(u'亿');
    }
    if (wan > 0)
        s += referenceGroup(wan, !s.isEmpty()) + QChar(u'万');
    if (ge > 0)
        s += referenceGroup(ge, !s.isEmpty());
    return s + QChar(u'元');
}

QString referenceCapitals(qint64 cents)
{
    if (cents == 0)
        return q("零元整");
    QString s = cents < 0 ? q("负") : QString();
    const qint64 magnitude = qAbs(cents);
    const qint64 yuan = magnitude / 100;
    const int jiao = int(magnitude / 10 % 10);
    const int fen = int(magnitude % 10);
    if (yuan > 0)
        s += referenceYuan(yuan);
    if (jiao > 0)
        s += QChar(kDigits[jiao]) + QString(u'角');
    else if (fen > 0 && yuan > 0)
        s += QChar(u'零');
    if (fen > 0)
        s += QChar(kDigits[fen]) + QString(u'分');
    else
        s += QChar(u'整');
    return s;
}

TEST(AmountToChineseReference, ReferenceAgreesWithTheWorkedResults)
{
    EXPECT_EQ(referenceCapitals(100101), q("壹仟零壹元零壹分"));
    EXPECT_EQ(referenceCapitals(10001000), q("壹拾万零壹拾元整"));
    EXPECT_EQ(referenceCapitals(1000500000), q("壹仟万伍仟元整"));
    EXPECT_EQ(referenceCapitals(3000007), q("叁万元零柒分"));
}

// Every pattern of zero and non-zero digits over all fifteen cent places,
// so every run of zeros across the 元, 万 and 亿 boundaries is covered.
TEST(AmountToChineseReference, EveryZeroPatternOfFifteenDigits)
{
    int failures = 0;
    for (int digitSet = 0; digitSet < 3; ++digitSet) {
        for (int mask = 1; mask < (1 << 15); ++mask) {
            qint64 cents = 0;
            for (int place = 14; place >= 0; --place) {
                int d = 0;
                if (mask & (1 << place))
                    d = digitSet == 0 ? 1 : digitSet == 1 ? 9 : (place * 7 + mask) % 9 + 1;
                cents = cents * 10 + d;
            }
            const ChineseAmount r = centsToChinese(cents);
            const QString expected = referenceCapitals(cents);
            if (!r.ok() || r.text != expected) {
                ADD_FAILURE() << cents << " cents: got " << r.text.toStdString() << ", want "
                              << expected.toStdString();
                if (++failures > 20)
                    return;
            }
        }
    }
}

TEST(AmountToChineseReference, RandomAmountsAndTheirNegatives)
{
    QRandomGenerator random(20260831);
    int failures = 0;
    for (int n = 0; n < 200000; ++n) {
        // Random length, digits biased towards zero.
        const int length = random.bounded(1, 16);
        qint64 cents = 0;
        for (int k = 0; k < length; ++k)
            cents = cents * 10 + (random.bounded(3) == 0 ? random.bounded(10) : 0);
        if (random.bounded(2))
            cents = -cents;
        const ChineseAmount r = centsToChinese(cents);
        const QString expected = referenceCapitals(cents);
        if (!r.ok() || r.text != expected) {
            ADD_FAILURE() << cents << " cents: got " << r.text.toStdString() << ", want "
                          << expected.toStdString();
            if (++failures > 20)
                return;
        }
    }
}

TEST(AmountToChineseReference, TextAndCentsAgree)
{
    QRandomGenerator random(7);
    for (int n = 0; n < 2000; ++n) {
        const qint64 cents = qint64(random.bounded(Q_INT64_C(100000000000000)));
        const QString text = formatCents(false, cents, QLocale::c());
        EXPECT_EQ(amountToChinese(text).text, referenceCapitals(cents)) << text.toStdString();
    }
}

// ---------------------------------------------------------------------------
// amountToDigitCapitals

struct DigitsCase {
    const char *amount;
    int boxes;
    const char *mode;
    const char *expected;
};

class AmountToDigitCapitalsTest : public ::testing::TestWithParam<DigitsCase> {};

TEST_P(AmountToDigitCapitalsTest, SpreadsOverTheBoxes)
{
    const DigitsCase &c = GetParam();
    EXPECT_EQ(amountToDigitCapitals(q(c.amount), c.boxes, q(c.mode)), q(c.expected))
        << c.amount << " boxes " << c.boxes << " mode " << c.mode;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, AmountToDigitCapitalsTest,
    ::testing::Values(DigitsCase{"123.45", 5, "0.00", "零零壹贰叁肆伍"},
                      DigitsCase{"123.45", 5, "0", "零零壹贰叁"},
                      DigitsCase{"9.5", 3, "0.0", "零零玖伍"},
                      DigitsCase{"123456.7", 5, "0.00", "超出位数限制"},
                      DigitsCase{"123456.7", 5, "0", "超出位数限制"},
                      DigitsCase{"123456.7", 5, "0.0", "超出位数限制"},
                      DigitsCase{"123456.7", 5, "", "超出位数限制"},
                      DigitsCase{"0", 5, "0.00", "零"},
                      DigitsCase{"56.7", 3, "0.00", "零伍陆柒零"},
                      DigitsCase{"1234", 3, "0.00", "超出位数限制"}));

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, AmountToDigitCapitalsTest,
    ::testing::Values(DigitsCase{"12345", 5, "0.00", "壹贰叁肆伍零零"},  // exactly B digits
                      DigitsCase{"123456", 5, "0.00", "超出位数限制"},     // B + 1
                      DigitsCase{"99999.994", 5, "0.00", "玖玖玖玖玖玖玖"},
                      DigitsCase{"99999.995", 5, "0.00", "超出位数限制"},  // rounds to 100000.00
                      DigitsCase{"99999.5", 5, "0", "超出位数限制"},
                      DigitsCase{"0.00", 3, "0.00", "零"}, DigitsCase{"-0", 3, "0.00", "零"},
                      DigitsCase{"0.5", 3, "0.00", "零零零伍零"},
                      DigitsCase{"0.5", 0, "0.00", "超出位数限制"},
                      DigitsCase{"1,234.5", 4, "0.00", "壹贰叁肆伍零"},
                      DigitsCase{"1.005", 1, "0.00", "壹零壹"},          // exact decimal
                      DigitsCase{"1.05", 2, ".0", "零壹壹"}, DigitsCase{"1.04", 2, ".0", "零壹零"},
                      DigitsCase{"2.5", 2, "0", "零叁"}, DigitsCase{"2.49", 2, "0", "零贰"},
                      DigitsCase{"7", 2, ".00", "零柒零零"},
                      DigitsCase{"7", 2, "0.000", "零柒零零"},           // other modes: two
                      DigitsCase{"7", 2, "0.0", "零柒零"}, DigitsCase{"7", 2, "0", "零柒"},
                      DigitsCase{"7", 2, " 0", "零柒零零"},              // mode compared as is
                      DigitsCase{"12345678901234567890", 20, "0", "壹贰叁肆伍陆柒捌玖零壹贰叁肆伍陆柒捌玖零"},
                      // Unusable amounts never come out as digits.
                      DigitsCase{"-12.5", 5, "0.00", "超出位数限制"},
                      DigitsCase{"abc", 5, "0.00", "超出位数限制"},
                      DigitsCase{".", 5, "0.00", "超出位数限制"},
                      DigitsCase{"1.2.3", 5, "0.00", "超出位数限制"},
                      DigitsCase{"", 5, "0.00", "超出位数限制"},
                      DigitsCase{"5", -1, "0", "超出位数限制"}));

// ---------------------------------------------------------------------------
// dateNumberToChinese

class DateNumberToChineseTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(DateNumberToChineseTest, WritesDatePartsInCapitals)
{
    EXPECT_EQ(dateNumberToChinese(q(GetParam().input)), q(GetParam().expected))
        << GetParam().input;
}

INSTANTIATE_TEST_SUITE_P(
    MonthAndDay, DateNumberToChineseTest,
    ::testing::Values(
        TextCase{"01", "零壹"}, TextCase{"02", "零贰"}, TextCase{"03", "零叁"},
        TextCase{"04", "零肆"}, TextCase{"05", "零伍"}, TextCase{"06", "零陆"},
        TextCase{"07", "零柒"}, TextCase{"08", "零捌"}, TextCase{"09", "零玖"},
        TextCase{"10", "零壹拾"}, TextCase{"11", "壹拾壹"}, TextCase{"12", "壹拾贰"},
        TextCase{"13", "壹拾叁"}, TextCase{"14", "壹拾肆"}, TextCase{"15", "壹拾伍"},
        TextCase{"16", "壹拾陆"}, TextCase{"17", "壹拾柒"}, TextCase{"18", "壹拾捌"},
        TextCase{"19", "壹拾玖"}, TextCase{"20", "零贰拾"}, TextCase{"21", "贰拾壹"},
        TextCase{"22", "贰拾贰"}, TextCase{"23", "贰拾叁"}, TextCase{"24", "贰拾肆"},
        TextCase{"25", "贰拾伍"}, TextCase{"26", "贰拾陆"}, TextCase{"27", "贰拾柒"},
        TextCase{"28", "贰拾捌"}, TextCase{"29", "贰拾玖"}, TextCase{"30", "零叁拾"},
        TextCase{"31", "叁拾壹"}, TextCase{"8", "零捌"}, TextCase{"1", "零壹"}));

INSTANTIATE_TEST_SUITE_P(
    YearsAndEdges, DateNumberToChineseTest,
    ::testing::Values(TextCase{"2026", "贰零贰陆"}, TextCase{"1999", "壹玖玖玖"},
                      TextCase{"100", "壹零零"}, TextCase{"008", "零零捌"},
                      TextCase{"00", ""}, TextCase{"0", ""}, TextCase{"32", ""},
                      TextCase{"99", ""}, TextCase{"", ""}, TextCase{" 08 ", "零捌"},
                      TextCase{" 2026", "贰零贰陆"},
                      // Not digits: nothing, rather than a garbled date.
                      TextCase{"ab", ""}, TextCase{"-1", ""}, TextCase{"20a6", ""},
                      TextCase{"2026年", ""}, TextCase{"０８", ""}, TextCase{"1.5", ""}));

// ---------------------------------------------------------------------------
// splitString

struct SplitCase {
    const char *text;
    const char *separator;
    QStringList expected;
};

class SplitStringTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitStringTest, SplitsAtEverySeparator)
{
    EXPECT_EQ(splitString(q(GetParam().text), q(GetParam().separator)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SplitStringTest,
    ::testing::Values(SplitCase{"a,,b,", ",", {"a", "", "b", ""}},
                      SplitCase{"abc", ",", {"abc"}}, SplitCase{"", ",", {""}},
                      SplitCase{",", ",", {"", ""}},
                      SplitCase{"甲|乙|丙", "|", {q("甲"), q("乙"), q("丙")}},
                      SplitCase{"a<br>b<br>", "<br>", {"a", "b", ""}},
                      SplitCase{"aaa", "aa", {"", "a"}},       // left to right, no overlap
                      SplitCase{"aXbxc", "x", {"aXb", "c"}},   // case matters
                      SplitCase{"a,b", "", {"a,b"}}));

// ---------------------------------------------------------------------------
// breakTextByWidth

struct BreakCase {
    const char *text;
    int width;
    QStringList expected;
};

class BreakTextByWidthTest : public ::testing::TestWithParam<BreakCase> {};

TEST_P(BreakTextByWidthTest, BreaksByGbkWidth)
{
    EXPECT_EQ(breakTextByWidth(q(GetParam().text), GetParam().width), GetParam().expected)
        << GetParam().text << " width " << GetParam().width;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, BreakTextByWidthTest,
    ::testing::Values(
        BreakCase{"ab中文字cd", 3, {q("ab中文"), q("字cd")}},
        BreakCase{"一二三四五六七", 3, {q("一二三"), q("四五六"), q("七")}},
        BreakCase{"", 3, {}}, BreakCase{"abcdef", 3, {"abcdef"}},
        BreakCase{"一二三", 3, {q("一二三")}},
        BreakCase{"abcdefg", 3, {"abcdef", "g"}},
        BreakCase{"a中文字", 2, {q("a中文"), q("字")}},        // 2n + 1 when straddling
        BreakCase{"abcde中", 3, {q("abcde中")}},              // no empty piece after it
        BreakCase{"a中", 1, {q("a中")}},
        BreakCase{"a中b中", 1, {q("a中"), q("b中")}},
        BreakCase{"abc", 1, {"ab", "c"}},
        BreakCase{"abc", 0, {"ab", "c"}},                     // below 1 counts as 1
        BreakCase{"abc", -5, {"ab", "c"}},
        BreakCase{"\xF0\xA0\x80\x80\xF0\xA0\x80\x81\xF0\xA0\x80\x82", 1,
                  {q("\xF0\xA0\x80\x80"), q("\xF0\xA0\x80\x81"), q("\xF0\xA0\x80\x82")}}));

TEST(BreakTextByWidthProperties, PiecesRebuildTheTextWithinTheWidth)
{
    const QString alphabet = q("ab1 ,中文字￥。\xF0\xA0\x80\x80");
    QRandomGenerator random(99);
    for (int n = 0; n < 3000; ++n) {
        QString text;
        const int length = random.bounded(0, 30);
        for (int k = 0; k < length; ++k) {
            const int pick = random.bounded(alphabet.size() - 1);
            if (alphabet[pick].isSurrogate())
                text += alphabet.mid(alphabet.size() - 2);
            else
                text += alphabet[pick];
        }
        const int width = random.bounded(1, 6);
        const QStringList pieces = breakTextByWidth(text, width);
        EXPECT_EQ(pieces.join(QString()), text);
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            const QString &piece = pieces[i];
            ASSERT_FALSE(piece.isEmpty()) << text.toStdString();
            EXPECT_FALSE(piece.front().isLowSurrogate()) << text.toStdString();
            EXPECT_FALSE(piece.back().isHighSurrogate()) << text.toStdString();
            const qsizetype w = gbkWidth(piece);
            EXPECT_LE(w, 2 * width + 1) << text.toStdString();
            if (i + 1 < pieces.size()) {
                // Cut pieces are the shortest prefix that reaches the width.
                EXPECT_GE(w, 2 * width) << text.toStdString();
                const qsizetype lastChar = piece.back().isLowSurrogate() ? 2 : 1;
                EXPECT_LT(gbkWidth(piece.chopped(lastChar)), 2 * width) << text.toStdString();
            }
        }
    }
}

// ---------------------------------------------------------------------------
// isNumberText, isDigitText

struct PredicateCase {
    const char *text;
    bool number;
    bool digits;
};

class DigitTestsTest : public ::testing::TestWithParam<PredicateCase> {};

TEST_P(DigitTestsTest, AcceptOnlyAsciiDigits)
{
    EXPECT_EQ(isNumberText(q(GetParam().text)), GetParam().number) << GetParam().text;
    EXPECT_EQ(isDigitText(q(GetParam().text)), GetParam().digits) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, DigitTestsTest,
    ::testing::Values(PredicateCase{"", false, false}, PredicateCase{"   ", false, false},
                      PredicateCase{"0", true, true}, PredicateCase{"0123456789", true, true},
                      PredicateCase{"12.5", true, false}, PredicateCase{"1.2.3", true, false},
                      PredicateCase{".", true, false}, PredicateCase{" 12", false, false},
                      PredicateCase{"12 ", false, false}, PredicateCase{"1 2", false, false},
                      PredicateCase{"-5", false, false}, PredicateCase{"+5", false, false},
                      PredicateCase{"1,000", false, false}, PredicateCase{"１２", false, false},
                      PredicateCase{"12a", false, false}, PredicateCase{"1e3", false, false},
                      PredicateCase{"١٢", false, false})); // other scripts' digits

} // namespace
