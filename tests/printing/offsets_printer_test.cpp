// Choosing, locking and adapting the bill printer, the printer dialog
// before a run, and the main window's printer commands.
#include "app/app_context.h"
#include "app/ini_file.h"
#include "shell/ui/tfm_main.h"
#include "printing/ui/install_printer_settings.h"
#include "printing/ui/tfm_lock_printer.h"
#include "printing/ui/tfrm_print_offset.h"
#include "printing/ui/tfrm_printer_param.h"
#include "offsets_fixtures.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>

using namespace billprint;
using namespace billprint::test;

using PrinterChoice = OffsetsTest;

TEST_F(PrinterChoice, SelectsTheInstalledPrinterWhateverTheLetterCase)
{
    installPrinters({"HP-LaserJet", "EPSON-LQ-630K"});
    EXPECT_TRUE(setDefaultPrinter(ctx(), "epson-lq-630k"));
    EXPECT_EQ(BillPrinter::selectedName(), "EPSON-LQ-630K");

    // A printer gone since start-up is not found; the selection stays.
    EXPECT_FALSE(setDefaultPrinter(ctx(), "OKI-5860"));
    EXPECT_EQ(BillPrinter::selectedName(), "EPSON-LQ-630K");
}

TEST_F(PrinterChoice, ABlankNameTakesTheLockedPrinterOrLeavesTheSystemDefault)
{
    installPrinters({"HP-LaserJet", "EPSON-LQ-630K"});
    EXPECT_FALSE(setDefaultPrinter(ctx(), "  "));
    EXPECT_EQ(BillPrinter::selectedName(), "");  // the system's default printer

    ASSERT_TRUE(ctx().settings().setConfigByname("DefaultPrinter", "hp-laserjet"));
    EXPECT_TRUE(setDefaultPrinter(ctx(), ""));
    EXPECT_EQ(BillPrinter::selectedName(), "HP-LaserJet");
}

TEST_F(PrinterChoice, StartUpFillsThePrinterListAndSelectsTheLockedOne)
{
    ASSERT_TRUE(ctx().settings().setConfigByname("DefaultPrinter", "EPSON-LQ-630K"));
    BillPrinter::setPrinterSource([] { return QStringList{"HP-LaserJet", "EPSON-LQ-630K"}; });
    Tfm_Main main(ctx(), installPrinterSettings);
    EXPECT_EQ(ctx().printerNames, (QStringList{"HP-LaserJet", "EPSON-LQ-630K"}));
    EXPECT_EQ(BillPrinter::selectedName(), "EPSON-LQ-630K");
}

TEST_F(PrinterChoice, ThePrinterDialogSetsThePrintReadyFlag)
{
    installPrinters({"EPSON-LQ-630K"});
    int answer = QDialog::Accepted;
    int shown = 0;
    setPrinterDialogRunner([&](QPrinter &, QWidget *) {
        ++shown;
        return answer;
    });
    ctx().printReady = false;
    EXPECT_EQ(showPrinterSetup(ctx(), nullptr), PrinterSetupResult::Confirmed);
    EXPECT_TRUE(ctx().printReady);

    answer = QDialog::Rejected;
    EXPECT_EQ(showPrinterSetup(ctx(), nullptr), PrinterSetupResult::Cancelled);
    EXPECT_FALSE(ctx().printReady);

    // A dialog that cannot open leaves the flag as it was.
    answer = -1;
    EXPECT_EQ(showPrinterSetup(ctx(), nullptr), PrinterSetupResult::Failed);
    EXPECT_FALSE(ctx().printReady);
    EXPECT_EQ(alerts.messages(), QStringList{"打开打印机设置对话框出错，请确认打印机是否可用！"});
    EXPECT_EQ(alerts.alerts().front().caption, "提示");
    EXPECT_EQ(shown, 3);
}

