// The waybill's rules without a window: the amount in words in its
// formats, the mobile merged into the telephone and out again, and the
// font size of an address box.

#include "bills/waybill_rules.h"

#include <gtest/gtest.h>

namespace billprint {
namespace {

struct WordsCase
{
    const char *format;
    const char *typed;
    const char *shown;
    bool notANumber;
};

class AmountInWordsTest : public ::testing::TestWithParam<WordsCase>
{
};

TEST_P(AmountInWordsTest, WritesTheTypedAmountInTheFormat)
{
    const WordsCase &c = GetParam();
    const AmountInWords words = amountInWords(QString::fromUtf8(c.format), QString::fromUtf8(c.typed));
    EXPECT_EQ(words.text, QString::fromUtf8(c.shown));
    EXPECT_EQ(words.notANumber, c.notANumber);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, AmountInWordsTest,
    ::testing::Values(WordsCase{"000.00    限百位到分", "56.7", "零伍陆柒零", false},
                      WordsCase{"000.00    限百位到分", "1234", "超出位数限制", false},
                      WordsCase{"00000.00  限万位到分", "123.45", "零零壹贰叁肆伍", false},
                      WordsCase{"0000      限千位无小数", "12", "零零壹贰", false},
                      WordsCase{"000000.0  限十万位到角", "5.25", "零零零零零伍叁", false},
                      WordsCase{"打印小写金额", "56.7", "56.7", false},
                      WordsCase{"", "56.7", "56.7", false},
                      WordsCase{"打印中国传统大写金额", "1234.56", "壹仟贰佰叁拾肆元伍角陆分", false},
                      WordsCase{"000.00    限百位到分", "１２", "１２", true},
                      WordsCase{"000.00    限百位到分", "", "", false}));

TEST(WaybillRulesTest, StoredAmountInWordsGivesBackTheFiguresBehindIt)
{
    const QString hundreds = QStringLiteral("000.00    限百位到分");
    const QString traditional = QStringLiteral("打印中国传统大写金额");
    EXPECT_EQ(figuresOfAmountInWords(hundreds, QStringLiteral("零伍陆柒零")), QStringLiteral("56.7"));
    EXPECT_EQ(figuresOfAmountInWords(QStringLiteral("0000      限千位无小数"), QStringLiteral("零零壹贰")),
              QStringLiteral("12"));
    EXPECT_EQ(figuresOfAmountInWords(traditional, QStringLiteral("壹仟贰佰叁拾肆元伍角陆分")),
              QStringLiteral("1234.56"));
    EXPECT_EQ(figuresOfAmountInWords(traditional, QStringLiteral("壹拾万零叁元整")), QStringLiteral("100003"));
    EXPECT_EQ(figuresOfAmountInWords(traditional, QStringLiteral("零元整")), QStringLiteral("0"));
    // Figures are their own; what cannot be read back exactly gives none.
    EXPECT_EQ(figuresOfAmountInWords(hundreds, QStringLiteral("88")), QStringLiteral("88"));
    EXPECT_EQ(figuresOfAmountInWords(hundreds, QStringLiteral("超出位数限制")), QString());
    EXPECT_EQ(figuresOfAmountInWords(hundreds, QStringLiteral("伍陆柒")), QString());
    EXPECT_EQ(figuresOfAmountInWords(QStringLiteral("打印小写金额"), QStringLiteral("零伍陆柒零")), QString());
}

TEST(WaybillRulesTest, FourteenFormatsEndWithFiguresAndTraditionalCapitals)
{
    ASSERT_EQ(amountInWordsFormats().size(), 14);
    EXPECT_EQ(amountInWordsFormats().first(), QStringLiteral("00000.00  限万位到分"));
    EXPECT_EQ(amountInWordsFormats().at(12), QStringLiteral("打印小写金额"));
    EXPECT_EQ(amountInWordsFormats().last(), QStringLiteral("打印中国传统大写金额"));
}

TEST(WaybillRulesTest, MobileJoinsTheTelephoneOnceAndLeavesItAgain)
{
    EXPECT_EQ(mergeMobileIntoPhone(QStringLiteral("0755-1"), QStringLiteral("139")), QStringLiteral("0755-1\\139"));
    EXPECT_EQ(mergeMobileIntoPhone(QStringLiteral("0755-1\\139"), QStringLiteral("139")),
              QStringLiteral("0755-1\\139"));
    EXPECT_EQ(mergeMobileIntoPhone(QString(), QStringLiteral("139")), QStringLiteral("139"));
    EXPECT_EQ(mergeMobileIntoPhone(QStringLiteral("0755-1"), QString()), QStringLiteral("0755-1"));
    EXPECT_EQ(removeMobileFromPhone(QStringLiteral("0755-1\\139"), QStringLiteral("139")), QStringLiteral("0755-1"));
    EXPECT_EQ(removeMobileFromPhone(QStringLiteral("0755-1"), QStringLiteral("139")), QStringLiteral("0755-1"));
}

TEST(WaybillRulesTest, AddressFontFollowsLinesAndHeight)
{
    EXPECT_EQ(addressFontSize(1, 10, 23), 9);
    EXPECT_EQ(addressFontSize(2, 21, 23), 7);
    EXPECT_EQ(addressFontSize(2, 23, 23), 8);
    EXPECT_EQ(addressFontSize(2, 23, 22), 9);
    EXPECT_EQ(addressFontSize(3, 60, 23), 9);
}

} // namespace
} // namespace billprint
