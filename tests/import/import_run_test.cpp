#include "app/ini_file.h"
#include "batch/import_run.h"
#include "batch/import_session.h"
#include "batch/match_column_store.h"
#include "sheet_fixtures.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

class ImportRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(MatchColumnStore(db()).ensureReady(&error)) << error.toStdString();
    }

    const Database &db() { return root.context().db(); }
    QString logPath() const { return root.path() + "/ImportLog.txt"; }

    // Opens a file written by the test and matches its columns.
    ImportOptions openAndMatch(ImportSession &session, const QString &path, ImportTarget target)
    {
        QString error;
        EXPECT_TRUE(session.open(path, &error)) << error.toStdString();
        EXPECT_TRUE(session.chooseSheet(session.activeSheet(), &error)) << error.toStdString();
        ImportOptions options;
        options.target = target;
        options.columns = session.autoMatch(target, db());
        return options;
    }

    ImportResult importRows(const QList<QStringList> &rows, ImportOptions options)
    {
        SpreadsheetImport run(db(), logPath());
        return run.run("/tmp/source.xlsx", rows, options);
    }

    QStringList column(const QString &sql)
    {
        QStringList values;
        QSqlQuery q = db().prepare(sql);
        EXPECT_TRUE(q.exec());
        while (q.next())
            values << q.value(0).toString();
        return values;
    }

    TempDataRoot root;
    AlertRecorder alerts;
};

ImportOptions columnsFor(ImportTarget target, std::initializer_list<std::pair<const char *, int>> columns)
{
    ImportOptions options;
    options.target = target;
    for (const auto &[item, column] : columns)
        options.columns.insert(QString::fromUtf8(item), column);
    return options;
}

} // namespace

TEST_F(ImportRunTest, TitlesMatchTheFirstItemThatAcceptsThem)
{
    struct Case { ImportTarget target; QStringList titles; QHash<QString, int> expected; };
    const Case cases[] = {
        {ImportTarget::AddressBook, {"收货人", "手机号码", "详细地址"}, {{"联系人", 1}, {"手机", 2}, {"地址", 3}}},
        {ImportTarget::BatchList, {"城市", "收件人"}, {{"市", 1}, {"联系人", 2}}},
        {ImportTarget::BatchList, {"城市", "目的地"}, {{"市", 1}, {"目的站", 2}}},
        {ImportTarget::BatchList, {"会员ID", "旺旺", "订单编号"}, {{"单位全称", 1}, {"会员Id", 2}, {"订单号", 3}}},
        {ImportTarget::AddressBook, {"开户行", "帐号", "银行行号", "类型", "单位类型"},
         {{"开户银行", 1}, {"银行账号", 2}, {"银行行号", 3}, {"单位类型", 5}}},
        // A bank column goes to its bank item in the batch list too, never
        // to the receiver's address.
        {ImportTarget::BatchList, {"收件人", "开户行地址", "收货地址"}, {{"联系人", 1}, {"银行地址", 2}, {"地址", 3}}},
        {ImportTarget::BatchList, {"开户行地址", "收件人"}, {{"银行地址", 1}, {"联系人", 2}}},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("t.xlsx");
        ASSERT_TRUE(writeXlsx(path, {{"Sheet1", {c.titles, QStringList(c.titles.size(), "x")}}}));
        ImportSession session;
        const ImportOptions options = openAndMatch(session, path, c.target);
        EXPECT_EQ(options.columns, c.expected) << c.titles.join(',').toStdString();
    }
}

TEST_F(ImportRunTest, HeaderOnlySheetStoresNothingAndSaysSo)
{
    const ImportResult result =
        importRows({{"联系人", "电话"}}, columnsFor(ImportTarget::AddressBook, {{"联系人", 1}, {"电话", 2}}));
    EXPECT_EQ(result.message, "导入完成，所选数据文件不存在有效数据！");
    EXPECT_EQ(result.stored, 0);
    IniFile log(logPath());
    log.load();
    EXPECT_EQ(log.readString("INFO", "Total"), "本次任务数据共有：0行");
    EXPECT_EQ(log.readString("INFO", "Finish"), "导入完成，所选数据文件不存在有效数据！");
}

