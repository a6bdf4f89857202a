#include "app/ui/main_frame.h"

#include "app/alert.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace billprint {

MainFrame::MainFrame(AppContext &context, QWidget *parent) : QMainWindow(parent), m_ctx(context) {}

MainFrame::~MainFrame() = default;

void MainFrame::registerEntryWindow(const QString &family, EntryWindowFactory factory)
{
    m_entryFactories.insert(family, std::move(factory));
}

bool MainFrame::noBillWindowOpen()
{
    if (mdiArea()->subWindowList().isEmpty())
        return true;
    tell(QStringLiteral("请先关闭打开的单据！"));
    return false;
}

QWidget *MainFrame::openEntryWindow(const QString &family, bool checkOpen)
{
    auto factory = m_entryFactories.find(family);
    if (factory == m_entryFactories.end()) {
        tell(laterVersionMessage());
        return nullptr;
    }
    if (checkOpen && !noBillWindowOpen())
        return nullptr;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QWidget *window = m_entryWindows.value(family);
    if (!window) {
        window = (*factory)(*this);
        if (window) {
            QMdiSubWindow *sub = mdiArea()->addSubWindow(window);
            sub->setAttribute(Qt::WA_DeleteOnClose);
            m_entryWindows.insert(family, window);  // forgotten by itself when closed
        }
    }
    if (window)
        window->show();
    QApplication::restoreOverrideCursor();
    return window;
}

bool MainFrame::closeAllEntryWindows()
{
    bool allClosed = true;
    // Windows already closed and waiting for deletion are still listed;
    // closing them again is harmless.
    for (QMdiSubWindow *sub : mdiArea()->subWindowList()) {
        // A bill window whose bill could not be saved refuses to close.
        if (!sub->close())
            allClosed = false;
    }
    return allClosed;
}

void MainFrame::setCommandHandler(const QString &command, std::function<void()> handler)
{
    m_commandHandlers.insert(command, std::move(handler));
}

void MainFrame::bindEntryCommand(const QString &command, const QString &family, bool checkOpen)
{
    m_entryCommands.insert(command, EntryCommand{family, checkOpen});
}

void MainFrame::setCommandNeeds(const QString &command, const QString &needed)
{
    m_commandNeeds.insert(command, needed);
}

bool MainFrame::hasCommandHandler(const QString &command) const
{
    const auto entry = m_entryCommands.constFind(command);
    if (entry != m_entryCommands.constEnd())
        return hasEntryWindow(entry->family);
    const auto handler = m_commandHandlers.constFind(command);
    if (handler == m_commandHandlers.constEnd() || !*handler)
        return false;
    const QString needs = m_commandNeeds.value(command);
    return needs.isEmpty() || hasCommandHandler(needs);
}

void MainFrame::runCommand(const QString &command)
{
    const auto entry = m_entryCommands.constFind(command);
    if (entry != m_entryCommands.constEnd()) {
        openEntryWindow(entry->family, entry->checkOpen);
        return;
    }
    if (!hasCommandHandler(command)) {
        tell(laterVersionMessage());
        return;
    }
    m_commandHandlers.value(command)();
}

void MainFrame::runHook(const QString &name)
{
    const auto handler = m_commandHandlers.constFind(name);
    if (handler != m_commandHandlers.constEnd() && *handler)
        (*handler)();
}

QAction *MainFrame::findAction(const QString &text) const
{
    const QList<QAction *> actions = findChildren<QAction *>();
    for (QAction *action : actions)
        if (action->text() == text)
            return action;
    return nullptr;
}

} // namespace billprint
