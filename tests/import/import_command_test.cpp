#include "batch/match_column_store.h"
#include "sheet_fixtures.h"
#include "test_support.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

QStringList listed(const Database &db, const QString &sql)
{
    QStringList values;
    QSqlQuery q = db.prepare(sql);
    EXPECT_TRUE(q.exec());
    while (q.next())
        values << q.value(0).toString();
    return values;
}

} // namespace

TEST(ImportCommand, ImportsAFileIntoEitherListAndPrintsTheResult)
{
    TempDataRoot root;
    const QString xlsx = root.path() + "/orders.xlsx";
    ASSERT_TRUE(writeXlsx(xlsx, {{"说明", {{"导出说明"}}},
                                 {"订单", {{"收货人", "手机号码", "详细地址", "城市"},
                                           {"O'Brien", "#13800138000", "广州市天河区", "广州"},
                                           {"李四", "#13800138000", "上海市浦东新区", "上海"}}}}));
    ProgramResult r = runProgram({"--data", root.path(), "import", xlsx, "--into", "batch", "--sheet", "订单"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "导入结束，共有 2 条导入成功！\n");
    EXPECT_EQ(listed(root.context().db(), "select 联系人||'|'||手机||'|'||市||'|'||coalesce(目的站,'') "
                                          "from ReceiverList order by ID"),
              QStringList({"O'Brien|13800138000|广州|", "李四|13800138000|上海|"}));

    r = runProgram({"--data", root.path(), "import", fixturePath("receivers.xls"), "--into", "addressbook",
                    "--no-duplicates", "contact"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = runProgram({"--data", root.path(), "import", fixturePath("receivers.xls"), "--into", "addressbook",
                    "--no-duplicates", "contact"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "导入结束，共有 0 条导入成功！ 其中跳过了2 条重复的或无效(单位、联系人、电话都为空)的记录！\n");
    EXPECT_EQ(listed(root.context().db(), "select 联系人||'|'||手机||'|'||单位类型 from ckPersonalInfoTable order by ID"),
              QStringList({"张三|13800138000|往来单位", "O'Brien|13912345678|往来单位"}));
}

TEST(ImportCommand, RefusesWhatItCannotImport)
{
    TempDataRoot root;
    const QString junk = root.path() + "/junk.xlsx";
    ASSERT_TRUE(writeBytes(junk, "not a workbook"));
    const QString phones = root.path() + "/phones.csv";
    ASSERT_TRUE(writeBytes(phones, "电话\n020-1234\n"));
    struct Case { QStringList args; const char *err; };
    const Case cases[] = {
        {{junk, "--into", "batch"}, "EXCEL导入错误,不是可以识别的表格文件"},
        {{root.path() + "/missing.csv", "--into", "batch"}, "EXCEL导入错误,无法打开文件"},
        {{fixturePath("receivers.xls"), "--into", "batch", "--sheet", "Sheet9"}, "no sheet named Sheet9"},
        {{phones, "--into", "addressbook"}, "收、发件单位名称、联系人、地址不能同时为空"},
        {{phones, "--into", "printer"}, "--into addressbook|batch is required"},
        {{phones, "--into", "batch", "--no-duplicates", "email"}, "--no-duplicates takes contact, name and phone"},
    };
    for (const Case &c : cases) {
        const ProgramResult r = runProgram(QStringList{"--data", root.path(), "import"} + c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(listed(root.context().db(), "select count(*) from ReceiverList"), QStringList{"0"});
}

namespace {

QByteArray odsRow(const QByteArray &cells, qint64 repeat = 1)
{
    QByteArray row = "<table:table-row";
    if (repeat > 1)
        row += " table:number-rows-repeated=\"" + QByteArray::number(repeat) + "\"";
    return row + ">" + cells + "</table:table-row>";
}

QByteArray odsEmptyCells(qint64 repeat)
{
    return "<table:table-cell table:number-columns-repeated=\"" + QByteArray::number(repeat) + "\"/>";
}

} // namespace

// Files made to hurt a reader, each claiming far more than one import
// takes. Under a 1 GB address-space cap every one is refused with one
// message or read within 6000 rows and 256 columns; a reader that
// allocated what they claim would need many gigabytes and fail here.
TEST(ImportCommand, HostileSpreadsheetsAreRefusedOrReadWithinTheLimits)
{
    TempDataRoot root;
    const QString note = "超出部分已忽略：只读取前6000行、256列";
    const QByteArray titles = "<row r=\"1\">" + xlsxCell("A1", "联系人") + xlsxCell("B1", "地址") + "</row>";
    const QString reference = root.path() + "/reference.xlsx";
    ASSERT_TRUE(writeRawXlsx(reference, titles + "<row r=\"2\">" + xlsxCell("A2", "张三")
                                            + xlsxCell("FXSHRXW2", "远") + xlsxCell("B2", "广州") + "</row>"));
    QByteArray far = "<row r=\"1\">" + xlsxCell("A1", "联系人") + "</row>";
    for (int r = 2; r <= 200000; ++r) {
        const QByteArray n = QByteArray::number(r);
        far += "<row r=\"" + n + "\">" + xlsxCell("A" + n, "收件人") + xlsxCell("XFD" + n, "x") + "</row>";
    }
    const QString farColumn = root.path() + "/far-column.xlsx";
    ASSERT_TRUE(writeRawXlsx(farColumn, far));
    const QString inflating = root.path() + "/inflating.xlsx";
    ASSERT_TRUE(writeRawXlsx(inflating, titles + QByteArray(70 * 1024 * 1024, ' ')));

    const QByteArray odsTitles = odsRow(odsCell("联系人") + odsCell("地址"));
    const QString manyRows = root.path() + "/many-rows.ods";
    ASSERT_TRUE(writeRawOds(manyRows, odsTitles + odsRow(odsEmptyCells(2), 2000000000)
                                          + odsRow(odsCell("张三") + odsCell("广州"))));
    const QString manyCells = root.path() + "/many-cells.ods";
    ASSERT_TRUE(writeRawOds(manyCells, odsRow(odsCell("联系人") + odsEmptyCells(2000000000) + odsCell("地址"))
                                           + odsRow(odsCell("张三") + odsEmptyCells(2000000000) + odsCell("广州"))));
    const QString grid = root.path() + "/grid.ods";
    ASSERT_TRUE(writeRawOds(grid, odsRow(odsCell("联系人")) + odsRow(odsCell("x", 16384), 1048575)));
    const QString spaces = root.path() + "/spaces.ods";
    ASSERT_TRUE(writeRawOds(spaces, odsTitles + odsRow(odsCell("张三")
                                                       + odsCell("广州<text:s text:c=\"2000000000\"/>天河"))));

    struct Case { QString file; int exitCode; const char *out; const char *err; int stored; };
    const Case cases[] = {
        {reference, 0, "导入结束，共有 1 条导入成功！", "", 1},
        {farColumn, 0, "导入结束，共有 5999 条导入成功！", "导入中止，一次最大行数为6000", 5999},
        {inflating, 2, "", "EXCEL导入错误,文件过大或已损坏", 0},
        {manyRows, 0, "导入完成，所选数据文件不存在有效数据！", "", 0},
        {manyCells, 0, "导入结束，共有 1 条导入成功！", "", 1},
        {grid, 0, "导入结束，共有 5999 条导入成功！", "导入中止，一次最大行数为6000", 5999},
        {spaces, 0, "导入结束，共有 1 条导入成功！", "", 1},
    };
    const Database &db = root.context().db();
    for (const Case &c : cases) {
        db.exec("delete from ReceiverList");
        const ProgramResult r =
            runProgram({"--data", root.path(), "import", c.file, "--into", "batch"}, 30000, 1000LL * 1000 * 1000);
        const std::string name = c.file.section('/', -1).toStdString();
        EXPECT_EQ(r.exitCode, c.exitCode) << name << ": " << r.err.toStdString();
        EXPECT_TRUE(QString(r.out + "\n").startsWith(QString::fromUtf8(c.out))) << name << ": " << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << name << ": " << r.err.toStdString();
        // Every file but the tidy ones held more than was read, and says so once.
        const bool cut = c.file != reference && c.file != spaces && c.file != inflating;
        EXPECT_EQ(r.out.count(note), cut ? 1 : 0) << name << ": " << r.out.toStdString();
        EXPECT_EQ(listed(db, "select count(*) from ReceiverList"), QStringList{QString::number(c.stored)}) << name;
        // The address title of many-cells.ods lies beyond column 256.
        if (c.file == spaces || c.file == reference || c.file == manyCells)
            EXPECT_EQ(listed(db, "select 联系人||'|'||地址 from ReceiverList"),
                      QStringList{c.file == manyCells ? "张三|" : "张三|广州"}) << name;
    }
}

TEST(ImportCommand, ADatabaseThatFailsTheImportExits2Or3WhenRowsWereStored)
{
    TempDataRoot root;
    const Database &db = root.context().db();
    QString error;
    ASSERT_TRUE(MatchColumnStore(db).ensureReady(&error)) << error.toStdString();
    QByteArray csv = "联系人,手机\n";
    for (int i = 0; i < 600; ++i)
        csv += "收件人" + QByteArray::number(i) + ",1380013" + QByteArray::number(1000 + i) + "\n";
    const QString file = root.path() + "/receivers.csv";
    ASSERT_TRUE(writeBytes(file, csv));

    // Another program holds the write lock of the file the whole time. (A
    // server has no such lock: a second desk waits for the rows it writes.)
    if (!db.isShared()) {
        ASSERT_TRUE(db.exec("BEGIN IMMEDIATE"));
        const ProgramResult r = runProgram({"--data", root.path(), "import", file, "--into", "batch"});
        ASSERT_TRUE(db.exec("ROLLBACK"));
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("导入中止，数据库写入失败：")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("中止前共有 0 条导入成功！")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }

    // The first 500 rows are committed, then a trigger ends the second
    // transaction as a full disk would.
    ASSERT_TRUE(refuseChangesWhen(db, "full_disk", "insert", "ReceiverList",
                                  "(select count(*) from ReceiverList) >= 550", "database or disk is full", true));
    const ProgramResult r = runProgram({"--data", root.path(), "import", file, "--into", "batch"});
    EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("database or disk is full")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("中止前共有 500 条导入成功！")) << r.err.toStdString();
    EXPECT_EQ(listed(db, "select count(*) from ReceiverList"), QStringList{"500"});
}
