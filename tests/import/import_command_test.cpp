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
