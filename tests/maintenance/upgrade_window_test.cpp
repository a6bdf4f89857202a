// 'billprint upgrade' and the upgrade window.
#include "app/lookups.h"
#include "shell/ui/tfm_main.h"
#include "shell/ui/startup.h"
#include "maintenance/ui/tfrm_up2_new_version.h"
#include "old_version_data.h"
#include "test_support.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QLineEdit>
#include <QPushButton>

using namespace billprint;
using namespace billprint::test;

TEST(UpgradeCommand, UpgradesPrintingEveryStepThenSaysItIsCurrent)
{
    OldDataFolder folder;
    const ProgramResult first = runProgram({"upgrade", "--data", folder.dir.path()});
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains("进度:1/150 >> 创建表格...")) << first.out.toStdString();
    EXPECT_TRUE(first.out.contains("进度:150/150    升级完成！"));
    EXPECT_TRUE(first.out.contains("Data/EPData.ini.before-10.6"));
    EXPECT_TRUE(first.out.endsWith("恭喜，升级成功啦！\n"));

    const QByteArray upgraded = fileBytes(folder.databasePath());
    const ProgramResult second = runProgram({"upgrade", "--data", folder.dir.path()});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.out, "当前软件已经是V9.28，无需再升级！\n");
    EXPECT_EQ(fileBytes(folder.databasePath()), upgraded);
}

TEST(UpgradeCommand, RefusesWithoutDatabaseOrWithBadArguments)
{
    QTemporaryDir empty;
    const struct
    {
        QStringList args;
        const char *err;
    } cases[] = {
        {{"upgrade", "--data", empty.path()}, "billprint upgrade: no database in "},
        {{"upgrade", "--force"}, "billprint upgrade: unknown option: --force"},
    };
    for (const auto &c : cases) {
        const ProgramResult r = runProgram(c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.startsWith(c.err)) << r.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(empty.filePath("Data/EPData.ini")));
}

TEST(UpgradeWindow, StartsOnceThenSaysItIsCurrent)
{
    BILLPRINT_SQLITE_FILE_ONLY();
    TempDataRoot root;
    AlertRecorder alerts;
    TfrmUp2NewVersion window(root.context());
    EXPECT_EQ(window.windowTitle(), "禾朔软件升级包");
    EXPECT_EQ(window.size(), QSize(580, 430));
    window.btStartUpdateClick();
    EXPECT_EQ(alerts.messages(), QStringList{"恭喜，升级成功啦！"});
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(window.progressLabel()->text(), "进度:150/150    升级完成！");
    EXPECT_EQ(root.context().settings().getConfigByname("version"), "10.6");

    TfrmUp2NewVersion again(root.context());
    again.btStartUpdateClick();
    EXPECT_TRUE(alerts.sawMessage("当前软件已经是V9.28，无需再升级！"));
    EXPECT_FALSE(again.startButton()->isEnabled());
}

TEST(UpgradeWindow, EnvironmentTestOnlyReports)
{
    TempDataRoot root;
    AlertRecorder alerts;
    QTemporaryDir install;
    QFile program(install.filePath("old.exe"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();
    TfrmUp2NewVersion window(root.context());
    const struct
    {
        QString file;
        const char *message;
    } cases[] = {
        {"", "请选择禾朔快递打印软件的主运行程序(例如:D:/禾朔打印/禾朔V927.exe)~"},
        {install.filePath("missing.exe"), "主程序文件无效~"},
        {install.filePath("old.exe"), "主程序数据文件无效，请重新选择符合完整的主程序文件~"},
    };
    for (const auto &c : cases) {
        alerts.clear();
        window.programFileBox()->setText(c.file);
        window.btEnvTestClick();
        EXPECT_EQ(alerts.messages(), QStringList{c.message}) << c.message;
    }
    QDir(install.path()).mkpath("data");
    QFile database(install.filePath("data/EPData.ini"));
    ASSERT_TRUE(database.open(QIODevice::WriteOnly));
    database.close();
    alerts.clear();
    window.programFileBox()->setText(install.filePath("old.exe"));
    window.btEnvTestClick();
    EXPECT_EQ(alerts.messages(), QStringList{"环境OK，可以升级~"});
    EXPECT_TRUE(root.context().settings().getConfigByname("version").isEmpty());
}

TEST(UpgradeWindow, HiddenMenuCommandHasItsWindow)
{
    TempDataRoot root;
    Tfm_Main frame(root.context(), installAllParts);
    EXPECT_TRUE(frame.hasCommandHandler("  升级到9.28"));
}

TEST(UpgradeWindow, AQueryMissingTheCommonColumnOpensItAndTheUpgradeAddsTheColumn)
{
    BILLPRINT_SQLITE_FILE_ONLY();
    TempDataRoot root;
    AlertRecorder alerts;
    Database &db = root.context().db();
    ASSERT_TRUE(db.exec("alter table CKTypeTable drop column IsCommon"));
    Tfm_Main frame(root.context(), installAllParts);
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto *window = qobject_cast<TfrmUp2NewVersion *>(QApplication::activeModalWidget())) {
            shown = window->windowTitle();
            window->btStartUpdateClick();
        }
    });
    EXPECT_TRUE(Lookups(db).loadCommonTypeLastNameList("快递单").isEmpty());
    EXPECT_EQ(shown, "禾朔软件升级包");
    EXPECT_EQ(alerts.messages(), QStringList({"恭喜，升级成功啦！", "请尝试重新启动软件！"}));
    EXPECT_FALSE(Lookups(db).loadCommonTypeLastNameList("快递单").isEmpty());
}

// An earlier version's data is a desk's file: a shared database is told
// so by the menu command (no window to press in), the window and the
// command, and nothing is changed.
TEST(UpgradeWindow, ASharedDatabaseIsNeverUpgradedInPlace)
{
    if (!testsOnSharedDatabase())
        GTEST_SKIP() << "about a shared database";
    const QString refusal = "共享数据库不在这里升级。请在一台电脑上升级本机的数据，再用 billprint db copy 复制到服务器。";
    TempDataRoot root;
    AlertRecorder alerts;
    Tfm_Main frame(root.context(), installAllParts);
    bool windowOpened = false;
    QTimer closer;
    closer.setSingleShot(true);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget *window = QApplication::activeModalWidget()) {
            windowOpened = true;
            window->close();
        }
    });
    closer.start(0);
    frame.runCommand("  升级到9.28");
    EXPECT_FALSE(windowOpened);
    EXPECT_EQ(alerts.messages(), QStringList{refusal});

    alerts.clear();
    TfrmUp2NewVersion window(root.context());
    window.btStartUpdateClick();
    EXPECT_EQ(alerts.messages(), QStringList{refusal});
    EXPECT_FALSE(window.startButton()->isEnabled());
    EXPECT_TRUE(root.context().settings().getConfigByname("version").isEmpty());

    const ProgramResult command = runProgram({"upgrade", "--data", root.path()});
    EXPECT_EQ(command.exitCode, 2);
    EXPECT_EQ(command.err, "billprint upgrade: " + refusal + "\n");
    EXPECT_TRUE(root.context().settings().getConfigByname("version").isEmpty());
}
