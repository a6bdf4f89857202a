// Settings stores: configtable, per-template options, INI files, the
// diagnostics file, the install record and the version text.
#include "app/data_root.h"
#include "app/debug_log.h"
#include "app/ini_file.h"
#include "app/install_record.h"
#include "app/version.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

TEST(ConfigTable, MissingKeyReadsEmptyThenInsertsOnceAndUpdates)
{
    TempDataRoot root;
    SystemSettings &s = root.context().settings();
    EXPECT_EQ(s.getConfigByname("ckRemark"), "");
    ASSERT_TRUE(s.setConfigByname("ckRemark", "checked"));
    ASSERT_TRUE(s.setConfigByname("ckRemark", "no"));
    EXPECT_EQ(s.getConfigByname("ckRemark"), "no");
    EXPECT_EQ(root.context().db().scalar("select count(*) from configtable where cname='ckRemark'").toInt(), 1);
}

TEST(ConfigTable, EmptyValueIsStoredAndRowStays)
{
    TempDataRoot root;
    SystemSettings &s = root.context().settings();
    s.setConfigByname("DefaultPrinter", "LQ-630K");
    s.setConfigByname("DefaultPrinter", "");
    EXPECT_EQ(s.getConfigByname("DefaultPrinter"), "");
    EXPECT_EQ(root.context().db().scalar("select count(*) from configtable where cname='DefaultPrinter'").toInt(), 1);
}

TEST(ConfigTable, ApostrophesInNamesAndValuesAreStoredAsTyped)
{
    TempDataRoot root;
    SystemSettings &s = root.context().settings();
    ASSERT_TRUE(s.setConfigByname("O'Brien's printer", "HP 'LaserJet'"));
    ASSERT_TRUE(s.setConfigByname("O'Brien's printer", "it's \"quoted\" -- and; more"));
    EXPECT_EQ(s.getConfigByname("O'Brien's printer"), "it's \"quoted\" -- and; more");
}

TEST(ConfigTable, StoredNamesWithBlanksAreFoundByTheRead)
{
    TempDataRoot root;
    root.context().db().exec("insert into configtable (cname, cvalue) values (?, ?)", {"  MS EXCEL FIRST ", "1"});
    EXPECT_EQ(root.context().settings().getConfigByname("MS EXCEL FIRST"), "1");
}

TEST(ConfigTable, ReadAndWriteFindANameAlikeWithBlanksOrAnotherCase)
{
    TempDataRoot root;
    Database &db = root.context().db();
    db.exec("insert into configtable (cname, cvalue) values (?, ?)", {" Ms Excel First ", "0"});
    SystemSettings &s = root.context().settings();
    for (const QString &name : {"MS EXCEL FIRST", " ms excel first", "Ms Excel First  "}) {
        ASSERT_TRUE(s.setConfigByname(name, name.trimmed()));
        EXPECT_EQ(s.getConfigByname("mS eXCEL fIRST"), name.trimmed());
    }
    EXPECT_EQ(db.scalar("select count(*) from configtable where lower(trim(cname))='ms excel first'").toInt(), 1);
    ASSERT_TRUE(s.setConfigByname("  ckWPNR ", "checked"));
    EXPECT_EQ(db.scalar("select cname from configtable where cvalue='checked'").toString(), "ckWPNR");
}

TEST(ConfigTable, BooleanSettingsReadYesAndOneAsOn)
{
    TempDataRoot root;
    SystemSettings &s = root.context().settings();
    const std::vector<std::pair<QString, bool>> cases = {
        {"yes", true}, {"1", true}, {"YES", true}, {"no", false}, {"", false}, {"0", false},
        {"true", false}, {"on", false}, {"11", false}};
    for (const auto &[value, on] : cases) {
        s.setConfigByname(SettingKey::LoginRequired, value);
        EXPECT_EQ(s.isOn(SettingKey::LoginRequired), on) << value.toStdString();
    }
    s.setOn(SettingKey::LoginRequired, true);
    EXPECT_EQ(s.getConfigByname(SettingKey::LoginRequired), "yes");
    s.setOn(SettingKey::LoginRequired, false);
    EXPECT_EQ(s.getConfigByname(SettingKey::LoginRequired), "no");
}