TEST_F(PrinterChoice, ThePrinterSetupCommandConfirmsInsteadOfPrinting)
{
    installPrinters({"EPSON-LQ-630K"});
    Tfm_Main main(ctx(), installPrinterSettings);
    QString confirm;
    whileModalOpen([&] { main.runCommand(PrinterCommand::PrinterSetup); },
                   [&](QWidget *dialog) {
                       EXPECT_TRUE(dialog->isVisible());
                       EXPECT_EQ(dialog->windowTitle(), "打印机设置");
                       if (auto *buttons = dialog->findChild<QDialogButtonBox *>())
                           if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
                               confirm = ok->text();
                   });
    EXPECT_EQ(confirm, "确定");  // the dialog sets the printer up; it prints nothing
}

TEST_F(PrinterChoice, WithoutPrintersThePrinterDialogSaysSo)
{
    installPrinters({});
    bool shown = false;
    setPrinterDialogRunner([&](QPrinter &, QWidget *) {
        shown = true;
        return int(QDialog::Accepted);
    });
    ctx().printReady = true;
    EXPECT_EQ(showPrinterSetup(ctx(), nullptr), PrinterSetupResult::NoPrinter);
    EXPECT_FALSE(shown);
    EXPECT_TRUE(ctx().printReady);
    EXPECT_EQ(alerts.messages(), QStringList{"你需要安装打印机才能打印！"});
    EXPECT_EQ(alerts.alerts().front().caption, "错误");
}

using LockPrinter = OffsetsTest;

