// Every menu item and tool button of the main window and of the cheque
// window leads somewhere: to a handler, or, for the commands listed below
// as waiting for their windows, to the message that they come later.
#include "app/ui/startup.h"
#include "app/ui/tfm_main.h"
#include "bills/ui/tfm_check_zp.h"
#include "recording_output.h"
#include "templates/delivered_pictures.h"
#include "test_support.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

// Commands whose windows come with later work. A command that gets its
// handler must leave this list.
const QStringList kAwaitingLaterWork = {
};

// The items a user can reach: shown, enabled, in menus that are shown.
void collect(const QList<QAction *> &actions, QList<QAction *> &items)
{
    for (QAction *action : actions) {
        if (action->isSeparator() || !action->isVisible() || !action->isEnabled())
            continue;
        if (action->menu())
            collect(action->menu()->actions(), items);
        else
            items << action;
    }
}

void expectHandled(const Tfm_Main &frame, const QString &command)
{
    if (kAwaitingLaterWork.contains(command))
        EXPECT_FALSE(frame.hasCommandHandler(command)) << "handled now: " << command.toStdString();
    else
        EXPECT_TRUE(frame.hasCommandHandler(command)) << "no handler: " << command.toStdString();
}

} // namespace

TEST(Commands, EveryItemOfTheMainWindowLeadsSomewhere)
{
    TempDataRoot root;
    Tfm_Main frame(root.context(), installAllParts);
    QList<QAction *> items;
    collect(frame.menuBar()->actions(), items);
    collect(frame.toolBar()->actions(), items);
    collect(frame.backgroundMenu()->actions(), items);
    ASSERT_GT(items.size(), 40);
    for (QAction *item : items) {
        const QString command = item->property("command").toString();
        EXPECT_FALSE(command.isEmpty()) << item->text().toStdString();
        expectHandled(frame, command);
    }
}

TEST(Commands, EveryToolButtonOfTheChequeWindowLeadsSomewhere)
{
    TempDataRoot root;
    AlertRecorder alerts;
    AppContext &ctx = root.context();
    ensureDeliveredPictures(ctx.dataRoot().imageFolder());
    Tfm_Main frame(ctx, installAllParts);
    ctx.printerNames.clear();  // printer set-up tells instead of opening its dialog

    // The commands the window hands to the frame; a family's bill window
    // is opened through the frame's menu item of that name.
    QStringList routed;
    BillWindowHost host;
    host.runCommand = [&](const QString &command) { routed << command; };
    host.designMode = [&] { routed << "设计模式（票据模板界面及打印效果调整）"; };
    host.openBillWindow = [&](const QString &family) -> TfmBillBase * {
        routed << family;
        return nullptr;
    };
    host.askValue = [](const QString &, const QString &, const QString &, QWidget *) { return QString(); };
    host.pickPerson = [](const QString &, const QString &, QWidget *) { return std::optional<TPerson>(); };
    host.savePerson = [](const std::optional<TPerson> &, QWidget *) { return std::optional<TPerson>(); };
    RecordingOutput output;
    TfmCheckZP cheque(ctx, host);
    cheque.setPrintOutput(&output);
    for (QAction *button : cheque.toolBar()->actions())
        if (!button->isSeparator())
            button->trigger();

    EXPECT_EQ(routed.size(), 4) << routed.join(' ').toStdString();  // history, offsets, designer, deposit slip
    for (const QString &command : routed)
        expectHandled(frame, command);
    cheque.setPrintOutput(nullptr);
}

TEST(Commands, ACommandWithoutHandlerSaysItComesLater)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Tfm_Main frame(root.context());
    frame.findAction("票据模板导入")->trigger();
    frame.runCommand("支票管理(&Z)");
    EXPECT_EQ(alerts.messages(), QStringList({"该功能将在后续版本提供", "该功能将在后续版本提供"}));
}
