#pragma once

#include "app/ui/main_frame.h"

#include <QMap>
#include <QTimer>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QToolBar;
class QWidget;

namespace billprint {

class AppContext;
class BackgroundArea;

// The frame of the whole program: menus, tool bar, status bar with the
// clock, the background with its side panel, and the bill entry windows as
// children of its multi-document area (their registry and the command
// registry are MainFrame's). Built in three files: creation and the
// frame's own commands (tfm_main.cpp), menus, tool bar and status bar
// (tfm_main_menus.cpp), the work area with its background, side panel and
// first-use text (tfm_main_background.cpp).
class Tfm_Main : public MainFrame
{
    Q_OBJECT
public:
    // `install` runs after the menus exist and before the creation steps,
    // so the other parts of the program can hook their commands in (the
    // printer list is filled by one of them during creation).
    using Installer = std::function<void(Tfm_Main &)>;
    explicit Tfm_Main(AppContext &context, const Installer &install = {}, QWidget *parent = nullptr);
    ~Tfm_Main() override;

    QMdiArea *mdiArea() const override;

    // Starts the program anew for the restart command; false when the new
    // process could not be started. Replaceable (tests).
    std::function<bool()> startNewInstance;
    // Starts an outside program (calculator, screen lock) detached; true
    // when it started. Tests record instead of starting anything.
    std::function<bool(const QString &program, const QStringList &args)> startProgram;

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
    void designMode() override;

    QString statusText(int panel) const;
    void setStatusText(int panel, const QString &text) override;  // panels 1 to 5
    QToolBar *toolBar() const { return m_toolBar; }
    QWidget *sidePanel() const override { return m_sidePanel; }
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
    void buildSidePanel(QWidget *central);
    void buildFirstUseText(QWidget *central);
    void buildStatusBar();
    void buildBackgroundMenu();
    QMenu *buildNewBillMenu(QWidget *parent);
    void buildSystemOptionsMenu(QMenu *system);
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
    void runCreationSteps();
    bool runsFromArchive() const;
    QString sidePanelLabelText();
    void updateCaption();
    void writeInstallRecord();
    void fillPrinterList();
    QAction *systemOptionAction(const QString &settingName) const;

    BackgroundArea *m_area = nullptr;
    QWidget *m_sidePanel = nullptr;
    QLabel *m_sideLabel = nullptr;
    QPlainTextEdit *m_firstUse = nullptr;
    QToolBar *m_toolBar = nullptr;
    QMenu *m_backgroundMenu = nullptr;
    QMenu *m_newBillMenu = nullptr;
    QLabel *m_statusPanels[5] = {};
    QMap<QString, QAction *> m_systemOptions;  // setting name -> menu item
    QTimer m_clock;
    int m_tickCounter = 0;
    bool m_webInfoChecked = false;
    bool m_closing = false;
};

} // namespace billprint