TEST_F(LockPrinter, ShowsTheLockedPrinterByItsExactName)
{
    installPrinters({"HP-LaserJet", "EPSON-LQ-630K"});
    ASSERT_TRUE(ctx().settings().setConfigByname("DefaultPrinter", "EPSON-LQ-630K"));
    TfmLockPrinter window(ctx());
    EXPECT_EQ(window.printerBox()->currentText(), "EPSON-LQ-630K");
    EXPECT_TRUE(window.lockButton()->isEnabled());

    ASSERT_TRUE(ctx().settings().setConfigByname("DefaultPrinter", "epson-lq-630k"));
    TfmLockPrinter other(ctx());
    EXPECT_EQ(other.printerBox()->currentText(), "");
    EXPECT_FALSE(other.lockButton()->isEnabled());
    other.printerBox()->setCurrentIndex(0);
    EXPECT_TRUE(other.lockButton()->isEnabled());
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(LockPrinter, LockingStoresAndSelectsThePrinter)
{
    installPrinters({"HP-LaserJet", "EPSON-LQ-630K"});
    TfmLockPrinter window(ctx());
    EXPECT_FALSE(window.lockChosenPrinter());
    EXPECT_EQ(alerts.messages(), QStringList{"请选择票据打印机！"});

    alerts.clear();
    window.printerBox()->setCurrentText("HP-LaserJet");
    window.lockButton()->click();
    EXPECT_EQ(alerts.messages(), QStringList{"默认票据打印机设置成功！"});
    EXPECT_EQ(ctx().settings().getConfigByname("DefaultPrinter"), "HP-LaserJet");
    EXPECT_EQ(BillPrinter::selectedName(), "HP-LaserJet");
    EXPECT_EQ(window.currentPrinterLabel()->text(), "当前票据打印机：HP-LaserJet");
}

TEST_F(LockPrinter, WithoutPrintersTheWindowSaysSoAndOffersNothing)
{
    installPrinters({});
    TfmLockPrinter window(ctx());
    EXPECT_EQ(alerts.messages(), QStringList{"你需要安装打印机才能打印！"});
    EXPECT_FALSE(window.adaptButton()->isEnabled());
    EXPECT_FALSE(window.lockButton()->isEnabled());
    EXPECT_EQ(window.printerBox()->count(), 0);
}

TEST_F(LockPrinter, AdaptationOpensForTheChosenPrinterOnly)
{
    installPrinters({"HP-LaserJet", "EPSON-LQ-630K"});
    TfmLockPrinter window(ctx());
    window.adaptChosenPrinter();
    EXPECT_EQ(alerts.messages(), QStringList{"请选择要固定的票据打印机！"});

    window.printerBox()->setCurrentText("EPSON-LQ-630K");
    window.show();
    whileModalOpen([&] { window.adaptButton()->click(); },
                   [](QWidget *modal) {
                       auto *param = qobject_cast<TfrmPrinterParam *>(modal);
                       ASSERT_NE(param, nullptr);
                       EXPECT_EQ(param->printerBox()->currentText(), "EPSON-LQ-630K");
                       EXPECT_FALSE(param->printerBox()->isEnabled());
                   });
    EXPECT_FALSE(window.isVisible());  // closes after the adaptation
}

class AdaptationWindow : public OffsetsTest
{
protected:
    AdaptationWindow()
    {
        installPrinters({"HP-LaserJet", "EPSON-LQ-630K"});
        IniFile &ini = ctx().config();
        ini.writeString("PrinterWeKnow", "printers", "EPSON LQ-630K,映美FP-312K");
        ini.writeString("PrinterWeKnow", "default.EPSON LQ-630K.x", "-20");
        ini.writeString("PrinterWeKnow", "default.EPSON LQ-630K.y", "35");
        ini.writeString("PrinterWeKnow", "default.EPSON LQ-630K.board", "15mm");
        ini.writeString("PrinterWeKnow", "default.EPSON LQ-630K.d", "纵向");
        ini.writeString("PrinterWeKnow", "default.映美FP-312K.x", "12");
        ini.writeString("PrinterWeKnow", "default.映美FP-312K.y", "-8");
        ini.writeString("PrinterWeKnow", "default.映美FP-312K.board", "左侧靠齐");
        ini.writeString("PrinterWeKnow", "default.映美FP-312K.d", "横向");
        addTemplate(1, QStringLiteral("支票（工行）"), true, 5, 5, 0);
        addTemplate(2, QStringLiteral("支票（停用）"), false, 7, 7, 0);
    }
};

TEST_F(AdaptationWindow, ShowsTheFirstModelAndTheStoredAdaptation)
{
    ctx().config().writeString("printeruse", "printers", "我的打印机");
    ctx().config().writeString("printeruse", "我的打印机.x", "-44");
    ctx().config().writeString("printeruse", "我的打印机.y", "");
    ctx().config().writeString("printeruse", "我的打印机.d", "横向");
    ctx().config().writeString("printeruse", "我的打印机.board", "中间");
    TfrmPrinterParam window(ctx());
    EXPECT_EQ(window.modelBox()->count(), 2);
    EXPECT_EQ(window.modelXEdit()->text(), "-20");
    EXPECT_EQ(window.modelBoardEdit()->text(), "15mm");
    EXPECT_EQ(window.modelDirectionEdit()->text(), "纵向");
    EXPECT_EQ(window.adaptationNameEdit()->text(), "我的打印机");
    EXPECT_EQ(window.xBox()->value(), -44);
    EXPECT_EQ(window.yBox()->value(), 0);
    EXPECT_EQ(window.directionBox()->currentText(), "横向");
    EXPECT_EQ(window.boardEdit()->text(), "中间");
    EXPECT_TRUE(window.printerBox()->isEnabled());
    EXPECT_TRUE(window.modelPicture()->pixmap().isNull());
}

TEST_F(AdaptationWindow, ShowsThePictureOfAModel)
{
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(Qt::darkGray);
    ASSERT_TRUE(picture.save(ctx().dataRoot().imageFolder() + "lq630k.jpg", "JPG"));
    ctx().config().writeString("PrinterWeKnow", "default.映美FP-312K.img", "image\\lq630k.jpg");
    TfrmPrinterParam window(ctx());
    window.loadModel("映美FP-312K");
    EXPECT_FALSE(window.modelPicture()->pixmap().isNull());
    window.loadModel("EPSON LQ-630K");
    EXPECT_TRUE(window.modelPicture()->pixmap().isNull());
}

TEST_F(AdaptationWindow, ChoosingAModelCopiesItsValues)
{
    TfrmPrinterParam window(ctx(), "HP-LaserJet");
    window.chooseModel("映美FP-312K");
    EXPECT_EQ(window.modelXEdit()->text(), "12");
    EXPECT_EQ(window.adaptationNameEdit()->text(), "HP-LaserJet");
    EXPECT_EQ(window.xBox()->value(), 12);
    EXPECT_EQ(window.yBox()->value(), -8);
    EXPECT_EQ(window.directionBox()->currentText(), "横向");
    EXPECT_EQ(window.boardEdit()->text(), "左侧靠齐");
}

TEST_F(AdaptationWindow, ApplyingReachesEveryTemplateAndStoresTheAdaptation)
{
    TfrmPrinterParam window(ctx(), "EPSON-LQ-630K");
    window.chooseModel("映美FP-312K");

    // Declining changes nothing.
    EXPECT_FALSE(window.applyToAllTemplates());
    EXPECT_EQ(alerts.messages(), QStringList{"你确认对所有单据应用该设置吗？\n请在打印测试前调整好挡板！-左侧靠齐"});
    EXPECT_EQ(column(1, "XMove"), 5);

    alerts.clear();
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_TRUE(window.applyToAllTemplates());
    EXPECT_EQ(alerts.messages().mid(1), (QStringList{"应用单据成功！", "配置修改成功！"}));
    for (int id : {1, 2}) {
        EXPECT_EQ(column(id, "XMove"), 12);
        EXPECT_EQ(column(id, "YMove"), -8);
        EXPECT_EQ(column(id, "HVPrint"), 1);
    }
    IniFile &ini = ctx().config();
    EXPECT_EQ(ini.readString("printeruse", "printers"), "EPSON-LQ-630K");
    EXPECT_EQ(ini.readString("printeruse", "EPSON-LQ-630K.PrinterName"), "EPSON-LQ-630K");
    EXPECT_EQ(ini.readString("printeruse", "EPSON-LQ-630K.x"), "12");
    EXPECT_EQ(ini.readString("printeruse", "EPSON-LQ-630K.y"), "-8");
    EXPECT_EQ(ini.readString("printeruse", "EPSON-LQ-630K.d"), "横向");
    EXPECT_EQ(ini.readString("printeruse", "EPSON-LQ-630K.board"), "左侧靠齐");
    EXPECT_EQ(BillPrinter::selectedName(), "EPSON-LQ-630K");
}

TEST_F(AdaptationWindow, ADirectionMustBeChosenAndKnown)
{
    TfrmPrinterParam window(ctx(), "EPSON-LQ-630K");
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_FALSE(window.applyToAllTemplates());
    EXPECT_EQ(alerts.messages().last(), "请选择打印方向！");

    window.directionBox()->setEditText("斜向");
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_FALSE(window.applyToAllTemplates());
    EXPECT_EQ(alerts.messages().last(), "非法的打印方向参数！");
    EXPECT_EQ(column(1, "XMove"), 5);
    EXPECT_FALSE(ctx().config().hasKey("printeruse", "printers"));
}

TEST_F(AdaptationWindow, AnAdaptationNeedsANameAndAPrinter)
{
    TfrmPrinterParam window(ctx());
    window.directionBox()->setEditText("纵向");
    window.xBox()->setValue(-15);
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_FALSE(window.applyToAllTemplates());
    // The templates took the offsets; the adaptation waits for its name.
    EXPECT_EQ(alerts.messages().mid(1), (QStringList{"应用单据成功！", "请输入适配打印机类型名！"}));
    EXPECT_EQ(column(2, "XMove"), -15);

    alerts.clear();
    window.adaptationNameEdit()->setText("我的");
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_FALSE(window.applyToAllTemplates());
    EXPECT_EQ(alerts.messages().last(), "请选择你的票据打印机！");
    EXPECT_FALSE(ctx().config().hasKey("printeruse", "printers"));
}

TEST_F(AdaptationWindow, NoTemplateToApplyToStillStoresTheAdaptation)
{
    ASSERT_TRUE(db().exec("delete from CKTypeTable"));
    TfrmPrinterParam window(ctx(), "HP-LaserJet");
    window.chooseModel("EPSON LQ-630K");
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_FALSE(window.applyToAllTemplates());
    EXPECT_EQ(alerts.messages().mid(1), (QStringList{"应用单据失败！！", "配置修改成功！"}));
    EXPECT_EQ(ctx().config().readString("printeruse", "HP-LaserJet.x"), "-20");
}

TEST_F(AdaptationWindow, WithoutKnownModelsOneStandsForNone)
{
    ctx().config().eraseSection("printerweknow");
    TfrmPrinterParam window(ctx());
    EXPECT_EQ(window.modelBox()->count(), 1);
    EXPECT_EQ(window.modelBox()->currentText(), "没有预选打印机配置");
    EXPECT_EQ(window.modelXEdit()->text(), "");
}

TEST_F(AdaptationWindow, RecommendationLinkNamesPrinterAndVersion)
{
    TfrmPrinterParam window(ctx(), "EPSON-LQ-630K");
    const QString url = window.recommendationUrl();
    EXPECT_TRUE(url.contains("/customer/printerpos.asp?Printer=EPSON-LQ-630K&version=" + ctx().versionText()))
        << url.toStdString();
}

using PrinterCommands = OffsetsTest;

TEST_F(PrinterCommands, MenuAndToolBarOpenTheirWindows)
{
    addTemplate(4, QStringLiteral("支票（工行）"));
    addTemplate(8, QStringLiteral("进账单（通用）"));
    BillPrinter::setPrinterSource([] { return QStringList{"EPSON-LQ-630K"}; });
    Tfm_Main main(ctx(), installPrinterSettings);
    ctx().currentCheckTypeId = 8;

    whileModalOpen([&] { main.runCommand("打印整体偏移调整(&M)"); },
                   [](QWidget *modal) {
                       auto *offsets = qobject_cast<TfrmPrintOffset *>(modal);
                       ASSERT_NE(offsets, nullptr);
                       EXPECT_EQ(offsets->checkTypeId(), 8);
                   });
    whileModalOpen([&] { main.runCommand("锁定/匹配票据打印机"); },
                   [](QWidget *modal) { EXPECT_NE(qobject_cast<TfmLockPrinter *>(modal), nullptr); });

    int dialogs = 0;
    setPrinterDialogRunner([&](QPrinter &, QWidget *) {
        ++dialogs;
        return int(QDialog::Accepted);
    });
    main.runCommand("打印机设置 (&C)");
    QAction *toolButton = main.findAction("打印机(&C)");
    ASSERT_NE(toolButton, nullptr);
    toolButton->trigger();
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(ctx().printReady);
}

TEST_F(PrinterCommands, TheDesignerFollowsTheOffsetWindow)
{
    addTemplate(4, QStringLiteral("支票（工行）"));
    Tfm_Main main(ctx(), installPrinterSettings);
    int designerRuns = 0;
    main.setCommandHandler("模板设计", [&] {
        ++designerRuns;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);  // the offset window is gone
    });
    whileModalOpen([&] { main.runCommand("打印整体偏移调整(&M)"); },
                   [](QWidget *modal) { modal->findChild<QPushButton *>("btDesign")->click(); });
    EXPECT_EQ(designerRuns, 1);
    EXPECT_EQ(ctx().currentCheckTypeId, 4);
}
