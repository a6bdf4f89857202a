// The history statements, orders, date ranges and recorded numbers as
// text: what is bound, what is left out, what is refused.

#include "history/history_query.h"
#include "history/history_store.h"
#include "history/number_recording.h"

#include <gtest/gtest.h>

namespace billprint {
namespace {

const SqlDialect kSqlite(SqlEngine::Sqlite);

struct StatementCase
{
    const HistoryFamily *family;
    HistoryFilter filter;
    const char *where;
    QVariantList values;
};

HistoryFilter filterWith(std::function<void(HistoryFilter &)> set)
{
    HistoryFilter f;
    set(f);
    return f;
}

TEST(HistoryStatement, FiltersAreBoundNeverSpliced)
{
    const StatementCase cases[] = {
        {&HistoryFamily::cheque(), HistoryFilter(), "", {}},
        {&HistoryFamily::cheque(), filterWith([](HistoryFilter &f) { f.number = QStringLiteral(" 50% "); }),
         R"( where "票据编号" like ? escape '\')", {QStringLiteral("%50\\%%")}},
        {&HistoryFamily::cheque(), filterWith([](HistoryFilter &f) {
             f.secondParty = QStringLiteral("O'Brien");
             f.exact = true;
         }),
         R"( where "收款人全称" = ? collate nocase)", {QStringLiteral("O'Brien")}},
        {&HistoryFamily::cheque(), filterWith([](HistoryFilter &f) { f.firstParty = QStringLiteral("62_1"); }),
         R"( where "出票人账号" like ? escape '\')", {QStringLiteral("%62\\_1%")}},
        {&HistoryFamily::depositSlip(), filterWith([](HistoryFilter &f) {
             f.anyDate = false;
             f.from = QDate(2024, 3, 8);
             f.to = QDate(2024, 3, 10);
             f.minAmount = QStringLiteral("9");
             f.maxAmount = QStringLiteral("abc");
         }),
         // Whole years on the text (the index), then the day as yyyymmdd
         // read from "2024-03-08" and "2024/3/8" alike.
         R"( where "出票日期" >= ? and "出票日期" < ? and (cast(replace("出票日期", '/', '-') as integer) * 10000)"
         R"( + cast(substr(replace("出票日期", '/', '-'), 6) as integer) * 100)"
         R"( + cast(substr(replace("出票日期", '/', '-'), 6 + instr(substr(replace("出票日期", '/', '-'), 6), '-')))"
         R"( as integer)) between ? and ? and cast("金额" as real) >= ?)",
         {QStringLiteral("2024-"), QStringLiteral("2025-"), 20240308, 20240310, 9.0}},
        {&HistoryFamily::waybill(), filterWith([](HistoryFilter &f) {
             f.firstParty = QStringLiteral("张三");
             f.templateName = QStringLiteral("顺丰");
             f.exact = true;
         }),
         R"( where ("寄件单位" = ? collate nocase or "寄件联系人" = ? collate nocase) and "模板种类" = ? collate nocase)",
         {QStringLiteral("张三"), QStringLiteral("张三"), QStringLiteral("顺丰")}},
        // The cash payment slip has no first party; the waybill no amount.
        {&HistoryFamily::cashSlip(), filterWith([](HistoryFilter &f) { f.firstParty = QStringLiteral("x"); }), "", {}},
        {&HistoryFamily::waybill(), filterWith([](HistoryFilter &f) { f.minAmount = QStringLiteral("1"); }), "", {}},
        // Reversed dates are left out (the window refuses them first).
        {&HistoryFamily::cheque(), filterWith([](HistoryFilter &f) {
             f.anyDate = false;
             f.from = QDate(2024, 3, 10);
             f.to = QDate(2024, 3, 8);
         }),
         "", {}},
    };
    for (const StatementCase &c : cases) {
        const HistoryStatement st = buildHistoryStatement(*c.family, c.filter, {}, kSqlite);
        EXPECT_EQ(st.where.toStdString(), std::string(c.where));
        EXPECT_EQ(st.values, c.values) << c.where;
    }
}

TEST(HistoryStatement, AmountsThatAreNoNumberAreMarked)
{
    for (const char *text : {"abc", "1.2.3", "-5", "1,000"}) {
        HistoryFilter f;
        f.minAmount = QString::fromUtf8(text);
        const HistoryStatement st = buildHistoryStatement(HistoryFamily::cheque(), f, {}, kSqlite);
        EXPECT_TRUE(st.minAmountInvalid) << text;
        EXPECT_FALSE(st.maxAmountInvalid);
        EXPECT_TRUE(st.where.isEmpty()) << text;
    }
}

TEST(HistoryStatement, ListAndSummaryReadTheFamilysTable)
{
    HistoryFilter f;
    f.number = QStringLiteral("7");
    const HistoryStatement st = buildHistoryStatement(HistoryFamily::waybill(), f, {QStringLiteral("寄件日期"), true}, kSqlite);
    EXPECT_EQ(st.listSql(), QStringLiteral(R"(select * from "DataKDDTable" where "快递单号" like ? escape '\')"
                                           R"( order by "寄件日期" desc, "流水号" desc)"));
    EXPECT_TRUE(st.summarySql().startsWith(QStringLiteral(R"(select count(*), sum(round(cast("总费用" as real) * 100)))")));
    EXPECT_TRUE(st.summarySql().endsWith(QStringLiteral(R"(from "DataKDDTable" where "快递单号" like ? escape '\')")));
}

TEST(HistoryOrdering, TheChequeFlipsAtEveryRunOnceAColumnIsChosen)
{
    HistoryOrdering cheque(HistoryOrderRule::FlipOnEveryRun);
    EXPECT_TRUE(cheque.next().column.isEmpty());
    EXPECT_TRUE(cheque.next().column.isEmpty());
    cheque.chooseColumn(QStringLiteral("金额"));
    const bool expected[] = {true, false, true};
    for (bool descending : expected) {
        const HistoryOrder o = cheque.next();
        EXPECT_EQ(o.column, QStringLiteral("金额"));
        EXPECT_EQ(o.descending, descending);
    }

    HistoryOrdering other(HistoryOrderRule::AlwaysDescending);
    for (int i = 0; i < 2; ++i) {
        const HistoryOrder o = other.next();
        EXPECT_EQ(o.column, QStringLiteral("流水号"));
        EXPECT_TRUE(o.descending);
    }
    other.chooseColumn(QStringLiteral("金额"));
    EXPECT_EQ(other.next().column, QStringLiteral("金额"));
    EXPECT_TRUE(other.next().descending);
}

TEST(HistoryDates, NodesCountFromToday)
{
    const QDate today(2024, 3, 10);
    const struct
    {
        DateNode node;
        QDate from;
    } cases[] = {
        {DateNode::Today, QDate(2024, 3, 10)},         {DateNode::LastThreeDays, QDate(2024, 3, 8)},
        {DateNode::LastWeek, QDate(2024, 3, 4)},       {DateNode::LastMonth, QDate(2024, 2, 9)},
        {DateNode::LastThreeMonths, QDate(2023, 12, 11)}, {DateNode::LastYear, QDate(2023, 3, 11)},
        {DateNode::ThisMonth, QDate(2024, 3, 1)},      {DateNode::ThisYear, QDate(2024, 1, 1)},
        {DateNode::Other, QDate(2022, 9, 9)},
    };
    for (const auto &c : cases) {
        const auto [from, to] = dateNodeRange(c.node, today);
        EXPECT_EQ(from, c.from) << dateNodeCaption(c.node).toStdString();
        EXPECT_EQ(to, today);
    }
}

TEST(NumberRecording, RangesAreFormattedOrRefused)
{
    NumberBatch batch;
    batch.from = QStringLiteral("001");
    batch.to = QStringLiteral(" 100 ");
    batch.prefix = QStringLiteral("A");
    const NumberRange range = numbersOf(batch);
    ASSERT_TRUE(range.ok()) << range.refusal.toStdString();
    ASSERT_EQ(range.numbers.size(), 100);
    EXPECT_EQ(range.numbers.first(), QStringLiteral("A00000001"));
    EXPECT_EQ(range.numbers.last(), QStringLiteral("A00000100"));

    const struct
    {
        const char *from;
        const char *to;
        int length;
        const char *refusal;
    } refused[] = {
        {"1", "101", 8, "一次不能导入超过100张！"},
        {"1a", "5", 8, "请输入合法的编号范围，只能是数字！"},
        {"-1", "5", 8, "请输入合法的编号范围，只能是数字！"},
        {"9", "5", 8, "编号范围输入错误！"},
        {"123456789", "123456790", 8, "编号123456790超过了固定的8位！"},
    };
    for (const auto &r : refused) {
        NumberBatch b;
        b.from = QString::fromUtf8(r.from);
        b.to = QString::fromUtf8(r.to);
        b.length = r.length;
        EXPECT_EQ(numbersOf(b).refusal.toStdString(), std::string(r.refusal)) << r.from;
    }
    EXPECT_EQ(recordedNumber(42, 4, QStringLiteral("ZP")), QStringLiteral("ZP0042"));
}

TEST(HistorySummary, SumsShowTwoDecimals)
{
    const struct
    {
        qint64 cents;
        const char *text;
    } cases[] = {{0, "0.00"}, {123450, "1234.50"}, {5, "0.05"}, {-5, "-0.05"}, {-12345, "-123.45"}};
    for (const auto &c : cases) {
        HistorySummary s;
        s.sumCents = c.cents;
        EXPECT_EQ(s.sumText().toStdString(), std::string(c.text));
    }
}

} // namespace
} // namespace billprint
