// The data upgrade on a database and template package of an earlier
// version: what it adds, what it keeps, and that a failure changes nothing.
#include "app/database.h"
#include "app/database_backup.h"
#include "maintenance/data_upgrade.h"
#include "maintenance/schema_operations.h"
#include "old_version_data.h"
#include "test_support.h"

#include <QFileInfo>
#include <memory>

using namespace billprint;
using namespace billprint::test;

namespace {

const QString kVersion = QStringLiteral("10.6");

// The tables of the old database with the columns they had, and the rows
// in them before the upgrade.
QMap<QString, QStringList> oldColumns(const QSqlDatabase &db)
{
    QMap<QString, QStringList> columns;
    for (const char *table : {"configtable", "CKTypeTable", "CkControl", "NameDict", "ReceiverList",
                              "DataKDDTable", "DMTable", "UserTable"})
        columns.insert(table, columnsOf(db, table));
    return columns;
}

QMap<QString, QStringList> rowsOf(const QSqlDatabase &db, const QMap<QString, QStringList> &columns)
{
    QMap<QString, QStringList> rows;
    for (auto it = columns.begin(); it != columns.end(); ++it)
        rows.insert(it.key(), tableRows(db, it.key(), it.value()));
    return rows;
}

QString stringOf(const Database &db, const QString &sql, const QVariantList &values = {})
{
    const QVariant v = db.scalar(sql, values);
    return v.isNull() ? QStringLiteral("<null>") : v.toString();
}

struct OpenedOld
{
    OldDataFolder folder;
    std::unique_ptr<Database> db;
    OpenedOld()
    {
        QString error;
        db = Database::open(folder.databasePath(), &error);
        EXPECT_TRUE(db) << error.toStdString();
    }
};

} // namespace