TEST(ConfigTable, MissingTableReadsEmptyWithoutMessage)
{
    TempDataRoot root;
    AlertRecorder alerts;
    root.context().db().exec("drop table configtable");
    EXPECT_EQ(root.context().settings().getConfigByname("version"), "");
    EXPECT_TRUE(alerts.alerts().empty());
    QString error;
    EXPECT_FALSE(root.context().settings().setConfigByname("version", "10.6", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(TemplateOptions, NameDifferingInCaseUpdatesTheSameRow)
{
    TempDataRoot root;
    SystemSettings &s = root.context().settings();
    ASSERT_TRUE(s.setCheckConfigByName(7, "cfgDateChinese", "1"));
    ASSERT_TRUE(s.setCheckConfigByName(7, "CFGDATECHINESE", "0"));
    Database &db = root.context().db();
    EXPECT_EQ(db.scalar("select count(*) from DMTable where CheckTypeID=7").toInt(), 1);
    // The first spelling stays; the value follows the last write.
    EXPECT_EQ(db.scalar("select DMName from DMTable where CheckTypeID=7").toString(), "cfgDateChinese");
    EXPECT_EQ(s.getCheckConfigByName(7, "cfgdatechinese"), "0");
    // Another template keeps its own row.
    ASSERT_TRUE(s.setCheckConfigByName(8, "cfgDateChinese", "1"));
    EXPECT_EQ(s.getCheckConfigByName(7, "cfgDateChinese"), "0");
}

TEST(TemplateOptions, FailureIsShownAndReported)
{
    TempDataRoot root;
    AlertRecorder alerts;
    root.context().db().exec("drop table DMTable");
    EXPECT_FALSE(root.context().settings().setCheckConfigByName(1, "cfgDefaultMoney", "人民币"));
    EXPECT_TRUE(alerts.sawMessage("cfgDefaultMoney设置模板参数错误:"));
}

TEST(SchemaHelpers, CountRowsAndReportMissingTable)
{
    TempDataRoot root;
    AlertRecorder alerts;
    SystemSettings &s = root.context().settings();
    const int before = s.CountTableAllRows("coins");
    root.context().db().exec("insert into coins (币种, 缩写) values ('测试币', 'T')");
    EXPECT_EQ(s.CountTableAllRows("coins"), before + 1);
    EXPECT_EQ(s.CountTableAllRows("no_such_table"), 0);
    EXPECT_TRUE(alerts.sawMessage("计算表格总数失败:no_such_table-"));
}

TEST(SchemaHelpers, AddColumnMapsTypesAndRefusesOddTypes)
{
    TempDataRoot root;
    Database &db = root.context().db();
    db.exec("create table OldTypes (CheckTypeID integer)");
    EXPECT_FALSE(TDBTable::ColumnExists("OldTypes", "PWidth", db));
    EXPECT_TRUE(TDBTable::AddColumn("OldTypes", "PWidth", db, "", "Number"));
    EXPECT_TRUE(TDBTable::AddColumn("OldTypes", "GroupCompany", db, "60", "text"));
    EXPECT_TRUE(TDBTable::AddColumn("OldTypes", "Remark", db, "", "string"));
    EXPECT_TRUE(TDBTable::ColumnExists("oldtypes", "pwidth", db));
    EXPECT_TRUE(TDBTable::ColumnExists("OldTypes", "GroupCompany", db));
    EXPECT_FALSE(TDBTable::AddColumn("OldTypes", "PWidth", db, "", "long"));  // already there
    EXPECT_FALSE(TDBTable::AddColumn("OldTypes", "Evil", db, "", "int); drop table coins; --"));
    EXPECT_TRUE(db.tableExists("coins"));
    EXPECT_FALSE(TDBTable::ColumnExists("NoSuchTable", "x", db));
}

TEST(IniFiles, KeysIgnoreCaseAndChineseIsKeptReadable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Config.ini");
    IniFile ini(path);
    ini.writeString("FM_MAIN", "TOOLBARMAIN", "0");
    ini.writeString("Config", "打印机", "爱普生 LQ-630K");
    EXPECT_EQ(ini.readString("fm_main", "ToolBarMain"), "0");
    IniFile again(path);
    EXPECT_EQ(again.readString("CONFIG", "打印机"), "爱普生 LQ-630K");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.contains("打印机=爱普生 LQ-630K"));
    EXPECT_EQ(again.readInteger("FM_MAIN", "TOOLBARMAIN", 1), 0);
    EXPECT_EQ(again.readInteger("FM_MAIN", "missing", 40), 40);
    EXPECT_EQ(again.readString("Info", "nm", "禾朔"), "禾朔");
}

TEST(IniFiles, ALineBreakInAValueDoesNotCreateAnotherKey)
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath("a.ini"));
    ini.writeString("ERROR", "LASTERROR", "first line\nsecond=line");
    IniFile again(dir.filePath("a.ini"));
    EXPECT_EQ(again.keys("ERROR"), QStringList{"LASTERROR"});
}

