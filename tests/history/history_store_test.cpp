// The four history tables through the core: filters find exactly the rows
// they name (apostrophes, "%" and "_" included), amounts compare as
// numbers and dates as dates, sums are exact, and the cheque's changes
// (void, renumber, recorded numbers) land in the table.

#include "history/history_list_model.h"
#include "history/history_store.h"
#include "history/number_recording.h"
#include "history_fixtures.h"

namespace billprint::test {
namespace {

using HistoryStoreTest = HistoryTest;

struct Listing
{
    int rows = 0;
    qint64 cents = 0;
    QList<int> serials;
};

Listing list(const Database &db, const HistoryFamily &family, const HistoryFilter &filter)
{
    const HistoryStatement st = buildHistoryStatement(family, filter, HistoryOrdering(family.order).next(), db.dialect());
    HistoryStore store(db, family);
    HistorySummary summary;
    QString error;
    EXPECT_TRUE(store.summarize(st, &summary, &error)) << error.toStdString();
    Listing l{summary.rows, summary.sumCents, {}};
    store.forEachRow(st, [&](const QSqlRecord &r) {
        l.serials << r.value(HistoryColumn::Serial).toInt();
        return true;
    });
    return l;
}

TEST_F(HistoryStoreTest, EachFamilyFindsTheRowsItsFiltersName)
{
    // Money bills: number, parties, amount, date. Serial numbers 1, 2, 3.
    const QString moneyTables[] = {QStringLiteral("DataZPTable"), QStringLiteral("DataJZDTable"),
                                   QStringLiteral("DataJKDTable")};
    for (const QString &table : moneyTables) {
        addRow(table, {{"票据编号", "50%"}, {"收款人全称", "O'Brien"}, {"金额", "9"}, {"出票日期", "2024-03-08"}});
        addRow(table, {{"票据编号", "5000"}, {"收款人全称", "O'Brien Ltd"}, {"金额", "10.25"}, {"出票日期", "2024-03-10"}});
        addRow(table, {{"票据编号", "5_0"}, {"收款人全称", "Brien"}, {"金额", ""}, {"出票日期", "2024-03-11"}});
    }
    addRow("DataKDDTable", {{"快递单号", "SF50%"}, {"寄件联系人", "O'Brien"}, {"收件单位", "上海分公司"},
                            {"总费用", "12.5"}, {"寄件日期", "2024-03-08"}, {"模板种类", "顺丰"}});
    addRow("DataKDDTable", {{"快递单号", "SF5000"}, {"寄件单位", "O'Brien Ltd"}, {"收件联系人", "张三"},
                            {"总费用", "7"}, {"寄件日期", "2024-03-10"}, {"模板种类", "圆通"}});

    auto filter = [](std::function<void(HistoryFilter &)> set) {
        HistoryFilter f;
        set(f);
        return f;
    };
    const struct
    {
        const HistoryFamily *family;
        HistoryFilter filter;
        int rows;
        qint64 cents;
        QList<int> serials;  // in the family's first order
    } cases[] = {
        {&HistoryFamily::cheque(), HistoryFilter(), 3, 1925, {1, 2, 3}},
        {&HistoryFamily::cheque(), filter([](HistoryFilter &f) { f.number = "50%"; }), 1, 900, {1}},
        {&HistoryFamily::cheque(), filter([](HistoryFilter &f) { f.number = "5_"; }), 1, 0, {3}},
        {&HistoryFamily::cheque(), filter([](HistoryFilter &f) { f.secondParty = "o'brien"; }), 2, 1925, {1, 2}},
        {&HistoryFamily::cheque(), filter([](HistoryFilter &f) {
             f.secondParty = "O'Brien";
             f.exact = true;
         }),
         1, 900, {1}},
        {&HistoryFamily::depositSlip(), filter([](HistoryFilter &f) { f.minAmount = "9.5"; }), 1, 1025, {2}},
        {&HistoryFamily::depositSlip(), filter([](HistoryFilter &f) { f.maxAmount = "9"; }), 2, 900, {3, 1}},
        {&HistoryFamily::cashSlip(), filter([](HistoryFilter &f) {
             f.anyDate = false;
             f.from = QDate(2024, 3, 9);
             f.to = QDate(2024, 3, 10);
         }),
         1, 1025, {2}},
        {&HistoryFamily::waybill(), filter([](HistoryFilter &f) { f.firstParty = "O'Brien"; }), 2, 1950, {5, 4}},
        {&HistoryFamily::waybill(), filter([](HistoryFilter &f) { f.secondParty = "张三"; }), 1, 700, {5}},
        {&HistoryFamily::waybill(), filter([](HistoryFilter &f) { f.number = "50%"; }), 1, 1250, {4}},
        {&HistoryFamily::waybill(), filter([](HistoryFilter &f) {
             f.templateName = "顺丰";
             f.exact = true;
         }),
         1, 1250, {4}},
    };
    // The waybill's serial numbers are 1 and 2; above they read 4 and 5
    // to keep them apart from the money bills.
    for (const auto &c : cases) {
        Listing l = list(db(), *c.family, c.filter);
        if (c.family == &HistoryFamily::waybill())
            for (int &s : l.serials)
                s += 3;
        EXPECT_EQ(l.rows, c.rows) << c.family->title.toStdString();
        EXPECT_EQ(l.cents, c.cents) << c.family->title.toStdString();
        EXPECT_EQ(l.serials, c.serials) << c.family->title.toStdString();
    }
}

TEST_F(HistoryStoreTest, DateRangesFindDatesWrittenWithSlashesToo)
{
    // As earlier versions and other programs wrote them, and as this one does.
    addRow("DataZPTable", {{"票据编号", "A1"}, {"出票日期", "2024/3/5"}});
    addRow("DataZPTable", {{"票据编号", "A2"}, {"出票日期", "2024-03-05"}});
    addRow("DataZPTable", {{"票据编号", "A3"}, {"出票日期", "2024/3/12 09:30:00"}});
    addRow("DataZPTable", {{"票据编号", "A4"}, {"出票日期", "2024/12/1"}});
    addRow("DataZPTable", {{"票据编号", "A5"}, {"出票日期", "2023/12/31"}});
    addRow("DataKDDTable", {{"快递单号", "SF1"}, {"寄件日期", "2024/3/5"}});
    auto range = [](QDate from, QDate to) {
        HistoryFilter f;
        f.anyDate = false;
        f.from = from;
        f.to = to;
        return f;
    };
    const HistoryFamily &cheque = HistoryFamily::cheque();
    EXPECT_EQ(list(db(), cheque, range(QDate(2024, 3, 5), QDate(2024, 3, 5))).serials, (QList<int>{1, 2}));
    EXPECT_EQ(list(db(), cheque, range(QDate(2024, 3, 6), QDate(2024, 3, 12))).serials, (QList<int>{3}));
    EXPECT_EQ(list(db(), cheque, range(QDate(2023, 12, 31), QDate(2024, 3, 5))).serials, (QList<int>{1, 2, 5}));
    EXPECT_EQ(list(db(), cheque, range(QDate(2024, 11, 1), QDate(2025, 1, 1))).serials, (QList<int>{4}));
    EXPECT_EQ(list(db(), HistoryFamily::waybill(), range(QDate(2024, 3, 1), QDate(2024, 3, 31))).rows, 1);
}

TEST_F(HistoryStoreTest, VoidRenumberAndClear)
{
    const int a = addCheque("001", "甲", "1", "2024-03-01");
    const int b = addCheque("002", "乙", "2", "2024-03-01");
    const int c = addCheque("003", "丙", "3", "2024-03-01");
    const HistoryStore store(db(), HistoryFamily::cheque());
    EXPECT_EQ(store.voidBills({a, c}), 2);
    EXPECT_EQ(BillRecordStore(db(), "DataZPTable").load(a)->text(BillColumn::Status), BillStatus::Void);
    EXPECT_EQ(BillRecordStore(db(), "DataZPTable").load(b)->text(BillColumn::Status), BillStatus::Used);
    EXPECT_EQ(store.setText(b, BillColumn::Number, "O'99"), 1);
    EXPECT_EQ(BillRecordStore(db(), "DataZPTable").load(b)->text(BillColumn::Number), "O'99");
    QString error;
    EXPECT_EQ(store.setText(b, "没有这列", "x", &error), -1);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(store.clearAll(), 3);
    EXPECT_EQ(db().scalar("select count(*) from DataZPTable").toInt(), 0);
}

TEST_F(HistoryStoreTest, RecordedNumbersAreUnusedRowsAndNoNumberTwice)
{
    addCheque("A00000002", "甲", "5", "2024-03-01");
    NumberBatch batch;
    batch.from = "1";
    batch.to = "3";
    batch.prefix = "A";
    batch.drawer = "我方公司";
    batch.account = "6222";
    batch.bank = "工行";
    batch.templateName = "通用转账支票";
    QStringList progress;
    const RecordingResult result =
        recordNumbers(db(), batch, numbersOf(batch).numbers, [&](const QString &n) { progress << n; });
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(progress, QStringList({"A00000001", "A00000002", "A00000003"}));
    EXPECT_EQ(result.recorded, QStringList({"A00000001", "A00000003"}));
    ASSERT_EQ(result.failures.size(), 1);
    EXPECT_TRUE(result.failures.first().startsWith("登记票据“A00000002”失败！可能该票据号码已经登记过了！"));

    const std::optional<BillRecord> row = BillRecordStore(db(), "DataZPTable").findByNumber("A00000003");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->text(BillColumn::Status), BillStatus::Unused);
    EXPECT_EQ(row->text(BillColumn::Amount), "0");
    EXPECT_EQ(row->text(BillColumn::Drawer), "我方公司");
    EXPECT_EQ(row->text(BillColumn::DrawerAccount), "6222");
    EXPECT_EQ(row->text(BillColumn::DrawerBank), "工行");
    EXPECT_EQ(row->text(BillColumn::TemplateName), "通用转账支票");
}

TEST_F(HistoryStoreTest, TheGridReadsPagesOnDemand)
{
    db().transaction([&] {
        for (int i = 1; i <= 1200; ++i)
            addRow("DataJZDTable", {{"票据编号", QString::number(i)}, {"金额", "1"}});
        return true;
    });
    HistoryListModel model(db(), HistoryFamily::depositSlip());
    const HistoryStatement st = buildHistoryStatement(HistoryFamily::depositSlip(), {}, {"流水号", true}, db().dialect());
    ASSERT_TRUE(model.run(st));
    EXPECT_EQ(model.rowCount(), 1200);
    EXPECT_EQ(model.summary().sumCents, 120000);
    EXPECT_EQ(model.columnCount(), 23);
    EXPECT_EQ(model.serialAt(0), 1200);
    EXPECT_EQ(model.serialAt(1100), 100);  // a later page
    EXPECT_EQ(model.textAt(1199, "票据编号"), "1");
    EXPECT_EQ(model.data(model.index(0, model.columnOf("票据编号"))).toString(), "1200");
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "流水号");
}

} // namespace
} // namespace billprint::test
