// The cheque window inside the main window: the menu entry opens it, a
// second bill window is refused while it is open, the right-click menu of
// the background is off while it is open, and closing it gives the
// current template back.

#include "shell/ui/tfm_main.h"
#include "work_area_menu.h"
#include "bills/ui/install_cheque_entry.h"
#include "cheque_fixtures.h"

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

} // namespace
} // namespace billprint::test
