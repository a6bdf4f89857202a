#pragma once

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QTimer>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QPlainTextEdit;
class QToolBar;
class QWidget;

namespace billprint {

class AppContext;
class BackgroundArea;

// The frame of the whole program: menus, tool bar, status bar with the
// clock, the background with its side panel, and the bill entry windows as
// children of its multi-document area.
class Tfm_Main : public QMainWindow
{
    Q_OBJECT
public:
    // `install` runs after the menus exist and before the creation steps,
    // so the other parts of the program can hook their commands in (the
    // printer list is filled by one of them during creation).
    using Installer = std::function<void(Tfm_Main &)>;
    explicit Tfm_Main(AppContext &context, const Installer &install = {}, QWidget *parent = nullptr);
    ~Tfm_Main() override;

    AppContext &context() { return m_ctx; }
    QMdiArea *mdiArea() const;

    // Creates the window of a bill family on demand. Later parts of the
    // program register the entry windows here.
    using EntryWindowFactory = std::function<QWidget *(Tfm_Main &)>;
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

    // Starts the program anew for the restart command; false when the new
    // process could not be started. Replaceable (tests).
    std::function<bool()> startNewInstance;
    // Starts an outside program (calculator, screen lock) detached; true
    // when it started. Tests record instead of starting anything.
    std::function<bool(const QString &program, const QStringList &args)> startProgram;

    // Asked on the first clock tick when login is required; false ends the
    // program.
    std::function<bool()> loginHandler;
    // Run once, on the second clock tick.
    std::function<void()> webInfoCheck;

    void LoadSysParam();
    void InitBackGround(bool pictureOn);
    void toggleSystemOption(const QString &settingName);
    void toggleBackgroundOption();
    void toggleToolBar();
    void toggleFirstUseText();
    void toggleSidePanel();
    void clearCache();
    void restartProgram();
    void askExit();
    void showAbout();
    void startCalculator();
    void lockScreen();
    void openProgramFolder();
    void designMode();

    // Looks an action up by its text (menus, tool bar and context menu).
    QAction *findAction(const QString &text) const;
    QString statusText(int panel) const;
    void setStatusText(int panel, const QString &text);  // panels 1 to 5
    QToolBar *toolBar() const { return m_toolBar; }
    QWidget *sidePanel() const { return m_sidePanel; }
    QPlainTextEdit *firstUseText() const { return m_firstUse; }
    QMenu *backgroundMenu() const { return m_backgroundMenu; }
    int tickCounter() const { return m_tickCounter; }
    bool backgroundPictureShown() const;
    // The archive check; true when the program may go on.
    bool checkNotInArchive();
    // The first-use text's lines.
    static QStringList firstUseLines();
    static QString archiveMessage(const QString &version);

    // Opens a web address or a folder with the desktop (app/desktop_open.h).
    static bool BrowseURL(const QString &url);

public slots:
    void onClockTick();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildCentralArea();
    void buildStatusBar();
    void buildBackgroundMenu();
    QMenu *buildNewBillMenu(QWidget *parent);
    // Adds an item running `command` (default: its own text).
    QAction *addCommand(QMenu *menu, const QString &text, const QString &command = QString(),
                        const QKeySequence &shortcut = QKeySequence());
    // Adds an item running a command of the frame itself.
    QAction *addOwnCommand(QMenu *menu, const QString &text, std::function<void()> run,
                           const QKeySequence &shortcut = QKeySequence());
    // Adds an item opening the entry window of `family`.
    QAction *addEntryCommand(QMenu *menu, const QString &text, const QString &family, bool checkOpen = true,
                             const QKeySequence &shortcut = QKeySequence());
    // Adds a greyed item that stands for bills the program does not offer.
    QAction *addInactiveItem(QMenu *menu, const QString &text);
    void bindCommand(QAction *action, const QString &command);
    // Runs the handler other parts of the program may have entered for one
    // of the frame's own steps (filling the printer list, closing); quiet
    // when there is none.
    void runHook(const QString &name);
    bool runsFromArchive() const;
    QString sidePanelLabelText();
    void updateCaption();
    void writeInstallRecord();
    void fillPrinterList();
    QAction *systemOptionAction(const QString &settingName) const;

    AppContext &m_ctx;
    BackgroundArea *m_area = nullptr;
    QWidget *m_sidePanel = nullptr;
    QLabel *m_sideLabel = nullptr;
    QPlainTextEdit *m_firstUse = nullptr;
    QToolBar *m_toolBar = nullptr;
    QMenu *m_backgroundMenu = nullptr;
    QMenu *m_newBillMenu = nullptr;
    QLabel *m_statusPanels[5] = {};
    QMap<QString, QAction *> m_systemOptions;  // setting name -> menu item
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
    QTimer m_clock;
    int m_tickCounter = 0;
    bool m_webInfoChecked = false;
    bool m_closing = false;
};

} // namespace billprint