TEST(IniFiles, StrayCarriageReturnsBeforeALineEndKeepTheFilesLineEnds)
{
    // A file converted twice: "\r\r\n" ends, or a lone "\r\n" within
    // "\n" ends, must read back as the text it was written as.
    for (const QString text : {QStringLiteral("[Info]\r\r\nnm=禾朔\r\r\n"), QStringLiteral("l\n[i\r1\r\r")}) {
        IniFile first;
        first.parse(text);
        IniFile again;
        again.parse(first.toText());
        EXPECT_EQ(again.toText(), first.toText()) << text.toStdString();
    }
    IniFile ini;
    ini.parse(QStringLiteral("[Info]\r\r\nnm=禾朔\r\r\n"));
    EXPECT_EQ(ini.readString("Info", "nm"), "禾朔");
    EXPECT_EQ(ini.toText(), "[Info]\r\nnm=禾朔\r\n");
}

TEST(IniFiles, WithoutWriteThroughNothingReachesTheDiskUntilFlush)
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath("b.ini"));
    ini.setWriteThrough(false);
    ini.writeString("S", "k", "v");
    EXPECT_FALSE(QFile::exists(dir.filePath("b.ini")));
    ASSERT_TRUE(ini.flush());
    EXPECT_EQ(IniFile(dir.filePath("b.ini")).readString("S", "k"), "v");
}

TEST(IniFiles, AWriteKeepsWhatAnotherProgramChangedMeanwhile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Config.ini");
    IniFile first(path);
    first.writeString("FM_MAIN", "TOOLBARMAIN", "1");
    IniFile second(path);  // a second running copy, or an editor
    second.writeString("Info", "nm", "笺途");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("; kept by hand\n[Vendor]\nSite = http://www.example.cn/\n");
    }
    first.writeString("FM_MAIN", "TOOLBARMAIN", "0");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()),
              "[FM_MAIN]\nTOOLBARMAIN=0\n\n[Info]\nnm=笺途\n; kept by hand\n[Vendor]\nSite = http://www.example.cn/\n");
    EXPECT_EQ(first.readString("vendor", "site"), "http://www.example.cn/");
}

TEST(IniFiles, AFileOfTheEarlierProgramIsReadAsGbk)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Config.ini");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Info]\r\nnm=\xBA\xCC\xCB\xB7\r\n[Config]\r\n\xB4\xF2\xD3\xA1\xBB\xFA=LQ-630K\r\n");  // 禾朔, 打印机
    }
    IniFile ini(path);
    EXPECT_EQ(ini.readString("Info", "nm"), "禾朔");
    ini.writeString("Config", "打印机", "LQ-730K");
    EXPECT_EQ(IniFile(path).readString("Info", "nm"), "禾朔");
    EXPECT_EQ(IniFile(path).readString("Config", "打印机"), "LQ-730K");
}

TEST(DebugFile, NumberedDiagnosticsCountAcrossPrefixes)
{
    QTemporaryDir dir;
    DebugLog log(dir.filePath("Debug.ini"));
    log.DebugOutN("print", "one");
    log.DebugOutN("print", "two");
    log.DebugOutN("print", "three");
    log.DebugOutN("import", "four");
    log.DebugOut("last", "five");
    IniFile ini(dir.filePath("Debug.ini"));
    EXPECT_EQ(ini.readString("debug", "print-1"), "one");
    EXPECT_EQ(ini.readString("debug", "print-2"), "two");
    EXPECT_EQ(ini.readString("debug", "print-3"), "three");
    EXPECT_EQ(ini.readString("debug", "import-4"), "four");
    EXPECT_EQ(ini.readString("debug", "last"), "five");
}

