// The main window's commands that work on their own: system options, tool
// bar, the one-bill-window rule, cache clearing, exit and the first tick.
#include "addressbook/default_drawer.h"
#include "app/cache_cleaner.h"
#include "app/system_pictures.h"
#include "app/ui/dialog_buttons.h"
#include "shell/ui/tfm_about.h"
#include "shell/ui/tfm_main.h"
#include "test_support.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

void touch(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("x");
}

QWidget *makeBillWindow(const QString &title)
{
    auto *w = new QLabel(title);
    w->setWindowTitle(title);
    return w;
}

// A bill window whose bill could not be saved: it will not close.
class RefusingBillWindow : public QLabel
{
protected:
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

// Makes every write of the settings table fail.
void lockSettingsTable(Database &db)
{
    ASSERT_TRUE(refuseChanges(db, "settings_locked", "update", "configtable", "locked"));
}

} // namespace

TEST(MainWindow, SystemOptionToggledTwiceFollowsTheStoredValue)
{
    TempDataRoot root;
    Tfm_Main window(root.context());
    QAction *item = window.findAction("打印前弹出打印机配置窗口");
    ASSERT_NE(item, nullptr);
    SystemSettings &s = root.context().settings();
    EXPECT_EQ(s.getConfigByname(SettingKey::PrinterDialogFirst), "no");
    EXPECT_FALSE(item->isChecked());

    item->trigger();
    EXPECT_EQ(s.getConfigByname(SettingKey::PrinterDialogFirst), "yes");
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(root.context().popPrinterDialog);

    item->trigger();
    EXPECT_EQ(s.getConfigByname(SettingKey::PrinterDialogFirst), "no");
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(root.context().popPrinterDialog);
}

TEST(MainWindow, SwitchingTheBackgroundOffAndDecliningRestartKeepsRunning)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Tfm_Main window(root.context());
    int starts = 0;
    window.startNewInstance = [&] { return ++starts > 0; };
    QAction *item = window.findAction("启用系统背景图");
    ASSERT_TRUE(item->isChecked());  // the delivered database has it on
    alerts.answerNext(AlertAnswer::No);
    item->trigger();
    EXPECT_EQ(root.context().settings().getConfigByname(SettingKey::BackgroundOn), "no");
    EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(alerts.sawMessage("取消背景图需要重启软件"));
    EXPECT_TRUE(alerts.sawMessage("确定要重开软件吗?"));
    EXPECT_EQ(starts, 0);

    item->trigger();  // switching it on again needs no restart
    EXPECT_EQ(root.context().settings().getConfigByname(SettingKey::BackgroundOn), "yes");
    EXPECT_TRUE(item->isChecked());
}

TEST(MainWindow, HiddenToolBarStaysHiddenAtNextStart)
{
    TempDataRoot root;
    {
        Tfm_Main window(root.context());
        window.show();
        EXPECT_TRUE(window.toolBar()->isVisible());
        window.findAction("显示/隐藏工具栏(&L)")->trigger();
        EXPECT_FALSE(window.toolBar()->isVisible());
    }
    IniFile config(root.context().dataRoot().configIniPath());
    EXPECT_EQ(config.readString("FM_MAIN", "TOOLBARMAIN"), "0");
    Tfm_Main next(root.context());
    next.show();
    EXPECT_FALSE(next.toolBar()->isVisible());
    next.findAction("显示/隐藏工具栏(&L)")->trigger();
    EXPECT_TRUE(next.toolBar()->isVisible());
}

TEST(MainWindow, OnlyOneBillWindowButTheCashSlipOpensBeside)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Tfm_Main window(root.context());
    window.registerEntryWindow("支票", [](MainFrame &) { return makeBillWindow("支票"); });
    window.registerEntryWindow("进账单", [](MainFrame &) { return makeBillWindow("进账单"); });
    window.registerEntryWindow("缴款单", [](MainFrame &) { return makeBillWindow("缴款单"); });

    window.findAction("支票")->trigger();
    ASSERT_EQ(window.mdiArea()->subWindowList().size(), 1);

    window.findAction("进账单")->trigger();
    EXPECT_TRUE(alerts.sawMessage("请先关闭打开的单据！"));
    EXPECT_EQ(alerts.alerts().back().caption, "提示");
    EXPECT_EQ(window.mdiArea()->subWindowList().size(), 1);

    window.findAction("现金缴款单")->trigger();
    EXPECT_EQ(window.mdiArea()->subWindowList().size(), 2);

    window.findAction("关闭所有填开单据")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.mdiArea()->subWindowList().isEmpty());
    alerts.clear();
    window.findAction("进账单")->trigger();
    EXPECT_TRUE(alerts.alerts().empty());
    EXPECT_EQ(window.mdiArea()->subWindowList().size(), 1);
}

