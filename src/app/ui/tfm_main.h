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
    // Opens the family's entry window. With `checkOpen`, refuses (with a
    // message) while another bill window is open.
    QWidget *openEntryWindow(const QString &family, bool checkOpen = true);
    // True when no bill window is open; otherwise tells the user.
    bool noBillWindowOpen();
    void closeAllEntryWindows();

    // Commands whose windows come from other parts of the program are
    // looked up here by their menu text; without a handler they do nothing.
    void setCommandHandler(const QString &command, std::function<void()> handler);
    void runCommand(const QString &command);

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
    QAction *addCommand(QMenu *menu, const QString &text, std::function<void()> slot,
                        const QKeySequence &shortcut = QKeySequence());
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
    QTimer m_clock;
    int m_tickCounter = 0;
    bool m_webInfoChecked = false;
    bool m_closing = false;
};

} // namespace billprint
