// The cheque window inside the main window: the menu entry opens it, a
// second bill window is refused while it is open, the right-click menu of
// the background is off while it is open, and closing it gives the
// current template back.

#include "shell/ui/tfm_main.h"
#include "work_area_menu.h"
#include "bills/ui/install_cheque_entry.h"
#include "cheque_fixtures.h"
#include "printing/ui/print_preview_dialog.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace billprint::test {
namespace {

using ChequeFrameTest = ChequeTest;

TEST_F(ChequeFrameTest, TheMenuEntryOpensTheChequeWindowOnce)
{
    Tfm_Main main(ctx());
    installChequeEntry(main);
    QAction *entry = main.findAction(QStringLiteral("支票"));
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1);
    auto *cheque = qobject_cast<TfmCheckZP *>(main.mdiArea()->subWindowList().first()->widget());
    ASSERT_NE(cheque, nullptr);
    EXPECT_EQ(cheque->property("tag").toInt(), 1);
    EXPECT_EQ(ctx().currentCheckTypeId, 1);

    // Only one bill window at a time.
    alerts.clear();
    main.openEntryWindow(QStringLiteral("支票"));
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("请先关闭打开的单据！")));
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 1);

    // The background's right-click menu stays shut while the bill is open.
    EXPECT_FALSE(rightClickOpensWorkAreaMenu(main));

    // The design command finds the template in the window's tag.
    ctx().currentCheckTypeId = 0;
    int designs = 0;
    main.setCommandHandler(QStringLiteral("模板设计"), [&] { ++designs; });
    cheque->designModeCommand();
    EXPECT_EQ(designs, 1);
    EXPECT_EQ(ctx().currentCheckTypeId, 1);

    main.closeAllEntryWindows();
    QApplication::processEvents();
    EXPECT_TRUE(main.mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(ctx().currentCheckTypeId, -1);
}

// "打印预览" of the main menu (Ctrl+Shift+P) previews the open bill; with
// none open it says where to begin.
TEST_F(ChequeFrameTest, ThePreviewOfTheMenuShowsTheOpenBill)
{
    Tfm_Main main(ctx());
    installChequeEntry(main);
    installPrintPreviewCommand(main);
    QAction *preview = main.findAction(QStringLiteral("打印预览"));
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+P")));
    preview->trigger();
    EXPECT_EQ(alerts.messages(), QStringList{QStringLiteral("请先打开要打印的单据（【新票据填开】），再打印预览。")});

    main.findAction(QStringLiteral("支票"))->trigger();
    auto *cheque = qobject_cast<TfmCheckZP *>(main.mdiArea()->subWindowList().first()->widget());
    ASSERT_NE(cheque, nullptr);
    cheque->setPrintOutput(&output);
    preview->trigger();
    auto *dialog = cheque->findChild<PrintPreviewDialog *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->pageCount(), 1);
    EXPECT_EQ(output.begins, 0) << "nothing is printed by a preview";
    dialog->reject();
    cheque->setPrintOutput(nullptr);
    main.closeAllEntryWindows();
}

} // namespace
} // namespace billprint::test