TEST(MainWindow, CacheClearingKeepsSystemAndUsedPictures)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Database &db = root.context().db();
    const QString images = root.context().dataRoot().imageFolder();
    for (const char *name : {"Sys_boot.jpg", "sys_bg.jpg", "my_SYS_logo.jpg", "zp1.jpg", "zp99.jpg", "old.JPG", "notes.txt"})
        touch(images + name);
    db.exec("insert into CKTypeTable (CheckTypeID, TypeName, TypeFirstName, ImgFile, IniFile) values (901, '支票（测试行）', '支票', 'zp1.jpg', '901.ini')");
    db.exec("insert into CKTypeTable (CheckTypeID, TypeName, TypeFirstName) values (902, '发票（旧）', '发票')");
    db.exec("insert or ignore into NameDict (CheckTypeName, CtlName) values ('支票', 'ZDJEXX')");
    db.exec("insert into NameDict (CheckTypeName, CtlName) values ('旧票', 'ZDX')");
    db.exec("insert into CkControl (CheckTypeID, CtlName) values (901, 'zdjexx')");
    db.exec("insert into CkControl (CheckTypeID, CtlName) values (901, 'ZDGONE')");
    db.exec("insert into CkControl (CheckTypeID, CtlName) values (909, 'ZDJEXX')");
    db.exec("insert into DMTable (CheckTypeID, DMName, DMValue) values (0, '用途', '货款')");
    db.exec("insert into DMTable (CheckTypeID, DMName, DMValue) values (909, 'cfgDateChinese', '1')");

    Tfm_Main window(root.context());
    window.findAction("  清除软件缓存文件")->trigger();
    EXPECT_TRUE(alerts.sawMessage("缓存清除成功！"));

    // The delivered database has rows of its own; look only at ours.
    EXPECT_EQ(db.scalar("select count(*) from NameDict where CheckTypeName='旧票'").toInt(), 0);
    EXPECT_EQ(db.scalar("select count(*) from NameDict where CheckTypeName='支票' and CtlName='ZDJEXX'").toInt(), 1);
    EXPECT_EQ(db.scalar("select count(*) from CKTypeTable where CheckTypeID=902").toInt(), 0);
    EXPECT_EQ(db.scalar("select IniFile from CKTypeTable where CheckTypeID=901").toString(), "");
    EXPECT_EQ(db.scalar("select count(*) from CKTypeTable where IniFile<>''").toInt(), 0);
    EXPECT_EQ(db.scalar("select count(*) from CkControl where upper(CtlName)='ZDGONE'").toInt(), 0);
    EXPECT_EQ(db.scalar("select count(*) from CkControl where CheckTypeID=909").toInt(), 0);
    EXPECT_EQ(db.scalar("select count(*) from CkControl where CheckTypeID=901 and upper(CtlName)='ZDJEXX'").toInt(), 1);
    EXPECT_EQ(db.scalar("select count(*) from DMTable where CheckTypeID=909").toInt(), 0);
    EXPECT_GE(db.scalar("select count(*) from DMTable where CheckTypeID=0 and DMName='用途' and DMValue='货款'").toInt(), 1);
    for (const char *kept : {"Sys_boot.jpg", "sys_bg.jpg", "my_SYS_logo.jpg", "zp1.jpg", "notes.txt"})
        EXPECT_TRUE(QFile::exists(images + kept)) << kept;
    for (const char *gone : {"zp99.jpg", "old.JPG"})
        EXPECT_FALSE(QFile::exists(images + gone)) << gone;
}

TEST(MainWindow, CacheClearingWithABillOpenClosesIt)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Tfm_Main window(root.context());
    window.registerEntryWindow("支票", [](MainFrame &) { return makeBillWindow("支票"); });
    window.openEntryWindow("支票");
    window.clearCache();
    EXPECT_TRUE(alerts.sawMessage("缓存清除需要关闭开单界面重新打开！"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.mdiArea()->subWindowList().isEmpty());
}

