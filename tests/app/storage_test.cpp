// The database file: creation, reopening, refusal of files that are not
// ours to change, and transactions.
#include "app/data_location.h"
#include "app/database.h"
#include "test_support.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

// Every table of the program with a few columns each reader relies on.
const std::vector<std::pair<QString, QStringList>> kTables = {
    {"configtable", {"cname", "cvalue"}},
    {"CKTypeTable", {"CheckTypeID", "TypeName", "TypeFirstName", "TypeDescribe", "ImgFile", "IniFile",
                     "Visiable", "IsDefault", "IsCommon", "ShowOrd", "CheckBoxs", "TWidth", "THeight",
                     "PWidth", "PHeight", "XMove", "YMove", "HVPrint", "GroupCompany", "GroupTypeArea",
                     "IsSysCommon", "PreImgURL"}},
    {"CkControl", {"ID", "CheckTypeID", "CtlName", "CtlCName", "CtlType", "CtlX", "CtlY", "CtlW", "CtlH",
                   "CtlLH", "SrcX", "SrcY", "SrcW", "SrcH", "NeedShow", "NeedPrint", "CtlFontName",
                   "CtlFontSize", "CtlFontColor", "Bold", "Italic", "UnderLine", "BreakNum", "BreakFontSize",
                   "FitParam", "Align", "InitValue", "ShowOrd"}},
    {"NameDict", {"Id", "CheckTypeName", "CtlName", "CtlLabel", "CtlType", "PrintItem", "ShowOrd", "Groups", "CtlData"}},
    {"DMTable", {"ID", "DMName", "DMValue", "CheckTypeID"}},
    {"DataZPTable", {"流水号", "模板种类", "其他选项", "票据编号", "票据状态", "备注", "币种", "金额", "出票日期",
                     "自定义1", "自定义5"}},
    {"DataJZDTable", {"流水号", "模板种类", "其他选项", "备注", "币种", "金额", "出票日期"}},
    {"DataJKDTable", {"流水号", "模板种类", "其他选项", "备注", "币种", "金额", "出票日期"}},
    {"DataKDDTable", {"流水号", "模板种类", "其他选项", "备注", "收件单位", "寄件单位"}},
    {"ckPersonalInfoTable", {"ID", "全称", "单位类型", "分组", "省", "开户银行", "开户行账号"}},
    {"ClassPerson", {"Id", "FullPathName"}},
    {"ReceiverList", {"ID", "全称", "联系人", "地址"}},
    {"MatchColumn", {"Id", "MatchType", "ItemName", "SourceName", "ShowOrd"}},
    {"coins", {"币种", "缩写"}},
    {"DMTable2", {"类型", "一级代码", "二级代码"}},
    {"UserTable", {"ID", "UserName", "Passwd"}},
    {"TemplatePicture", {"FileName", "Picture", "PictureSize", "PictureHash", "StoredAt"}},
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

TEST(Storage, FreshDataRootHasEveryTableAndColumn)
{
    TempDataRoot root;
    Database &db = root.context().db();
    // The test server hands out copies of a database built once, so only
    // the file is created here.
    EXPECT_EQ(db.wasCreated(), !db.isShared());
    EXPECT_EQ(db.schemaVersion(), Database::latestSchemaVersion());
    // Our tables, and the engine's own: SQLite's id counters, or the
    // server's version mark.
    EXPECT_EQ(db.scalar(db.dialect().tableCount()).toInt(), 18);
    for (const auto &[table, columns] : kTables) {
        // Names compare without regard to letter case.
        EXPECT_TRUE(db.tableExists(table.toUpper())) << table.toStdString();
        for (const QString &column : columns)
            EXPECT_TRUE(TDBTable::ColumnExists(table, column.toLower(), db))
                << table.toStdString() << "." << column.toStdString();
    }
}

TEST(Storage, ReopeningKeepsRowsAndDoesNotRecreate)
{
    TempDataRoot root;
    root.context().settings().setConfigByname("DefaultPrinter", "Epson LQ-630K");
    AppContext &again = root.reopen();
    EXPECT_FALSE(again.db().wasCreated());
    EXPECT_EQ(again.settings().getConfigByname("DefaultPrinter"), "Epson LQ-630K");
}

TEST(Storage, FileThatIsNotADatabaseIsRefusedAndLeftUntouched)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("EPData.ini");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Settings]\nthis is an ini file, not a database\n");
    }
    const QByteArray before = readAll(path);
    QString error;
    EXPECT_EQ(Database::open(path, &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(path), before);
}

TEST(Storage, DatabaseOfAnotherProgramIsNotAltered)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("EPData.ini");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(path);
        ASSERT_TRUE(other.open());
        QSqlQuery(other).exec("create table CKTypeTable (CheckTypeID integer, TypeName text)");
        other.close();
    }
    QSqlDatabase::removeDatabase("other");
    QString error;
    auto db = Database::open(path, &error);
    ASSERT_NE(db, nullptr) << error.toStdString();
    EXPECT_FALSE(db->tableExists("configtable"));
    EXPECT_EQ(db->schemaVersion(), 0);
}

