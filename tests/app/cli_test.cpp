// The program as scripts start it.
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace billprint::test;

TEST(CommandLine, VersionAndHelp)
{
    ProgramResult version = runProgram({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d+\\n$").match(version.out).hasMatch()) << version.out.toStdString();
    ProgramResult help = runProgram({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--data DIR"));
    ProgramResult bad = runProgram({"--no-such-option"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains("--no-such-option"));
}

TEST(CommandLine, QuitAfterStartupCreatesTheDatabaseAndKeepsItsRows)
{
    QTemporaryDir dir;
    const QString root = dir.filePath("root");
    ProgramResult first = runProgram({"--data", root, "--quit-after-startup"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    // The installation record lands in the run's own settings folder.
    EXPECT_TRUE(QFile::exists(first.configFolder() + "/HeShuo/JianTu.conf"));
    const QString dbPath = root + "/Data/EPData.ini";
    ASSERT_TRUE(QFile::exists(dbPath));
    EXPECT_TRUE(QFile::exists(root + "/Image/Sys_boot.jpg"));
    EXPECT_TRUE(QFile::exists(root + "/Image/sys_bg.jpg"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "cli");
        db.setDatabaseName(dbPath);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("select count(*) from sqlite_master where type='table' and name not like 'sqlite_%'"));
        q.next();
        EXPECT_EQ(q.value(0).toInt(), 17);
        ASSERT_TRUE(q.exec("insert into coins (币种, 缩写) values ('测试币', 'T')"));
        db.close();
    }
    QSqlDatabase::removeDatabase("cli");

    ProgramResult second = runProgram({"--data", root, "--quit-after-startup"});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "cli2");
        db.setDatabaseName(dbPath);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("select count(*) from coins where 币种='测试币'"));
        q.next();
        EXPECT_EQ(q.value(0).toInt(), 1);
        db.close();
    }
    QSqlDatabase::removeDatabase("cli2");
}

TEST(CommandLine, DatabaseThatIsNotADatabaseStopsWithAMessage)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("Data"));
    const QString dbPath = dir.filePath("Data/EPData.ini");
    {
        QFile f(dbPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[old]\nkey=value\n");
    }
    ProgramResult run = runProgram({"--data", dir.path(), "--quit-after-startup"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("EPData.ini")) << run.err.toStdString();
    QFile f(dbPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[old]\nkey=value\n"));
}

TEST(CommandLine, DataRootUnderAFileCannotBeUsed)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("plainfile"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ProgramResult run = runProgram({"--data", dir.filePath("plainfile/root"), "--quit-after-startup"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(run.err.isEmpty());
}

TEST(CommandLine, DataRootInsideAnArchiveFolderIsRefused)
{
    QTemporaryDir dir;
    ProgramResult run = runProgram({"--data", dir.filePath("Rar$EXa0.123"), "--quit-after-startup"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("请不要从压缩包中直接运行软件")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(run.configFolder() + "/HeShuo/JianTu.conf"));  // not taken for the installation
}

TEST(CommandLine, ConvertPrintsOneResultPerCall)
{
    ProgramResult capitals = runProgram({"convert", "capitals", "1234.56"});
    EXPECT_EQ(capitals.exitCode, 0);
    EXPECT_EQ(capitals.out, "壹仟贰佰叁拾肆元伍角陆分\n");
    ProgramResult negative = runProgram({"convert", "capitals", "--", "-56.3"});
    EXPECT_EQ(negative.out, "负伍拾陆元叁角整\n");
    ProgramResult digits = runProgram({"convert", "digits", "123.45", "5", "0.00"});
    EXPECT_EQ(digits.out, "零零壹贰叁肆伍\n");
    ProgramResult broken = runProgram({"convert", "break", "3", "ab中文字cd"});
    EXPECT_EQ(broken.out, "ab中文\n字cd\n");
    ProgramResult bad = runProgram({"convert", "capitals", "12x"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_EQ(bad.err.count('\n'), 1);
    ProgramResult missing = runProgram({"convert", "digits", "1"});
    EXPECT_EQ(missing.exitCode, 2);
}
