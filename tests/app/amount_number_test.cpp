// An amount text read as a number the same way on both engines: the
// history's sums, bounds and amount order rest on it.
#include "app/database.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

TEST(AmountNumber, StoredTextsReadAsTheirLeadingNumberOnEitherEngine)
{
    TempDataRoot root;
    const Database &db = root.context().db();
    const struct {
        const char *text;
        double number;
    } cases[] = {
        {"1234.50", 1234.5}, {"0.01", 0.01},  {"1,234.00", 1},  {"", 0},        {"  12.5元", 12.5},
        {"-3", -3},          {"+7.25", 7.25}, {".5", 0.5},      {"abc", 0},     {"1e3", 1000},
        {"12.", 12},         {"００１", 0},   {"99999999999.99", 99999999999.99},
    };
    for (const auto &c : cases) {
        const QVariant read = db.scalar(QStringLiteral("select ") + db.dialect().number(QStringLiteral("?")),
                                        {QString::fromUtf8(c.text)});
        ASSERT_TRUE(read.isValid()) << c.text;
        EXPECT_DOUBLE_EQ(read.toDouble(), c.number) << c.text;
    }
}

TEST(AmountNumber, TheHistorySumOfCentsIsExactOnEitherEngine)
{
    TempDataRoot root;
    const Database &db = root.context().db();
    for (const char *amount : {"0.10", "0.20", "1234.56", "", "壹佰元", "99999999.99"})
        ASSERT_TRUE(db.exec(QStringLiteral("insert into DataZPTable (金额) values (?)"), {QString::fromUtf8(amount)}));
    const QVariant cents = db.scalar(QStringLiteral("select sum(round(%1 * 100)) from DataZPTable")
                                         .arg(db.dialect().number(QStringLiteral("金额"))));
    EXPECT_EQ(cents.toLongLong(), 10 + 20 + 123456 + 9999999999LL);
}