TEST_F(ImportRunTest, SevenThousandRowsStopAfterRow6000)
{
    QList<QStringList> rows{{"联系人", "手机"}};
    for (int i = 0; i < 7000; ++i)
        rows << QStringList{QStringLiteral("收件人%1").arg(i + 2), QStringLiteral("139%1").arg(i, 8, 10, QChar('0'))};
    const ImportResult result = importRows(rows, columnsFor(ImportTarget::BatchList, {{"联系人", 1}, {"手机", 2}}));
    EXPECT_TRUE(result.limitReached);
    EXPECT_EQ(result.stored, 5999);
    EXPECT_TRUE(alerts.sawMessage("导入中止，一次最大行数为6000"));
    EXPECT_EQ(result.message, "导入结束，共有 5999 条导入成功！\n");
    EXPECT_EQ(column("select 联系人 from ReceiverList where 联系人 in ('收件人2','收件人6000','收件人6001')"),
              QStringList({"收件人2", "收件人6000"}));
    EXPECT_EQ(column("select count(*) from ReceiverList"), QStringList{"5999"});
}

TEST_F(ImportRunTest, ATransactionTheDatabaseFailsStopsTheImportAndSaysHowManyRowsWereStored)
{
    // A row the database refuses is skipped; a transaction it ends (as a
    // full disk does) stops the import, and no later row is stored outside
    // a transaction.
    ASSERT_TRUE(refuseChangesWhen(db(), "refused_row", "insert", "ReceiverList", "new.联系人='王八'",
                                  "no such receiver"));
    ASSERT_TRUE(refuseChangesWhen(db(), "full_disk", "insert", "ReceiverList",
                                  "(select count(*) from ReceiverList) >= 550", "database or disk is full", true));
    QList<QStringList> rows{{"联系人"}, {"王八"}};
    for (int i = 0; i < 700; ++i)
        rows << QStringList{QStringLiteral("收件人%1").arg(i + 3)};
    const ImportResult result = importRows(rows, columnsFor(ImportTarget::BatchList, {{"联系人", 1}}));
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(result.stored, 499);
    EXPECT_TRUE(result.failure.contains("database or disk is full")) << result.failure.toStdString();
    EXPECT_EQ(result.message, importFailedMessage(result.failure, 499));
    // The database's own words follow (the server puts "ERROR:" first).
    EXPECT_TRUE(result.message.startsWith("导入中止，数据库写入失败："));
    EXPECT_TRUE(result.message.contains("database or disk is full"));
    EXPECT_TRUE(result.message.endsWith("\n中止前共有 499 条导入成功！"));
    EXPECT_EQ(column("select count(*) from ReceiverList"), QStringList{"499"});
    EXPECT_FALSE(alerts.sawMessage("导入中止，一次最大行数为6000"));
    IniFile log(logPath());
    EXPECT_TRUE(log.readString("ERR", "N2").startsWith("错误，单位：,联系人：王八,电话： "))
        << log.readString("ERR", "N2").toStdString();
    EXPECT_TRUE(log.readString("ERR", "N2").contains("no such receiver"));
    EXPECT_TRUE(log.readString("ERR", "N553").contains("database or disk is full"));
    EXPECT_EQ(log.readString("INFO", "Finish"), QString(result.message).replace('\n', ' '));
}

TEST_F(ImportRunTest, LogNamesTheEncodingAndTheResultSaysOnceWhatWasLeftOut)
{
    SpreadsheetImport run(db(), logPath());
    SheetReadNotes notes;
    notes.encoding = "GB18030";
    notes.cutAtLimits = true;
    const ImportResult result = run.run("/tmp/orders.csv", {{"联系人"}, {"张三"}},
                                        columnsFor(ImportTarget::BatchList, {{"联系人", 1}}), notes);
    EXPECT_EQ(result.message, "导入结束，共有 1 条导入成功！\n超出部分已忽略：只读取前6000行、256列");
    IniFile log(logPath());
    EXPECT_EQ(log.readString("INFO", "Encoding"), "编码：GB18030");
    EXPECT_EQ(log.readString("INFO", "Limit"), "超出部分已忽略：只读取前6000行、256列");
    EXPECT_EQ(log.readString("INFO", "Finish"), "导入结束，共有 1 条导入成功！ 超出部分已忽略：只读取前6000行、256列");
}