TEST(DataUpgrade, KeepsEveryRowAndAddsWhatTheOldDatabaseLacks)
{
    OpenedOld old;
    Database &db = *old.db;
    const QMap<QString, QStringList> columns = oldColumns(db.connection());
    QMap<QString, QStringList> before = rowsOf(db.connection(), columns);

    DataUpgrade upgrade(db, kVersion);
    QStringList steps;
    upgrade.progress().setListener([&](const UpgradeProgress &p) { steps << p.labelText(); });
    const UpgradeOutcome outcome = upgrade.run();
    ASSERT_EQ(outcome.status, UpgradeOutcome::Status::Upgraded) << outcome.message.toStdString();
    EXPECT_EQ(outcome.message, "恭喜，升级成功啦！");
    EXPECT_EQ(steps.last(), "进度:150/150    升级完成！");
    EXPECT_TRUE(steps.contains("进度:1/150 >> 创建表格...DataZPTable")) << steps.first().toStdString();

    // Every earlier row is still there with its values, the new ones come
    // after them; the only change to old rows is the dictionary names
    // written in capitals.
    before["NameDict"].replaceInStrings("|zdje|", "|ZDJE|");
    const QMap<QString, QStringList> after = rowsOf(db.connection(), columns);
    for (auto it = before.begin(); it != before.end(); ++it)
        EXPECT_EQ(after[it.key()].mid(0, it.value().size()).join("\n").toStdString(), it.value().join("\n").toStdString())
            << it.key().toStdString();
    EXPECT_EQ(after["configtable"].mid(before["configtable"].size()),
              QStringList({"启用系统背景|yes", "打印前弹出打印机设置|no", "启用默认出票人|no", "version|10.6"}));

    const QList<std::pair<QString, QStringList>> added = {
        {"CkControl", {"ctlLH", "ctlH", "ctlW", "NeedShow", "NeedPrint", "SrcX", "SrcY", "SrcW", "SrcH", "CtlType", "InitValue"}},
        {"NameDict", {"CtlData", "CtlType"}},
        {"CKTypeTable", {"IsCommon", "PWidth", "PHeight", "IniFile", "TypeFirstName"}},
        {"ReceiverList", {"体积", "代收金额", "手续费", "保价金额", "保价费", "运费", "加急费", "包装费", "送货费",
                          "其他费", "金额大写1", "自定义3", "自定义4", "自定义5"}},
        {"DataKDDTable", {"体积", "代收金额", "手续费", "保价金额", "保价费", "运费", "加急费", "包装费", "送货费",
                          "其他费", "金额大写1", "自定义1", "自定义2", "自定义3", "自定义4", "自定义5"}},
    };
    for (const auto &[table, names] : added) {
        const QStringList present = columnsOf(db.connection(), table);
        for (const QString &name : names)
            EXPECT_TRUE(present.contains(name, Qt::CaseInsensitive)) << table.toStdString() << "." << name.toStdString();
    }
    // Tables the old database did not have at all.
    for (const char *table : {"DataZPTable", "DataJZDTable", "DataJKDTable", "ckPersonalInfoTable", "coins", "DMTable2"})
        EXPECT_TRUE(db.tableExists(table)) << table;
    EXPECT_EQ(db.scalar("select count(*) from MatchColumn where MatchType='收件信息导入'").toInt(), 36);
    EXPECT_EQ(stringOf(db, "select SourceName from MatchColumn where ItemName='省'"), "*省*,州,Province");

    // The waybill dictionary: 28 fields, an existing one left as it was.
    EXPECT_EQ(db.scalar("select count(*) from NameDict where CheckTypeName='快递单'").toInt(), 1 + 28);
    EXPECT_EQ(stringOf(db, "select CtlLabel||'/'||ShowOrd from NameDict where CtlName='ZDTIJI'"), "货物体积/300");
    const QList<std::pair<QString, QString>> rows = {
        {"ZDBJJE", "保价金额|1|359|TEXT"}, {"ZDDAISJE", "代收金额|1|357|TEXT"}, {"ZDJFKHBM", "寄方编码|1|29|TEXT"},
        {"DEFCHECK0", "勾选0|1|409|CHECKBOX"}, {"DEFCHECK12", "勾选12|1|421|CHECKBOX"}, {"ZDDEF5", "自定义5|1|472|TEXT"},
    };
    for (const auto &[name, expected] : rows)
        EXPECT_EQ(stringOf(db, "select CtlLabel||'|'||PrintItem||'|'||ShowOrd||'|'||CtlType from NameDict "
                               "where CheckTypeName='快递单' and CtlName=?", {name}),
                  expected)
            << name.toStdString();

    // First names from the full names; common templates.
    const QStringList templates = tableRows(db.connection(), "CKTypeTable", {"CheckTypeID", "TypeFirstName", "IsCommon"});
    EXPECT_EQ(templates, QStringList({"1|支票|是", "2|快递单|是", "3|快递单|<null>", "4|<null>|<null>"}));

    // The empty template package.
    const QSqlDatabase &c = db.connection();
    EXPECT_FALSE(QSqlQuery(c).exec("select 1 from pkg._Config"));  // detached again
    db.exec("ATTACH DATABASE ? AS p2", {old.folder.packagePath()});
    EXPECT_EQ(stringOf(db, "select DMValue from p2._Config where DMName='version'"), "10.6");
    EXPECT_EQ(db.scalar("select count(*) from pragma_table_info('_ckControl', 'p2') where name in "
                        "('SrcX','SrcY','SrcH','SrcW','NeedShow','NeedPrint','CtlLH','CtlType','InitValue')").toInt(), 9);
    EXPECT_EQ(db.scalar("select count(*) from pragma_table_info('_CKTypeTable', 'p2') where name in "
                        "('PWidth','PHeight')").toInt(), 2);
    db.exec("DETACH DATABASE p2");

    // The copies made before: the old database as it was.
    EXPECT_EQ(outcome.backupPath, old.folder.databasePath() + ".before-10.6");
    EXPECT_EQ(outcome.packageBackupPath, old.folder.packagePath() + ".before-10.6");
    {
        std::unique_ptr<Database> copy = Database::open(outcome.backupPath, nullptr);
        ASSERT_TRUE(copy);
        EXPECT_FALSE(columnsOf(copy->connection(), "CKTypeTable").contains("IsCommon"));
        EXPECT_EQ(tableRows(copy->connection(), "ReceiverList").size(), 2);
    }
}

