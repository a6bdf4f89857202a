// What every subsystem sees of the main window: the command registry its
// menus run through and the bill entry windows in its work area. The main
// window itself (shell/ui/tfm_main.h) sits above every subsystem and builds
// on this; the subsystems install their commands into a MainFrame, so none
// of them reaches up to the shell.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <functional>

class QAction;
class QMdiArea;

namespace billprint {

class AppContext;

class MainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainFrame(AppContext &context, QWidget *parent = nullptr);
    ~MainFrame() override;

    AppContext &context() { return m_ctx; }
    // The work area holding the bill entry windows.
    virtual QMdiArea *mdiArea() const = 0;

    // Creates the window of a bill family on demand. The bill subsystems
    // register their entry windows here.
    using EntryWindowFactory = std::function<QWidget *(MainFrame &)>;
    void registerEntryWindow(const QString &family, EntryWindowFactory factory);
    bool hasEntryWindow(const QString &family) const { return m_entryFactories.contains(family); }
    // Opens the family's entry window. With `checkOpen`, refuses (with a
    // message) while another bill window is open. A family whose window is
    // not part of the program yet is told as such.
    QWidget *openEntryWindow(const QString &family, bool checkOpen = true);
    // True when no bill window is open; otherwise tells the user.
    bool noBillWindowOpen();
    // Closes every bill window; false when one of them refused (its bill
    // could not be saved) and stays open.
    bool closeAllEntryWindows();

    // Every menu item and tool button runs a command by its name (the
    // item's text, kept in the action's "command" property). The frame
    // enters its own commands at creation, the other parts of the program
    // theirs when they are installed. A command without a handler tells
    // the user the function comes with a later version.
    void setCommandHandler(const QString &command, std::function<void()> handler);
    void runCommand(const QString &command);
    // True when `command` does something: it has a handler, and what the
    // handler leads to (the bill window of a family, the designer behind
    // the design mode) is there as well.
    bool hasCommandHandler(const QString &command) const;
    static QString laterVersionMessage() { return QStringLiteral("该功能将在后续版本提供"); }

    // Looks an action up by its text (menus, tool bar and context menu).
    QAction *findAction(const QString &text) const;

    // Asked on the first clock tick when login is required; false ends the
    // program.
    std::function<bool()> loginHandler;
    // Run once, on the second clock tick.
    std::function<void()> webInfoCheck;

    // The design mode of the open bill window ("设计模式").
    virtual void designMode() = 0;
    // The side panel the web information shows its news in.
    virtual QWidget *sidePanel() const = 0;
    virtual void setStatusText(int panel, const QString &text) = 0;  // panels 1 to 5

protected:
    // The menu item `command` opens the entry window of `family`.
    void bindEntryCommand(const QString &command, const QString &family, bool checkOpen);
    // `command` does something only when `needed` does (hasCommandHandler).
    void setCommandNeeds(const QString &command, const QString &needed);
    // Runs the handler other parts of the program may have entered for one
    // of the frame's own steps (filling the printer list, closing); quiet
    // when there is none.
    void runHook(const QString &name);

    AppContext &m_ctx;

private:
    QMap<QString, EntryWindowFactory> m_entryFactories;
    QMap<QString, QPointer<QWidget>> m_entryWindows;
    QMap<QString, std::function<void()>> m_commandHandlers;
    struct EntryCommand
    {
        QString family;
        bool checkOpen = true;
    };
    QMap<QString, EntryCommand> m_entryCommands;
    QMap<QString, QString> m_commandNeeds;  // command -> command it leads to
};

} // namespace billprint