TEST_F(ImportRunTest, DuplicatesByPhoneOnlySkipTheSecondRowAndAreLogged)
{
    ImportOptions options = columnsFor(ImportTarget::AddressBook, {{"单位全称", 1}, {"联系人", 2}, {"电话", 3}});
    options.checkDuplicates = true;
    options.byPhone = true;
    const ImportResult result = importRows({{"单位", "联系人", "电话"},
                                            {"甲公司", "张三", "020-1234"},
                                            {"乙公司", "李四", "020-1234"},
                                            {"丙公司", "", "020-1234"},
                                            {"丁公司", "王五", "020-9999"},
                                            {"", "", ""}},
                                           options);
    EXPECT_EQ(result.stored, 2);
    EXPECT_EQ(result.skipped, 3);
    EXPECT_EQ(column("select 全称 from ckPersonalInfoTable order by ID"), QStringList({"甲公司", "丁公司"}));
    EXPECT_EQ(result.message,
              "导入结束，共有 2 条导入成功！\n 其中跳过了3 条重复的或无效(单位、联系人、电话都为空)的记录！");
    IniFile log(logPath());
    log.load();
    EXPECT_EQ(log.readString("LOG", "N3"), "重复，单位：乙公司,联系人：李四,电话：020-1234");
    EXPECT_EQ(log.readString("LOG", "N4"), "无效行，地址：");
    EXPECT_EQ(log.readString("LOG", "N6"), "无效行，联系人、电话、全称均为空！");
    EXPECT_EQ(log.readString("INFO", "File"), "数据文件来源:/tmp/source.xlsx");
}

TEST_F(ImportRunTest, DuplicateQuestionLetsTheUserStoreTheRowAnyway)
{
    ImportOptions options = columnsFor(ImportTarget::AddressBook, {{"单位全称", 1}, {"联系人", 2}});
    options.checkDuplicates = true;
    options.byName = options.byContact = true;
    options.askOnDuplicate = true;
    alerts.answerNext(AlertAnswer::No);  // 否: add it anyway
    alerts.answerNext(AlertAnswer::Yes);
    const ImportResult result = importRows(
        {{"单位", "联系人"}, {"O'Brien 公司", "O'Neil"}, {"O'Brien 公司", "O'Neil"}, {"O'Brien 公司", "O'Neil"}},
        options);
    EXPECT_EQ(result.stored, 2);
    ASSERT_EQ(alerts.alerts().size(), 2u);
    EXPECT_EQ(alerts.alerts()[0].caption, "记录已经存在");
    EXPECT_EQ(alerts.alerts()[0].message,
              "单位\"O'Brien 公司(联系人:O'Neil)\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！");
}

TEST_F(ImportRunTest, AddressBookRowsCarryEveryColumnAndTheUnitKind)
{
    ImportOptions options = columnsFor(ImportTarget::AddressBook, {{"单位全称", 1}, {"联系人", 2}, {"手机", 3},
                                                                   {"备注", 4}, {"单位类型", 5}, {"批打分组", 6}});
    options.fixedUnitKind = false;
    importRows({{"单位", "联系人", "手机", "备注", "类型", "分组"},
                {"O'Brien (中国) 咨询", "周杰", "'13800138000", "老客户", "我方单位", "华南"},
                {"乙公司", "李四", "13912345678", "", "供应商", ""}},
               options);
    EXPECT_EQ(column("select 全称||'|'||联系人||'|'||手机||'|'||扩展信息||'|'||单位类型||'|'||分组||'|'||排序 "
                     "from ckPersonalInfoTable order by ID"),
              QStringList({"O'Brien (中国) 咨询|周杰|13800138000|老客户|我方单位|华南|0",
                           "乙公司|李四|13912345678||往来单位||0"}));
}

TEST_F(ImportRunTest, OrderNumberAndMemberGoIntoTheRemark)
{
    ImportOptions options =
        columnsFor(ImportTarget::BatchList, {{"联系人", 1}, {"备注", 2}, {"订单号", 3}, {"会员Id", 4}});
    options.orderNumberToRemark = options.memberIdToRemark = true;
    importRows({{"收件人", "买家留言", "订单编号", "旺旺"}, {"张三", "请放门卫", "A1001", "zs88"}, {"李四", "", "", ""}},
               options);
    EXPECT_EQ(column("select 联系人||'|'||备注 from ReceiverList order by ID"),
              QStringList({"张三|请放门卫 订单号:A1001;会员ID:zs88", "李四|"}));
}