TEST(InstallRecordStore, MissingValuesReadAsEmptyMarkAndUpdateWritesAll)
{
    QTemporaryDir dir;
    InstallRecord record(dir.filePath("user.conf"));
    EXPECT_EQ(record.readRegistryString("RunPath"), "空");
    record.update("/opt/billprint/", "10.6", "/opt/billprint/billprint");
    EXPECT_EQ(record.readRegistryString("RunPath"), "/opt/billprint/");
    EXPECT_EQ(record.readRegistryString("Version"), "10.6");
    EXPECT_EQ(record.readRegistryString("FullPath"), "/opt/billprint/billprint");
}

TEST(VersionText, ModesGiveTwoThreeOrFourNumbers)
{
    EXPECT_EQ(formatVersionText(10, 6, 2, 10, 2), "10.6");
    EXPECT_EQ(formatVersionText(10, 6, 2, 10, 3), "10.6.2");
    EXPECT_EQ(formatVersionText(10, 6, 2, 10, 4), "10.6.2.10");
    EXPECT_EQ(formatVersionText(10, 6, 2, 10, 0), "10.6.2.10");
    EXPECT_EQ(getFileVersionText(2).count('.'), 1);
}

TEST(DataRootFolders, OverrideWinsAndUnwritableFolderFallsBack)
{
    QTemporaryDir dir;
    EXPECT_EQ(DataRoot::resolve(dir.path(), "/usr/bin").folder(), QDir(dir.path()).absolutePath());
    EXPECT_EQ(DataRoot::resolve("", dir.path()).folder(), QDir(dir.path()).absolutePath());
    const DataRoot fallback = DataRoot::resolve("", "/nonexistent/folder/for/billprint");
    EXPECT_NE(fallback.folder(), "/nonexistent/folder/for/billprint");
    EXPECT_TRUE(DataRoot(dir.path()).getRunPath().endsWith('/'));
    EXPECT_TRUE(DataRoot(dir.path()).databasePath().endsWith("/Data/EPData.ini"));
}

// Installed from the package, the program keeps a desk's data in the
// user's data folder, also when root starts it and /usr/bin is writable.
TEST(DataRootFolders, AnInstalledProgramKeepsItsDataInTheUsersDataFolder)
{
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    EXPECT_EQ(DataRoot::resolve("", "/usr/bin").folder(), userFolder);
    EXPECT_EQ(DataRoot::resolve("", "/usr/local/bin").folder(), userFolder);
    EXPECT_EQ(DataRoot::resolve("", "/opt/billprint/bin").folder(), userFolder);
}

TEST(DataRootFolders, ADeskWhoseCommandsKeptDataInTheEarlierUserFolderKeepsUsingIt)
{
    const QString organisation = QCoreApplication::organizationName();
    QCoreApplication::setOrganizationName(QStringLiteral("HeShuo"));
    const QString current = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString earlier = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/billprint";
    QDir(current).removeRecursively();
    QDir(earlier).removeRecursively();
    const auto makeDatabase = [](const QString &folder) {
        QDir().mkpath(folder + "/Data");
        QFile file(DataRoot(folder).databasePath());
        return file.open(QIODevice::WriteOnly);
    };

    EXPECT_EQ(DataRoot::resolve("", "/usr/bin").folder(), QDir::cleanPath(current)) << "nothing anywhere: the new folder";
    ASSERT_TRUE(makeDatabase(earlier));
    EXPECT_EQ(DataRoot::resolve("", "/usr/bin").folder(), QDir::cleanPath(earlier));
    ASSERT_TRUE(makeDatabase(current));
    EXPECT_EQ(DataRoot::resolve("", "/usr/bin").folder(), QDir::cleanPath(current)) << "the desktop's data wins";

    QDir(current).removeRecursively();
    QDir(earlier).removeRecursively();
    QCoreApplication::setOrganizationName(organisation);
}