TEST(MainWindow, ExitAsksWithTheBrandAndClosesOnlyOnYes)
{
    TempDataRoot root;
    AlertRecorder alerts;
    root.context().config().writeString("Info", "nm", "笺途");
    Tfm_Main window(root.context());
    window.show();
    window.askExit();
    EXPECT_EQ(alerts.alerts().back().message, "真的要退出【笺途票据打印】系统吗？");
    EXPECT_EQ(alerts.alerts().back().caption, "确认");
    EXPECT_TRUE(window.isVisible());
    alerts.answerNext(AlertAnswer::Yes);
    window.askExit();
    EXPECT_FALSE(window.isVisible());
}

TEST(MainWindow, FirstTickEndsTheProgramWhenNobodyLogsIn)
{
    TempDataRoot root;
    root.context().settings().setOn(SettingKey::LoginRequired, true);
    Tfm_Main window(root.context());
    window.show();
    int asked = 0;
    window.loginHandler = [&] { ++asked; return false; };
    int webChecks = 0;
    window.webInfoCheck = [&] { ++webChecks; };
    window.onClockTick();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.statusText(3).startsWith(" 当前时间："));
    window.onClockTick();
    window.onClockTick();
    EXPECT_EQ(webChecks, 1);  // once, on the second tick
}

TEST(MainWindow, FirstUseTextCoversTheWorkAreaWithoutSplittingIt)
{
    TempDataRoot root;
    ensureSystemPictures(root.context().dataRoot().imageFolder());
    Tfm_Main window(root.context());
    window.registerEntryWindow("支票", [](MainFrame &) { return makeBillWindow("支票"); });
    window.show();
    QWidget *cheque = window.openEntryWindow("支票");
    ASSERT_TRUE(window.backgroundPictureShown());
    const auto *area = window.findChild<QMdiArea *>();
    ASSERT_NE(area, nullptr);
    const QSize areaSize = area->size();
    window.findAction("第一次用")->trigger();
    EXPECT_TRUE(window.firstUseText()->isVisible());
    // It covers the picture; the work area is not split to make room.
    EXPECT_EQ(area->size(), areaSize);
    EXPECT_EQ(window.firstUseText()->geometry(), area->geometry());
    EXPECT_FALSE(window.backgroundPictureShown());
    EXPECT_TRUE(cheque->isVisible());
    EXPECT_TRUE(window.firstUseText()->toPlainText().startsWith("  第一次使用软件【3步走】："));
    window.findAction("第一次用")->trigger();
    EXPECT_FALSE(window.firstUseText()->isVisible());
    EXPECT_TRUE(window.backgroundPictureShown());
    EXPECT_TRUE(window.sidePanel()->isVisible());
}

TEST(MainWindow, FailuresAreToldOnceAndNeverFollowedBySuccess)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Tfm_Main window(root.context());
    root.context().db().exec("drop table NameDict");
    window.clearCache();
    EXPECT_EQ(alerts.messages().size(), 1);
    EXPECT_TRUE(alerts.sawMessage("清除软件缓存失败！"));

    alerts.clear();
    lockSettingsTable(root.context().db());
    window.findAction("启用系统背景图")->trigger();  // on -> off cannot be stored
    EXPECT_EQ(alerts.messages().size(), 1);
    EXPECT_TRUE(alerts.sawMessage("保存系统选项失败："));
    EXPECT_TRUE(window.findAction("启用系统背景图")->isChecked());

    alerts.clear();
    window.show();
    window.startNewInstance = [] { return false; };
    alerts.answerNext(AlertAnswer::Yes);
    window.restartProgram();
    EXPECT_EQ(alerts.messages().size(), 2);  // the question, then the failure
    EXPECT_TRUE(alerts.sawMessage("重启软件失败"));
    EXPECT_TRUE(window.isVisible());
}

TEST(MainWindow, ExitLeavesTheProgramRunningWhileABillWindowRefusesToClose)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Tfm_Main window(root.context());
    window.registerEntryWindow("支票", [](MainFrame &) { return new RefusingBillWindow; });
    window.show();
    window.openEntryWindow("支票");
    alerts.answerNext(AlertAnswer::Yes);
    window.askExit();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.mdiArea()->subWindowList().size(), 1);
}