TEST_F(ImportRunTest, BankColumnsAreNotImportedIntoTheBatchList)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bank.xlsx");
    ASSERT_TRUE(writeXlsx(path, {{"Sheet1",
                                  {{"收件人", "开户行地址", "账号"},
                                   {"张三", "广州市天河路385号工行天河支行", "6222020200112233445"}}}}));
    ImportSession session;
    ImportOptions options = openAndMatch(session, path, ImportTarget::BatchList);
    SpreadsheetImport run(db(), logPath());
    EXPECT_EQ(run.run(path, session.rows(), options).stored, 1);
    EXPECT_EQ(column("select 联系人||'|'||地址 from ReceiverList"), QStringList{"张三|"});
}

TEST_F(ImportRunTest, StopKeepsTheRowsStoredSoFar)
{
    QList<QStringList> rows{{"联系人"}};
    for (int i = 0; i < 500; ++i)
        rows << QStringList{QStringLiteral("人%1").arg(i)};
    SpreadsheetImport run(db(), logPath());
    int calls = 0;
    run.stopRequested = [&calls] { return ++calls == 250; };
    const ImportResult result = run.run("x.csv", rows, columnsFor(ImportTarget::BatchList, {{"联系人", 1}}));
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.stored, 250);
    EXPECT_EQ(column("select count(*) from ReceiverList"), QStringList{"250"});
}

TEST_F(ImportRunTest, CsvInGbkAndUtf16ImportTheSameRowsAsUtf8)
{
    const QString text = "收货人,手机号码,详细地址,城市\r\n张三,13800138000,\"广州市天河区\n体育西路\",广州\r\n"
                         "O'Brien,13912345678,上海市浦东新区,上海\r\n";
    QString tabbed = text;
    tabbed.replace(",", "\t");
    QTemporaryDir dir;
    const std::pair<const char *, QByteArray> files[] = {{"u.csv", encodeText(text, "utf8")},
                                                         {"g.csv", encodeText(text, "gbk")},
                                                         {"w.txt", encodeText(tabbed, "utf16")}};
    QList<QStringList> imported;
    for (const auto &[name, bytes] : files) {
        db().exec("delete from ReceiverList");
        const QString path = dir.filePath(name);
        ASSERT_TRUE(writeBytes(path, bytes));
        ImportSession session;
        const ImportOptions options = openAndMatch(session, path, ImportTarget::BatchList);
        SpreadsheetImport run(db(), logPath());
        EXPECT_EQ(run.run(path, session.rows(), options).stored, 2) << name;
        imported << column("select 联系人||'|'||手机||'|'||地址||'|'||市 from ReceiverList order by ID");
    }
    EXPECT_EQ(imported[0], QStringList({"张三|13800138000|广州市天河区\n体育西路|广州",
                                        "O'Brien|13912345678|上海市浦东新区|上海"}));
    EXPECT_EQ(imported[1], imported[0]);
    EXPECT_EQ(imported[2], imported[0]);
}

TEST_F(ImportRunTest, RowsWithAnEmptyBasisAreNotDuplicatesOfEachOther)
{
    ImportOptions options = columnsFor(ImportTarget::BatchList, {{"联系人", 1}, {"手机", 2}, {"电话", 3}});
    options.checkDuplicates = true;
    options.byPhone = true;
    const ImportResult result = importRows(
        {{"联系人", "手机", "电话"}, {"张三", "13800138000", ""}, {"李四", "13900139000", ""}}, options);
    EXPECT_EQ(result.stored, 2);
    EXPECT_EQ(column("select 联系人 from ReceiverList order by ID"), QStringList({"张三", "李四"}));
}

TEST_F(ImportRunTest, XlsAndOdsImportPhonesAsElevenDigits)
{
    QTemporaryDir dir;
    const QString ods = dir.filePath("r.ods");
    ASSERT_TRUE(writeOds(ods, {{"收件人", {{"收货人", "手机号码", "详细地址"}, {"张三", "#13800138000", "广州"}}}}));
    for (const QString &path : {fixturePath("receivers.xls"), ods}) {
        db().exec("delete from ckPersonalInfoTable");
        ImportSession session;
        const ImportOptions options = openAndMatch(session, path, ImportTarget::AddressBook);
        SpreadsheetImport run(db(), logPath());
        run.run(path, session.rows(), options);
        EXPECT_EQ(column("select 手机 from ckPersonalInfoTable order by ID").value(0), "13800138000")
            << path.toStdString();
    }
}

