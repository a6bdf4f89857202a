// Every menu item and tool button of the main window and of the cheque
// window leads somewhere: to a handler, or, for the commands listed below
// as waiting for their windows, to the message that they come later.
#include "shell/ui/startup.h"
#include "shell/ui/tfm_main.h"
#include "bills/ui/tfm_check_zp.h"
#include "recording_output.h"
#include "templates/delivered_pictures.h"
#include "test_support.h"

#include "app/desktop_open.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
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

// While it lives, every modal window that comes up is noted (with
// whether it was on screen) and closed, nested ones too, so a command
// that runs a dialog with exec() returns.
class ModalCloser
{
public:
    ModalCloser()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { closeModal(); });
        m_timer.start(5);
        m_clock.start();
    }
    QStringList seen;

private:
    void closeModal()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            closeHiddenDialogs();
            return;
        }
        seen << QStringLiteral("%1 %2 \"%3\"")
                    .arg(modal->isVisible() ? QStringLiteral("visible") : QStringLiteral("hidden"),
                         QString::fromLatin1(modal->metaObject()->className()), modal->windowTitle());
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
    }
    // A dialog run with exec() that never came on screen (one whose
    // class hides QWidget::setVisible) keeps the command from returning:
    // after a while it is noted hidden and every event loop is left.
    void closeHiddenDialogs()
    {
        // Only a dialog inside exec() (which marks it WA_ShowModal) that is
        // not on screen counts; a command that merely runs long under load
        // must not have its event loops ended.
        QStringList hidden;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog *>(widget) && !widget->isVisible() && widget->testAttribute(Qt::WA_ShowModal))
                hidden << QStringLiteral("hidden %1").arg(QString::fromLatin1(widget->metaObject()->className()));
        if (hidden.isEmpty()) {
            m_clock.restart();
            return;
        }
        if (m_clock.elapsed() < 3000)
            return;
        seen << hidden;
        QCoreApplication::exit(1);
        m_clock.restart();
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
};

// What a command did that a user can see.
struct Outcome
{
    QStringList windows;   // visible windows that came up
    QStringList messages;  // alerts shown (questions answered No)
    QStringList handedOut;  // web pages, folders and programs handed to the desktop
    bool stateChanged = false;  // a check mark, the tool bar, side panel, first-use text, bill windows closed

    bool seen() const { return !windows.isEmpty() || !messages.isEmpty() || !handedOut.isEmpty() || stateChanged; }
    std::string describe() const
    {
        return (windows + messages + handedOut).join(QStringLiteral(" | ")).toStdString();
    }
};

QString frameState(Tfm_Main &frame)
{
    QString state;
    for (QAction *action : frame.findChildren<QAction *>())
        if (action->isCheckable())
            state += action->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    state += frame.toolBar()->isVisible() ? QLatin1Char('T') : QLatin1Char('t');
    state += frame.sidePanel()->isVisible() ? QLatin1Char('S') : QLatin1Char('s');
    state += frame.firstUseText()->isVisible() ? QLatin1Char('F') : QLatin1Char('f');
    return state;
}

// Triggers `item` as a click would and reports what came of it; every
// window it left open is closed again.
Outcome runItem(Tfm_Main &frame, QAction *item, AlertRecorder &alerts, QStringList &handedOut)
{
    QList<QPointer<QWidget>> before;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            before << widget;
    const QString stateBefore = frameState(frame);
    const qsizetype childrenBefore = frame.mdiArea()->subWindowList().size();
    alerts.clear();
    handedOut.clear();

    Outcome outcome;
    {
        ModalCloser closer;
        item->trigger();
        QApplication::processEvents();
        outcome.windows = closer.seen;
    }
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && !before.contains(widget) && !widget->inherits("QMenu")) {
            outcome.windows << QStringLiteral("visible %1 \"%2\"").arg(widget->metaObject()->className(), widget->windowTitle());
            widget->close();
            widget->hide();
        }
    for (QMdiSubWindow *sub : frame.mdiArea()->subWindowList())
        if (sub->isVisible())
            outcome.windows << QStringLiteral("visible child \"%1\"").arg(sub->windowTitle());
    outcome.messages = alerts.messages();
    outcome.handedOut = handedOut;
    outcome.stateChanged = frameState(frame) != stateBefore
                           || frame.mdiArea()->subWindowList().size() < childrenBefore;

    frame.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    return outcome;
}

// The whole program in a frame on screen, with web pages, folders and
// outside programs recorded in `handedOut` instead of started.
class CommandRun : public ::testing::Test
{
protected:
    CommandRun()
    {
        ensureDeliveredPictures(ctx.dataRoot().imageFolder());
        m_previousOpener = setDesktopOpener([this](const QUrl &url) {
            handedOut << url.toString();
            return true;
        });
        frame.startNewInstance = [this] {
            handedOut << QStringLiteral("restart");
            return true;
        };
        frame.startProgram = [this](const QString &program, const QStringList &) {
            handedOut << program;
            return true;
        };
        frame.show();
    }
    ~CommandRun() override { setDesktopOpener(m_previousOpener); }