TEST(DataUpgrade, SecondRunChangesNothing)
{
    OpenedOld old;
    DataUpgrade upgrade(*old.db, kVersion);
    ASSERT_TRUE(upgrade.run().ok());
    const QByteArray upgraded = fileBytes(old.folder.databasePath());
    const UpgradeOutcome again = upgrade.run();
    EXPECT_EQ(again.status, UpgradeOutcome::Status::AlreadyCurrent);
    EXPECT_EQ(again.message, "当前软件已经是V9.28，无需再升级！");
    EXPECT_EQ(fileBytes(old.folder.databasePath()), upgraded);

    // Run by force on data that has everything: no row changes.
    QMap<QString, QStringList> all;
    for (const char *table : {"CKTypeTable", "CkControl", "NameDict", "ReceiverList", "DataKDDTable", "MatchColumn"})
        all.insert(table, {});
    const QMap<QString, QStringList> rows = rowsOf(old.db->connection(), all);
    ASSERT_TRUE(upgrade.run(true).ok());
    EXPECT_TRUE(rowsOf(old.db->connection(), all) == rows);
    EXPECT_TRUE(QFileInfo::exists(old.folder.databasePath() + ".before-10.6-2"));  // the first copy is kept
}

TEST(DataUpgrade, BillDatesWrittenWithSlashesBecomeIsoDates)
{
    OldDataFolder folder;
    runStatements(folder.databasePath(),
                  {"insert into DataKDDTable (\"寄件单位\", \"寄件日期\") values ('乙', '2012/5/6')",
                   "insert into DataKDDTable (\"寄件单位\", \"寄件日期\") values ('丙', '2012/11/20 14:05:00')",
                   "insert into DataKDDTable (\"寄件单位\", \"寄件日期\") values ('丁', '2012/13/40')"});
    QString error;
    std::unique_ptr<Database> db = Database::open(folder.databasePath(), &error);
    ASSERT_TRUE(db) << error.toStdString();
    ASSERT_TRUE(DataUpgrade(*db, kVersion).run().ok());
    auto dateOf = [&](const char *sender) {
        return stringOf(*db, "select 寄件日期 from DataKDDTable where 寄件单位=?", {QString::fromUtf8(sender)});
    };
    EXPECT_EQ(dateOf("我方"), "2012-05-06");
    EXPECT_EQ(dateOf("乙"), "2012-05-06");
    EXPECT_EQ(dateOf("丙"), "2012-11-20 14:05:00");
    EXPECT_EQ(dateOf("丁"), "2012/13/40");  // names no day: left as written
}

TEST(DataUpgrade, FailureInTheMiddleLeavesBothFilesAsTheyWere)
{
    OldDataFolder folder;
    // The dictionary refuses updates: the step after the columns, the
    // package and the new dictionary rows fails.
    runStatements(folder.databasePath(), {"create trigger refuse before update on NameDict "
                                          "begin select raise(abort, 'disk says no'); end"});
    const QByteArray database = fileBytes(folder.databasePath());
    const QByteArray package = fileBytes(folder.packagePath());
    UpgradeOutcome outcome;
    {
        QString error;
        std::unique_ptr<Database> db = Database::open(folder.databasePath(), &error);
        ASSERT_TRUE(db) << error.toStdString();
        DataUpgrade upgrade(*db, kVersion);
        int steps = 0;
        upgrade.progress().setListener([&](const UpgradeProgress &) { ++steps; });
        outcome = upgrade.run();
        EXPECT_GT(steps, 60);  // columns, package and dictionary rows were done
        EXPECT_TRUE(upgrade.run().status == UpgradeOutcome::Status::Failed);  // not marked current
    }
    EXPECT_EQ(outcome.status, UpgradeOutcome::Status::Failed);
    EXPECT_TRUE(outcome.message.startsWith("升级失败，意外错误:")) << outcome.message.toStdString();
    EXPECT_TRUE(outcome.message.contains("disk says no"));
    EXPECT_EQ(outcome.failedStep, "编码修正");
    EXPECT_EQ(fileBytes(folder.databasePath()), database);
    EXPECT_EQ(fileBytes(folder.packagePath()), package);
}

