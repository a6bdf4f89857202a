// The amount spread of the money bills without any window: figures,
// digit boxes, capitals, currency prefixes, limits and the rounding that
// keeps all three in agreement.
#include "bills/amount_entry.h"
#include "layout_fixtures.h"

using namespace billprint;
using namespace billprint::test;

namespace {

QString codeOf(const QString &name)
{
    if (name == "人民币")
        return "￥";
    if (name == "美元")
        return "US$";
    return QString();
}

DigitBoxes boxes(std::initializer_list<const char *> texts)
{
    DigitBoxes b;
    int i = 0;
    for (const char *t : texts)
        b[i++] = QString::fromUtf8(t);
    return b;
}

class AmountEntryTest : public ::testing::Test
{
protected:
    AlertRecorder alerts;
    AmountEntry entry{codeOf};
};

} // namespace

TEST_F(AmountEntryTest, SpreadsOneAmountOverFiguresBoxesAndCapitals)
{
    EXPECT_EQ(entry.setJEXX(" 1234.56 "), AmountStatus::Applied);
    const AmountFields &f = entry.fields();
    EXPECT_EQ(f.input, "1234.56");
    EXPECT_EQ(f.figures, "￥1,234.56");
    EXPECT_EQ(f.stub, "￥1,234.56");
    EXPECT_EQ(f.digits, boxes({"", "", "", "", "￥", "1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(f.capitals, "壹仟贰佰叁拾肆元伍角陆分");
    EXPECT_EQ(entry.cents(), 123456);
    EXPECT_TRUE(alerts.alerts().empty());

    entry.setJEXX("1234.5");
    EXPECT_EQ(entry.fields().digits, boxes({"", "", "", "", "￥", "1", "2", "3", "4", "5", "0"}));
    EXPECT_EQ(entry.fields().figures, "￥1,234.50");
}

TEST_F(AmountEntryTest, MoreThanTwoDecimalsAreRoundedOnceForEveryField)
{
    // Boxes 3 and 4 beside 叁角伍分 would be two amounts on one bill.
    entry.setJEXX("12.345");
    EXPECT_EQ(entry.fields().figures, "￥12.35");
    EXPECT_EQ(entry.fields().capitals, "壹拾贰元叁角伍分");
    EXPECT_EQ(entry.fields().digits[BoxJ], "3");
    EXPECT_EQ(entry.fields().digits[BoxF], "5");
    EXPECT_EQ(entry.fields().input, "12.35");  // what is saved is what is printed

    entry.setJEXX("0.125");
    EXPECT_EQ(entry.fields().digits, boxes({"", "", "", "", "", "", "", "", "￥", "1", "3"}));
    EXPECT_EQ(entry.fields().capitals, "壹角叁分");

    entry.setJEXX("12.3400");  // trailing zeros change nothing: kept as typed
    EXPECT_EQ(entry.fields().input, "12.3400");
    EXPECT_EQ(entry.fields().figures, "￥12.34");
}

TEST_F(AmountEntryTest, ZeroOrEmptyClearsEveryAmountField)
{
    for (const char *text : {"0", "", "   ", "0.00", "0.001"}) {
        entry.setJEXX("88.8");
        EXPECT_EQ(entry.setJEXX(text), AmountStatus::Cleared) << text;
        EXPECT_EQ(entry.fields(), AmountFields()) << text;
        EXPECT_EQ(entry.cents(), 0);
    }
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(AmountEntryTest, TheSymbolStandsJustLeftOfTheHighestDigit)
{
    entry.setJEXX("0.5");
    EXPECT_EQ(entry.fields().digits, boxes({"", "", "", "", "", "", "", "", "￥", "5", "0"}));
    entry.setJEXX("0.08");
    EXPECT_EQ(entry.fields().digits, boxes({"", "", "", "", "", "", "", "", "￥", "0", "8"}));
    entry.setJEXX("999999999.99");
    EXPECT_EQ(entry.fields().digits, boxes({"9", "9", "9", "9", "9", "9", "9", "9", "9", "9", "9"}));
    EXPECT_EQ(entry.fields().figures, "￥999,999,999.99");
    entry.setJEXX("100000000");
    EXPECT_EQ(entry.fields().digits, boxes({"1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
    entry.setJEXX("10000000");
    EXPECT_EQ(entry.fields().digits, boxes({"￥", "1", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));

    AmountOptions noSymbol;
    noSymbol.noPrtSheep = true;
    entry.setOptions(noSymbol);
    entry.setJEXX("1234.5");
    EXPECT_EQ(entry.fields().digits, boxes({"", "", "", "", "", "1", "2", "3", "4", "5", "0"}));
}

TEST_F(AmountEntryTest, RefusedAmountsLeaveTheFieldsAsTheyWere)
{
    entry.setJEXX("66");
    const AmountFields before = entry.fields();
    struct Case { const char *text; AmountStatus status; const char *message; };
    const Case cases[] = {
        {"abc", AmountStatus::NotANumber, "金额只能为数值，例如：123.50"},
        {"1.2.3", AmountStatus::NotANumber, "金额只能为数值，例如：123.50"},
        {"1000000000", AmountStatus::OutOfRange, "金额值必须介于0~1,000,000,000之间！"},
        // Rounds to 1,000,000,000.00: as out of range as the amount itself.
        {"999999999.995", AmountStatus::OutOfRange, "金额值必须介于0~1,000,000,000之间！"},
        {"-5", AmountStatus::OutOfRange, "金额值必须介于0~1,000,000,000之间！"},
        {"-0.001", AmountStatus::OutOfRange, "金额值必须介于0~1,000,000,000之间！"},
        {"1e3", AmountStatus::NotANumber, "金额只能为数值，例如：123.50"},
        {"￥12", AmountStatus::NotANumber, "金额只能为数值，例如：123.50"},
        {"1 000", AmountStatus::NotANumber, "金额只能为数值，例如：123.50"},
    };
    for (const Case &c : cases) {
        alerts.clear();
        EXPECT_EQ(entry.setJEXX(c.text), c.status) << c.text;
        ASSERT_EQ(alerts.alerts().size(), 1u) << c.text;
        EXPECT_EQ(alerts.alerts()[0].message, QString::fromUtf8(c.message));
        EXPECT_EQ(alerts.alerts()[0].caption, "金额输入");
        EXPECT_EQ(entry.fields(), before) << c.text;
    }
    EXPECT_EQ(entry.setJEXX("999999999.994"), AmountStatus::Applied);
    entry.setJEXX("1,234.5");
    EXPECT_EQ(entry.fields().input, "1234.5");  // stored without the separator
}

TEST_F(AmountEntryTest, CurrencyCodeAndNameGoInFrontAsTheOptionsSay)
{
    AmountOptions options;  // code and name on, 人民币 left out
    entry.setOptions(options);
    entry.setJEXX("1234.5");
    EXPECT_EQ(entry.fields().capitals, "壹仟贰佰叁拾肆元伍角整");

    options.jedxRmbChecked = true;
    entry.setOptions(options);
    entry.setJEXX("1234.5");
    EXPECT_EQ(entry.fields().capitals, "人民币壹仟贰佰叁拾肆元伍角整");

    options.jedxRmbChecked = false;
    entry.setOptions(options);
    entry.setMoneyName("美元");
    entry.setJEXX("1234.5");
    EXPECT_EQ(entry.fields().capitals, "美元壹仟贰佰叁拾肆元伍角整");
    EXPECT_EQ(entry.fields().figures, "US$1,234.50");
    EXPECT_EQ(entry.fields().digits[BoxWY], "US$");

    options.jexxWithMoneyCode = false;
    options.jedxWithMoneyName = false;
    options.jedxRmbChecked = true;  // only matters with the name on
    entry.setOptions(options);
    entry.setJEXX("1234.5");
    EXPECT_EQ(entry.fields().figures, "1,234.50");
    EXPECT_EQ(entry.fields().stub, "1,234.50");
    EXPECT_EQ(entry.fields().capitals, "壹仟贰佰叁拾肆元伍角整");
    EXPECT_EQ(entry.fields().digits[BoxWY], "US$");  // the boxes keep their symbol
}

TEST(AmountCurrency, TheCodeIsLookedUpOncePerName)
{
    int lookups = 0;
    CurrencyState currency([&lookups](const QString &name) {
        ++lookups;
        return name == "港币" ? QString("HK$") : QString();
    });
    EXPECT_EQ(currency.moneyName(), "人民币");
    currency.setMoneyName("港币");
    EXPECT_EQ(currency.getMoneyCode(), "HK$");
    EXPECT_EQ(currency.getMoneyCode(), "HK$");
    EXPECT_EQ(lookups, 1);
    currency.setMoneyName("");
    EXPECT_EQ(currency.moneyName(), "人民币");
    EXPECT_EQ(currency.getMoneyCode(), "");
    EXPECT_EQ(currency.getMoneyCode(), "");  // no code is remembered too
    EXPECT_EQ(lookups, 2);
}

TEST(AmountCurrency, CodesComeFromTheCurrencyTable)
{
    LayoutDb t;
    t.exec("delete from coins");
    t.exec("insert into coins (币种, 缩写, 顺序) values ('人民币', '￥', 9), ('O''Pound', 'O£', 1)");
    AmountEntry entry(t.db());
    EXPECT_EQ(entry.getMoneyCode(), "￥");
    entry.setMoneyName("O'Pound");
    EXPECT_EQ(entry.getMoneyCode(), "O£");
}

TEST(AmountDigitBoxes, DigitsBeyondNineBoxesAreReportedOnceEach)
{
    AlertRecorder alerts;
    AmountEntry entry(codeOf);
    entry.WriteToJEGrid("", Q_INT64_C(1234567890123));  // 12,345,678,901.23
    EXPECT_EQ(entry.fields().digits, boxes({"3", "4", "5", "6", "7", "8", "9", "0", "1", "2", "3"}));
    ASSERT_EQ(alerts.alerts().size(), 2u);
    EXPECT_EQ(alerts.alerts()[0].message, "    溢出   ");
    EXPECT_EQ(alerts.alerts()[0].caption, "出错");

    alerts.clear();
    entry.WriteToJEGrid("HK$", 150);
    EXPECT_EQ(entry.fields().digits, boxes({"", "", "", "", "", "", "", "HK$", "1", "5", "0"}));
    entry.WriteToJEGrid("", 0);
    EXPECT_EQ(entry.fields().digits, DigitBoxes());
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST(AmountDigitBoxes, NamesRunFromYiToFen)
{
    EXPECT_EQ(digitBoxNames().front(), "zdYY");
    EXPECT_EQ(digitBoxNames()[BoxWY], "zdWY");
    EXPECT_EQ(digitBoxNames()[BoxY], "zdY");
    EXPECT_EQ(digitBoxNames().back(), "zdF");
}