    TempDataRoot root;
    AlertRecorder alerts;
    AppContext &ctx = root.context();
    QStringList handedOut;
    Tfm_Main frame{ctx, installAllParts};

private:
    DesktopOpener m_previousOpener;
};

} // namespace

TEST_F(CommandRun, EveryCommandOfTheMainWindowOpensAWindowOrSaysSomething)
{

    QList<QAction *> items;
    collect(frame.menuBar()->actions(), items);
    collect(frame.toolBar()->actions(), items);
    collect(frame.backgroundMenu()->actions(), items);
    QStringList ran;
    for (QAction *item : items) {
        const QString command = item->property("command").toString();
        // Something for the command to act on.
        if (command == QStringLiteral("关闭所有填开单据"))
            frame.openEntryWindow(QStringLiteral("支票"));
        if (command == QStringLiteral("刷新"))
            frame.sidePanel()->hide();
        const Outcome outcome = runItem(frame, item, alerts, handedOut);
        EXPECT_TRUE(outcome.seen()) << "nothing visible came of: " << command.toStdString();
        // A setting goes back as it was, so that the next commands run in
        // the frame as it starts (the login setting would end the program).
        if (item->isCheckable())
            EXPECT_TRUE(runItem(frame, item, alerts, handedOut).seen()) << command.toStdString();
        ASSERT_TRUE(frame.isVisible()) << "the frame went away after " << command.toStdString();
        ran << command;
    }
    EXPECT_GT(ran.size(), 40);
    // The commands whose windows were once unreachable open them on screen.
    for (const QString &command : {QStringLiteral("票据模板管理（默认、显示、隐藏）"), QStringLiteral("票据模板导入"),
                                   QStringLiteral("单位及客户资料管理(&K) "), QStringLiteral("支票")}) {
        QAction *item = frame.findAction(command);
        ASSERT_NE(item, nullptr) << command.toStdString();
        const Outcome outcome = runItem(frame, item, alerts, handedOut);
        ASSERT_FALSE(outcome.windows.isEmpty()) << command.toStdString();
        EXPECT_TRUE(outcome.windows.first().startsWith(QStringLiteral("visible"))) << outcome.describe();
    }
}

TEST_F(CommandRun, EveryToolButtonOfEveryBillWindowOpensAWindowOrSaysSomething)
{
    for (const QString &family : {QStringLiteral("支票"), QStringLiteral("进账单"), QStringLiteral("现金缴款单"),
                                  QStringLiteral("填写快递单")}) {
        frame.findAction(family)->trigger();
        auto *bill = frame.findChild<TfmBillBase *>();
        ASSERT_NE(bill, nullptr) << family.toStdString();
        ASSERT_TRUE(bill->isVisible()) << family.toStdString();
        QStringList buttons;
        for (QAction *button : bill->toolBar()->actions())
            if (!button->isSeparator() && button->isVisible() && button->isEnabled() && !button->menu())
                buttons << button->text();
        ASSERT_GE(buttons.size(), 5) << family.toStdString();
        for (const QString &caption : buttons) {
            bill = frame.findChild<TfmBillBase *>();
            if (!bill) {  // the button before closed it
                frame.findAction(family)->trigger();
                bill = frame.findChild<TfmBillBase *>();
            }
            QAction *button = nullptr;
            for (QAction *candidate : bill->toolBar()->actions())
                if (candidate->text() == caption)
                    button = candidate;
            ASSERT_NE(button, nullptr);
            // Something for the new bill to clear.
            if (caption.startsWith(QStringLiteral("新建")))
                for (QLineEdit *box : bill->findChildren<QLineEdit *>())
                    if (box->isVisible() && box->isEnabled() && !box->isReadOnly()) {
                        box->setText(QStringLiteral("1"));
                        break;
                    }
            const QImage lookBefore = bill->grab().toImage();
            const QPointer<TfmBillBase> guard(bill);
            const qsizetype childrenBefore = frame.mdiArea()->subWindowList().size();
            alerts.clear();
            handedOut.clear();
            QStringList windows;
            {
                ModalCloser closer;
                button->trigger();
                QApplication::processEvents();
                windows = closer.seen;
            }
            const bool opened = frame.mdiArea()->subWindowList().size() != childrenBefore;
            const bool changed = opened || !guard || guard->grab().toImage() != lookBefore;
            EXPECT_TRUE(!windows.isEmpty() || !alerts.messages().isEmpty() || !handedOut.isEmpty() || changed)
                << family.toStdString() << ": nothing visible came of " << caption.toStdString();
        }
        frame.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

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