TEST(DataUpgrade, OpenedAtStartAsDataOfThisProgramAtItsLatestSchema)
{
    OldDataFolder folder;
    const QByteArray untouched = fileBytes(folder.databasePath());
    QMap<QString, QStringList> before;
    {
        // Before the upgrade the start opens the data as it is.
        std::unique_ptr<Database> db = Database::open(folder.databasePath(), nullptr);
        ASSERT_TRUE(db);
        EXPECT_EQ(db->schemaVersion(), 0);
        before = rowsOf(db->connection(), oldColumns(db->connection()));
    }
    EXPECT_EQ(fileBytes(folder.databasePath()), untouched);
    {
        std::unique_ptr<Database> db = Database::open(folder.databasePath(), nullptr);
        ASSERT_TRUE(DataUpgrade(*db, kVersion).run().ok());
    }
    QString error;
    std::unique_ptr<Database> db = Database::open(folder.databasePath(), &error);
    ASSERT_TRUE(db) << error.toStdString();
    EXPECT_EQ(db->schemaVersion(), Database::latestSchemaVersion());
    EXPECT_TRUE(DataUpgrade(*db, kVersion).isCurrent());
    const QMap<QString, QStringList> after = rowsOf(db->connection(), oldColumns(db->connection()));
    for (auto it = before.begin(); it != before.end(); ++it)
        EXPECT_EQ(after[it.key()].mid(0, it.value().size()).size(), it.value().size()) << it.key().toStdString();
    EXPECT_EQ(after["UserTable"].first(), "1|admin||管理员|<null>|<null>");
    EXPECT_EQ(after["CKTypeTable"].size(), 4);  // no delivered templates beside the user's
    EXPECT_EQ(stringOf(*db, "select type from pragma_table_info('UserTable') where name='Passwd'"), "VARCHAR(255)");
    for (const char *index : {"ux_configtable_cname", "ux_ckcontrol_type_name", "ux_namedict_family_name",
                              "ix_datakdd_date", "ix_datakdd_receiver", "ix_datazp_amount", "ix_receiver_phone"})
        EXPECT_EQ(db->scalar("select count(*) from sqlite_master where type='index' and name=?", {index}).toInt(), 1)
            << index;
    EXPECT_EQ(db->scalar("select count(*) from coins").toInt(), 13);
    EXPECT_EQ(db->scalar("select count(*) from DMTable where DMName='cfgDateChinese'").toInt(), 0);
    // Units and templates of the earlier version start at version 0.
    for (const char *table : {"ckPersonalInfoTable", "CKTypeTable"}) {
        EXPECT_TRUE(db->columnNames(table).contains("RowVersion")) << table;
        EXPECT_EQ(db->scalar(QString("select count(*) from %1 where RowVersion <> 0").arg(table)).toInt(), 0) << table;
    }
}

TEST(DataUpgrade, DataUpgradedWithoutTheSchemaScriptsIsUpgradedAgain)
{
    OpenedOld old;
    // What an upgrade that stopped short of the schema scripts left.
    old.db->exec("insert into configtable values ('version', '10.6')");
    DataUpgrade upgrade(*old.db, kVersion);
    EXPECT_FALSE(upgrade.isCurrent());
    ASSERT_EQ(upgrade.run().status, UpgradeOutcome::Status::Upgraded);
    EXPECT_EQ(old.db->schemaVersion(), Database::latestSchemaVersion());
}

TEST(DataUpgrade, SchemaScriptRefusingTheDataUndoesTheWholeUpgrade)
{
    OldDataFolder folder;
    // Two fields of one name on one template: the unique index cannot be built.
    runStatements(folder.databasePath(), {"insert into CkControl (CheckTypeID, CtlName) values (2, 'zdsjdw')"});
    const QByteArray database = fileBytes(folder.databasePath());
    UpgradeOutcome outcome;
    {
        std::unique_ptr<Database> db = Database::open(folder.databasePath(), nullptr);
        ASSERT_TRUE(db);
        outcome = DataUpgrade(*db, kVersion).run();
    }
    EXPECT_EQ(outcome.status, UpgradeOutcome::Status::Failed);
    EXPECT_EQ(outcome.failedStep, "升级数据结构到当前版本");
    EXPECT_TRUE(outcome.message.contains("001_initial.sql")) << outcome.message.toStdString();
    EXPECT_EQ(fileBytes(folder.databasePath()), database);
}

TEST(DataUpgrade, RestoreWritesTheCopyBack)
{
    OpenedOld old;
    const QString copy = old.folder.dir.filePath("copy.db");
    QString error;
    ASSERT_TRUE(backupDatabaseFile(old.db->connection(), "main", copy, &error)) << error.toStdString();
    old.db->exec("delete from ReceiverList");
    ASSERT_TRUE(restoreDatabaseFile(old.db->connection(), "main", copy, &error)) << error.toStdString();
    EXPECT_EQ(tableRows(old.db->connection(), "ReceiverList", {"全称"}), QStringList({"甲公司", "O'Hara 商行"}));
    EXPECT_EQ(unusedFileName(copy), copy + "-2");
}