TEST(Storage, LockedDatabaseGivesAClearError)
{
    BILLPRINT_SQLITE_FILE_ONLY();
    TempDataRoot root;
    const QString path = root.context().dataRoot().databasePath();
    root.close();
    QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
    holder.setDatabaseName(path);
    ASSERT_TRUE(holder.open());
    QSqlQuery lock(holder);
    ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
    ASSERT_TRUE(lock.exec("insert into configtable (cname, cvalue) values ('x','y')"));
    QString error;
    EXPECT_EQ(Database::open(path, &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
    lock.exec("ROLLBACK");
    lock.finish();
    holder.close();
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase("holder");
}

TEST(Storage, TwoProgramsOnOneDataRootBothWrite)
{
    TempDataRoot root;
    QString error;
    // The second program finds the database where the first does: the
    // data root's file, or the server its Config.ini names.
    auto second = openLocationDatabase(DataLocation{root.context().dataRoot(), QString()}, false, &error);
    ASSERT_NE(second, nullptr) << error.toStdString();
    SystemSettings other(*second);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(root.context().settings().setConfigByname(QString("a%1").arg(i), "1"));
        ASSERT_TRUE(other.setConfigByname(QString("b%1").arg(i), "2"));
    }
    EXPECT_EQ(root.context().db().scalar("select count(*) from configtable where cname like 'a%' or cname like 'b%'").toInt(), 40);
}

TEST(Storage, TransactionRollsBackEverythingOnFailure)
{
    TempDataRoot root;
    Database &db = root.context().db();
    const bool ok = db.transaction([&] {
        db.exec("insert into configtable (cname, cvalue) values ('t1','1')");
        // Nested work that fails rolls back only itself...
        EXPECT_FALSE(db.transaction([&] {
            db.exec("insert into configtable (cname, cvalue) values ('t2','1')");
            return false;
        }));
        return db.exec("insert into no_such_table values (1)");
    });
    EXPECT_FALSE(ok);
    // ...and the failing outer level takes everything back.
    EXPECT_EQ(db.scalar("select count(*) from configtable where cname in ('t1','t2')").toInt(), 0);

    EXPECT_TRUE(db.transaction([&] {
        db.exec("insert into configtable (cname, cvalue) values ('t3','1')");
        db.transaction([&] { return db.exec("insert into configtable (cname, cvalue) values ('t4','1')"); });
        return true;
    }));
    EXPECT_EQ(db.scalar("select count(*) from configtable where cname in ('t3','t4')").toInt(), 2);
}

TEST(Storage, ScriptSplittingRespectsQuotesAndComments)
{
    const QStringList statements = splitSqlScript(
        "-- a comment; with a semicolon\n"
        "insert into t values ('a;b');\n"
        "insert into \"we;ird\" values (1); -- trailing\n"
        "select 1");
    ASSERT_EQ(statements.size(), 3);
    EXPECT_EQ(statements[0], "insert into t values ('a;b')");
    EXPECT_EQ(statements[1], "insert into \"we;ird\" values (1)");
    EXPECT_EQ(statements[2], "select 1");
}

// The statement forms that differ between engines, run on the engine of
// the run: the SQLite file, or the test server.

TEST(SqlDialectOnTheDatabase, EmptiedTableStartsItsIdsAtOneAgainAfterTheReset)
{
    TempDataRoot root;
    Database &db = root.context().db();
    for (const char *name : {"甲公司", "乙公司", "丙公司"})
        ASSERT_TRUE(db.exec("insert into ReceiverList (全称) values (?)", {QString::fromUtf8(name)}));
    ASSERT_TRUE(db.exec("delete from ReceiverList"));
    ASSERT_TRUE(db.exec("insert into ReceiverList (全称) values ('丁公司')"));
    EXPECT_EQ(db.scalar("select max(ID) from ReceiverList").toInt(), 4); // ids are never reused by themselves

    QString error;
    ASSERT_TRUE(db.transaction([&] {
        return db.exec("delete from ReceiverList", {}, &error) && db.resetIdSequence("ReceiverList", "ID", &error);
    }, &error)) << error.toStdString();
    ASSERT_TRUE(db.exec("insert into ReceiverList (全称) values ('戊公司')"));
    EXPECT_EQ(db.scalar("select ID from ReceiverList where 全称='戊公司'").toInt(), 1);
}

TEST(SqlDialectOnTheDatabase, LastInsertedIdIsTheNewRowsId)
{
    TempDataRoot root;
    Database &db = root.context().db();
    ASSERT_TRUE(db.exec("insert into MatchColumn (MatchType, ItemName, SourceName) values ('导入', '全称', '单位')"));
    QSqlQuery insert = db.prepare("insert into MatchColumn (MatchType, ItemName, SourceName) values (?, ?, ?)");
    insert.addBindValue("导入");
    insert.addBindValue("账号");
    insert.addBindValue("银行账号");
    ASSERT_TRUE(insert.exec());
    const QVariant id = db.lastInsertedId(insert);
    EXPECT_EQ(id, db.scalar("select Id from MatchColumn where ItemName='账号'"));
    EXPECT_GT(id.toInt(), 1);
}

TEST(SqlDialectOnTheDatabase, SchemaVersionIsWrittenAndReadInTheFileHeaderOrTheVersionTable)
{
    TempDataRoot root;
    Database &db = root.context().db();
    const SqlDialect &dialect = db.dialect();
    EXPECT_EQ(dialect.engine(), db.isShared() ? SqlEngine::Postgres : SqlEngine::Sqlite);
    for (const SqlStatement &statement : dialect.schemaVersionWrite(42))
        ASSERT_TRUE(db.exec(statement.text, statement.values));
    EXPECT_EQ(db.schemaVersion(), 42);
    if (db.isShared()) {
        EXPECT_EQ(dialect.schemaVersionTable(), "billprint_schema_version");
        EXPECT_EQ(db.scalar("select max(version) from billprint_schema_version").toInt(), 42);
    } else {
        EXPECT_EQ(dialect.schemaVersionRead(), "PRAGMA user_version");
        EXPECT_TRUE(dialect.schemaVersionTable().isEmpty());
        EXPECT_EQ(db.scalar("PRAGMA user_version").toInt(), 42);
    }
}

TEST(SqlDialectOnTheDatabase, NamesCompareIgnoringLetterCase)
{
    TempDataRoot root;
    Database &db = root.context().db();
    const QString condition = db.dialect().equalsIgnoringCase(quoteIdentifier("缩写"));
    EXPECT_EQ(condition, db.isShared() ? "lower(\"缩写\") = lower(?)" : "\"缩写\" = ? collate nocase");
    EXPECT_EQ(db.scalar("select 币种 from coins where " + condition, {"jpy"}).toString(), "日元");
    EXPECT_TRUE(db.tableExists("receiverlist"));
    // The server keeps the names folded to lower case, as they were created.
    EXPECT_EQ(db.columnNames("matchcolumn"),
              db.isShared() ? QStringList({"id", "matchtype", "itemname", "sourcename", "showord"})
                            : QStringList({"Id", "MatchType", "ItemName", "SourceName", "ShowOrd"}));
}

TEST(SqlDialectOnTheDatabase, DayNumberReadsBothStoredDateForms)
{
    TempDataRoot root;
    Database &db = root.context().db();
    const QString sql = "select " + db.dialect().dayNumber("d") + " from (select ? as d) as stored";
    EXPECT_EQ(db.scalar(sql, {"2024-03-05"}).toInt(), 20240305);
    EXPECT_EQ(db.scalar(sql, {"2024/3/5"}).toInt(), 20240305);
    EXPECT_EQ(db.scalar(sql, {"2024/12/31 14:30:00"}).toInt(), 20241231);
}

TEST(SqlDialect, DriverNamesChooseTheEngine)
{
    bool known = false;
    EXPECT_EQ(SqlDialect::forDriver("QPSQL", &known).engine(), SqlEngine::Postgres);
    EXPECT_TRUE(known);
    EXPECT_EQ(SqlDialect::forDriver("QSQLITE", &known).engine(), SqlEngine::Sqlite);
    EXPECT_TRUE(known);
    SqlDialect::forDriver("QODBC", &known);
    EXPECT_FALSE(known);
    // PostgreSQL keeps the version mark in a table and asks the session for new ids.
    const SqlDialect postgres(SqlEngine::Postgres);
    EXPECT_EQ(postgres.schemaVersionTable(), "billprint_schema_version");
    EXPECT_EQ(postgres.lastInsertedIdQuery(), "select lastval()");
    EXPECT_EQ(postgres.equalsIgnoringCase("\"全称\""), "lower(\"全称\") = lower(?)");
    // LIKE ignores letter case on both; Qt looks tables up by their stored name.
    EXPECT_EQ(postgres.likeIgnoringCase("\"助记码\""), "\"助记码\" ilike ? escape '\\'");
    EXPECT_EQ(SqlDialect(SqlEngine::Sqlite).likeIgnoringCase("\"助记码\""), "\"助记码\" like ? escape '\\'");
    EXPECT_EQ(postgres.storedTableName("UserTable"), "usertable");
    EXPECT_EQ(SqlDialect(SqlEngine::Sqlite).storedTableName("UserTable"), "UserTable");
}
