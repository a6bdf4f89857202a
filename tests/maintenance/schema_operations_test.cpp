// The schema operations one by one, on a fresh database file: they are
// steps of the upgrade of a desk's SQLite data.
#include "app/database.h"
#include "maintenance/schema_operations.h"
#include "maintenance/upgrade_progress.h"
#include "test_support.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

QString declaredType(const Database &db, const QString &table, const QString &column)
{
    return db.scalar("select type from pragma_table_info(?) where name=?", {table, column}).toString();
}

} // namespace

TEST(SchemaOperations, AddColumnMapsTheTypeWordsAndRefusesOthers)
{
    BILLPRINT_SQLITE_FILE_ONLY();
    TempDataRoot root;
    const Database &db = root.context().db();
    UpgradeProgress progress;
    progress.ProgressBarInit(150);
    SchemaOperations ops(db, &progress);
    struct Case
    {
        const char *column, *size, *type, *declared;
    };
    const Case cases[] = {
        {"a1", "", "Number", "INTEGER"}, {"a2", " ", "String", "VARCHAR(50)"}, {"a3", "30", "text", "VARCHAR(30)"},
        {"a4", "", "integer", "INTEGER"}, {"a5", "", "numeric", "INTEGER"},    {"a6", "", "date", "date"},
    };
    for (const Case &c : cases) {
        EXPECT_TRUE(ops.aAddColumn("DMTable", c.column, c.size, c.type)) << c.column;
        EXPECT_EQ(declaredType(db, "DMTable", c.column), c.declared) << c.column;
        EXPECT_TRUE(ops.aIFExistsColumn("dmtable", QString(c.column).toUpper()));
    }
    EXPECT_FALSE(ops.aAddColumn("DMTable", "a7", "", "text); drop table DMTable; --"));
    EXPECT_TRUE(ops.lastError().startsWith("修改表结构(a7)错误,Error=")) << ops.lastError().toStdString();
    EXPECT_FALSE(ops.aAddColumn("DMTable", "a1", "", "Number"));  // already there
    EXPECT_TRUE(db.tableExists("DMTable"));
    EXPECT_EQ(progress.labelText(), "进度:8/150 >> 升级表存储结构...DMTable");
}

TEST(SchemaOperations, UpdateColumnValueBindsTheValueAndKnowsItsTypes)
{
    BILLPRINT_SQLITE_FILE_ONLY();
    TempDataRoot root;
    const Database &db = root.context().db();
    SchemaOperations ops(db);
    db.exec("insert into DMTable (CheckTypeId, DMName, DMValue) values (7, 'x', 'old')");
    EXPECT_TRUE(ops.aUpdateColumnValue("DMTable", "DMValue", " CheckTypeId=?", {7}, "string", "O'Brien's"));
    EXPECT_EQ(db.scalar("select DMValue from DMTable where CheckTypeId=7").toString(), "O'Brien's");
    EXPECT_FALSE(ops.aUpdateColumnValue("DMTable", "DMValue", "", {}, "date", "2020-01-01"));
    EXPECT_EQ(ops.lastError(), "类型错误，不支持的类型-date");
    EXPECT_EQ(db.scalar("select DMValue from DMTable where CheckTypeId=7").toString(), "O'Brien's");
    EXPECT_TRUE(ops.aUpdateColumnValue("DMTable", "CheckTypeId", "DMName=?", {"x"}, "number", "8"));
    EXPECT_EQ(db.scalar("select count(*) from DMTable where CheckTypeId=8").toInt(), 1);
}

TEST(SchemaOperations, FirstNamesDictionaryRowsAndMatchingTable)
{
    BILLPRINT_SQLITE_FILE_ONLY();
    TempDataRoot root;
    const Database &db = root.context().db();
    SchemaOperations ops(db);
    db.exec("insert into CKTypeTable (CheckTypeID, TypeName, TypeFirstName) values (901, '支票(工行)', ''), "
            "(902, '进账单（建行）', null), (903, '支票', '')");
    EXPECT_TRUE(ops.initTypeFirstNameValue());
    QStringList names;
    QSqlQuery q = db.prepare("select coalesce(TypeFirstName, '-') from CKTypeTable where CheckTypeID>900 order by 1");
    q.exec();
    while (q.next())
        names << q.value(0).toString();
    EXPECT_EQ(names, QStringList({"", "支票", "进账单"}));

    const int before = db.scalar("select count(*) from NameDict").toInt();
    EXPECT_TRUE(ops.aInsertNameDictItemIFLost("测试单", "O'Neil", "", 5, 1, "zdTest"));
    EXPECT_TRUE(ops.aInsertNameDictItemIFLost("测试单", "again", "", 6, 0, "ZDTEST"));
    EXPECT_EQ(db.scalar("select count(*) from NameDict").toInt(), before + 1);
    EXPECT_EQ(db.scalar("select CtlName||CtlLabel||CtlType||ShowOrd from NameDict where CheckTypeName='测试单'").toString(),
              "ZDTESTO'NeilText5");

    db.exec("drop table MatchColumn");
    EXPECT_TRUE(ops.CreateMatchColumnTableIFNotExists());
    db.exec("update MatchColumn set SourceName='mine' where ItemName='电话'");
    EXPECT_TRUE(ops.CreateMatchColumnTableIFNotExists());  // an existing table keeps the user's titles
    EXPECT_EQ(db.scalar("select SourceName from MatchColumn where ItemName='电话'").toString(), "mine");
    EXPECT_TRUE(ops.resetMatchColumnDefaults());
    EXPECT_EQ(db.scalar("select SourceName from MatchColumn where ItemName='电话'").toString(),
              "收件电话,固定电话,联系方式,联系电话,*电话*");
    EXPECT_EQ(db.scalar("select count(*) from MatchColumn").toInt(), 36);
}