TEST_F(ImportRunTest, SheetWithoutTitlesIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.xlsx");
    ASSERT_TRUE(writeXlsx(path, {{"数据", {{}, {"张三"}}}}));
    ImportSession session;
    QString error;
    ASSERT_TRUE(session.open(path, &error));
    EXPECT_FALSE(session.chooseSheet(0, &error));
    EXPECT_EQ(error, "Excel的[数据]没有可识别的列(表格第一行必须为非空的列标题，比如：联系人,电话..)!");
    EXPECT_FALSE(session.open(dir.filePath("missing.xlsx"), &error));
    EXPECT_TRUE(error.startsWith("EXCEL导入错误,"));
}

TEST_F(ImportRunTest, NoNameContactOrAddressColumnIsRefused)
{
    EXPECT_EQ(SpreadsheetImport::missingKeyColumns(columnsFor(ImportTarget::BatchList, {{"电话", 1}})),
              "收、发件单位名称、联系人、地址不能同时为空，请选择有效的Excel数据文件并匹配项目！");
    EXPECT_EQ(SpreadsheetImport::missingKeyColumns(columnsFor(ImportTarget::BatchList, {{"地址", 2}})), "");
}

TEST(MatchColumnStoreClean, TitleListsAreCleanedBeforeTheyAreStored)
{
    const std::pair<const char *, const char *> cases[] = {
        {"联系人，收货人", "联系人,收货人"},
        {" 收件人,,姓名 ", "收件人,姓名"},
        {"a,,,,b", "a,b"},
        {"O'Neil?,name", "ONeil,name"},
        {" ' ? ", ""},
        {"，,", ""},
    };
    for (const auto &[typed, stored] : cases)
        EXPECT_EQ(MatchColumnStore::cleanTitleList(QString::fromUtf8(typed)), QString::fromUtf8(stored)) << typed;
}

TEST_F(ImportRunTest, StoredTitleListsDecideTheMatching)
{
    const MatchColumnStore store(db());
    EXPECT_EQ(store.rows().size(), 36);
    EXPECT_EQ(store.titleList("会员Id"), "QQ,旺旺,会员ID,客户编号");
    EXPECT_EQ(store.titleList("送货费"), "送货费");
    const MatchColumnRow contact = store.rows().first();
    QString error;
    ASSERT_TRUE(store.save(contact.id, "", "收件人，顾客", 3, &error)) << error.toStdString();
    EXPECT_EQ(store.titleList("联系人"), "收件人,顾客");
    EXPECT_FALSE(store.save(contact.id, "", "，", 0, &error));
    EXPECT_EQ(error, "请输入有效的Excel/csv列名");
    const int added = store.add("送货费", "配送费", &error);
    EXPECT_GT(added, 0);
    EXPECT_EQ(store.titleList("送货费"), "配送费");
    EXPECT_TRUE(store.remove(added, &error));
    ASSERT_TRUE(store.restoreDefaults(&error));
    EXPECT_EQ(store.titleList("联系人"), "联系人,收件人,收件人姓名,收货人,收件联系人,*姓名*,name,fullname");
}

TEST(ImportSourceColumns, EntriesNameTheirColumnAndStopAfter61)
{
    const std::pair<const char *, int> entries[] = {
        {"列1:收货人", 1}, {"列12:备注:留言", 12}, {"", 0}, {"全部列表", 0}, {"老客户", 0}};
    for (const auto &[entry, column] : entries)
        EXPECT_EQ(sourceColumnOf(QString::fromUtf8(entry)), column) << entry;
    EXPECT_EQ(sourceColumnEntry(7, "城市"), "列7:城市");
    QStringList titles;
    for (int i = 1; i <= 70; ++i)
        titles << (i == 2 ? QString() : QStringLiteral("标题%1").arg(i));
    const QList<QPair<int, QString>> sources = sourceColumns(titles);
    ASSERT_EQ(sources.size(), 60);  // 61 columns read, the empty second one skipped
    EXPECT_EQ(sources.first(), qMakePair(1, QStringLiteral("标题1")));
    EXPECT_EQ(sources[1], qMakePair(3, QStringLiteral("标题3")));
    EXPECT_EQ(sources.last(), qMakePair(61, QStringLiteral("标题61")));
}
