// The receiver list through the core: filters with bound keys, order,
// emptying restarts numbering, the column rewrite joins texts in every row,
// and the capitals field takes digits only.

#include "app/database.h"
#include "batch/receiver_list.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace billprint::test {
namespace {

using Row = QList<QPair<QString, QString>>;

class ReceiverListTest : public ::testing::Test
{
protected:
    ReceiverList list() { return ReceiverList(root.context().db()); }
    int add(const Row &row)
    {
        QString error;
        const int id = list().add(row, &error);
        EXPECT_GT(id, 0) << error.toStdString();
        return id;
    }
    QList<int> ids(const ReceiverQuery &q)
    {
        QList<int> out;
        QString error;
        EXPECT_TRUE(list().query(q, &out, &error)) << error.toStdString();
        return out;
    }
    TempDataRoot root;
};

TEST_F(ReceiverListTest, FiltersFindExactlyTheRowsTheyName)
{
    add({{"全称", "O'Brien"}, {"电话", "123"}, {"手机", "555"}, {"省", "广东"}});        // 1
    add({{"全称", "O'Brien Ltd"}, {"电话", "1234"}, {"手机", "123"}, {"省", "广西"}});   // 2
    add({{"全称", "Brien"}, {"电话", "50%"}, {"手机", "9"}, {"批打分组", "g"}});          // 3, grouped
    add({{"全称", "张三"}, {"电话", "5000"}, {"手机", ""}, {"省", "广东"}});              // 4

    const struct
    {
        QStringList columns;
        QString key;
        bool equals;
        QString group;
        QList<int> expected;
    } cases[] = {
        {{}, "", false, "", {1, 2, 4}},
        {{"电话", "手机"}, "123", true, "", {1, 2}},
        {{"电话", "手机"}, " 123 ", false, "", {1, 2}},
        {{"全称"}, "O'Brien", true, "", {1}},
        {{"联系人", "全称", "电话"}, "o'brien", false, "", {1, 2}},
        {{"电话"}, "0%", false, "", {}},
        {{"电话"}, "0%", false, "g", {3}},
        {{"省", "市", "镇区"}, "广东", false, "", {1, 4}},
    };
    for (const auto &c : cases) {
        ReceiverQuery q;
        q.filterColumns = c.columns;
        q.key = c.key;
        q.equals = c.equals;
        q.group = c.group;
        EXPECT_EQ(ids(q), c.expected) << c.key.toStdString() << " " << c.columns.join('|').toStdString();
    }
}

TEST_F(ReceiverListTest, OrdersOnAColumnAndRefusesUnknownColumns)
{
    add({{"全称", "b"}});
    add({{"全称", "c"}});
    add({{"全称", "a"}});
    ReceiverQuery q;
    q.orderColumn = "全称";
    EXPECT_EQ(ids(q), (QList<int>{3, 1, 2}));
    q.descending = true;
    EXPECT_EQ(ids(q), (QList<int>{2, 1, 3}));
    q.orderColumn = "ID";
    EXPECT_EQ(ids(q), (QList<int>{3, 2, 1}));

    QList<int> out;
    QString error;
    q.orderColumn = "全称; drop table ReceiverList";
    EXPECT_FALSE(list().query(q, &out, &error));
    q.orderColumn.clear();
    q.filterColumns = {"nope"};
    q.key = "x";
    EXPECT_FALSE(list().query(q, &out, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(ReceiverListTest, EmptyingRestartsNumberingAtOne)
{
    add({{"全称", "a"}});
    add({{"全称", "b"}});
    QString error;
    ASSERT_TRUE(list().clear(&error)) << error.toStdString();
    EXPECT_TRUE(ids({}).isEmpty());
    EXPECT_EQ(add({{"全称", "c"}}), 1);
}

TEST_F(ReceiverListTest, RewriteJoinsTextsInEveryRowOfTheTable)
{
    add({{"省", "广东"}, {"市", "深圳"}, {"地址", "科技园"}});
    add({{"省", "浙江"}, {"地址", "西湖"}, {"批打分组", "g"}});
    int changed = 0;
    QString error;
    ColumnRewrite r{"@地址", {"@省", "@市", "@地址"}};
    ASSERT_TRUE(list().rewrite(r, &changed, &error)) << error.toStdString();
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(list().row(1).value("地址").toString(), "广东深圳科技园");
    EXPECT_EQ(list().row(2).value("地址").toString(), "浙江西湖");

    ColumnRewrite literal{"@备注", {"O'Brien: ", "@全称", "【务必本人签收】"}};
    ASSERT_TRUE(list().rewrite(literal, &changed, &error)) << error.toStdString();
    EXPECT_EQ(list().row(1).value("备注").toString(), "O'Brien:【务必本人签收】");

    ColumnRewrite unknown{"@地址", {"@nope", "", ""}};
    EXPECT_FALSE(list().rewrite(unknown, &changed, &error));
    EXPECT_EQ(list().row(1).value("地址").toString(), "广东深圳科技园");
    EXPECT_FALSE(list().rewrite(ColumnRewrite{"", {}}, &changed, &error));
    EXPECT_EQ(error, "请选择要批量改写列~");
}

TEST_F(ReceiverListTest, RemoveDeletesOnlyTheNamedRows)
{
    add({{"全称", "a"}});
    add({{"全称", "b"}});
    add({{"全称", "c"}});
    QString error;
    ASSERT_TRUE(list().remove({1, 3}, &error));
    EXPECT_EQ(ids({}), (QList<int>{2}));
}

TEST_F(ReceiverListTest, RowsReadsTheNamedRowsThatExist)
{
    add({{"全称", "a"}});
    add({{"全称", "O'Brien"}});
    add({{"全称", "c"}});
    QString error;
    const QHash<int, QSqlRecord> rows = list().rows({3, 2, 99}, &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.value(2).value("全称").toString(), "O'Brien");
    EXPECT_EQ(rows.value(3).value("全称").toString(), "c");
    EXPECT_TRUE(list().rows({}, &error).isEmpty());
}

TEST(AmountForCapitals, TakesDigitsOnly)
{
    const struct
    {
        const char *in;
        const char *out;
    } cases[] = {{"1250", "1250"}, {"12.50", ""}, {"", ""}, {"12a", ""}, {" 7 ", "7"}};
    for (const auto &c : cases)
        EXPECT_EQ(amountForCapitals(c.in), QString(c.out)) << c.in;
}

} // namespace
} // namespace billprint::test