TEST(MainWindow, ACopyRunFromAnArchiveLeavesTheInstallRecordAlone)
{
    QTemporaryDir dir;
    QString error;
    auto context = AppContext::open(DataRoot(dir.filePath("Rar$EXa0.123")), &error, dir.filePath("user.conf"));
    ASSERT_TRUE(context) << error.toStdString();
    Tfm_Main window(*context);
    EXPECT_EQ(context->installRecord().readRegistryString("RunPath"), "空");
}

TEST(MainWindow, StartUpFillsCaptionStatusAndInstallRecord)
{
    TempDataRoot root;
    Tfm_Main window(root.context());
    EXPECT_EQ(window.windowTitle(), "禾朔票据打印V" + root.context().versionText());
    EXPECT_EQ(window.statusText(1), "系统已就绪");
    EXPECT_EQ(window.statusText(2), "建议分辨率:1024x768以上");
    EXPECT_EQ(window.statusText(5), QCoreApplication::applicationFilePath());
    EXPECT_EQ(root.context().installRecord().readRegistryString("RunPath"), root.context().getRunPath());
    EXPECT_EQ(root.context().installRecord().readRegistryString("Version"), root.context().versionText());
}

TEST(MainWindow, CaptionAndAboutNameTheVendorSiteOnlyWhenOneIsSet)
{
    TempDataRoot root;
    root.context().config().writeString("Vendor", "Site", "http://www.example.cn/");
    Tfm_Main window(root.context());
    EXPECT_EQ(window.windowTitle(), "禾朔票据打印V" + root.context().versionText()
                                        + "- 欢迎登陆官方网站 http://www.example.cn/");
    EXPECT_TRUE(Tfm_About("10.6.0.1", "http://www.example.cn/").contactText().endsWith("\n网址：http://www.example.cn/"));
    EXPECT_FALSE(Tfm_About("10.6.0.1", "").contactText().contains("网址"));
}

TEST(MainWindow, DesignModeWithoutABillWindowExplainsWhatToDo)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Tfm_Main window(root.context());
    bool designerOpened = false;
    window.setCommandHandler("模板设计", [&] { designerOpened = true; });
    window.designMode();
    EXPECT_TRUE(alerts.sawMessage("请先进入单据的填开界面"));
    EXPECT_FALSE(designerOpened);
}

TEST(MainWindow, DefaultDrawerIsLoadedOnlyWhenTheOptionIsOn)
{
    TempDataRoot root;
    Database &db = root.context().db();
    db.exec("insert into ckPersonalInfoTable (全称, 单位类型, 分组) values (?, ?, ?)",
            {"北京禾朔科技有限公司", "我方单位", "默认出票人"});
    {
        Tfm_Main window(root.context());
        EXPECT_FALSE(heldDefaultDrawer(root.context()).has_value());
    }
    root.context().settings().setOn(SettingKey::DefaultDrawerOn, true);
    Tfm_Main window(root.context());
    ASSERT_TRUE(heldDefaultDrawer(root.context()).has_value());
    EXPECT_EQ(heldDefaultDrawer(root.context())->fullName(), "北京禾朔科技有限公司");
}

TEST(Dialogs, EnterPressesTheFocusedButtonButNotFromAnEditBox)
{
    installEnterPressesFocusedButton();
    QDialog dialog;
    auto *edit = new QLineEdit(&dialog);
    QPushButton *save = namedButton(&dialog, "btSave", "保存");
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(save);
    int clicks = 0;
    QObject::connect(save, &QPushButton::clicked, [&] { ++clicks; });
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    for (QWidget *target : {static_cast<QWidget *>(edit), static_cast<QWidget *>(save)}) {
        target->setFocus();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
    }
    EXPECT_EQ(clicks, 1);
}

TEST(MainWindow, OutsideProgramsThatCannotStartAreTold)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Tfm_Main window(root.context());
    QStringList started;
    window.startProgram = [&](const QString &program, const QStringList &) {
        started << program;
        return false;
    };
    window.runCommand("  计算器 (&U)");
    window.runCommand("  锁定电脑屏幕");
    EXPECT_EQ(alerts.messages(), QStringList({"系统计算器调用失败！", "锁定电脑屏幕失败！"}));
}
