#include "shell/ui/tfm_main.h"

#include "addressbook/default_drawer.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "app/cache_cleaner.h"
#include "app/desktop_open.h"
#include "app/version.h"
#include "shell/ui/tfm_about.h"
#include "shell/ui/tfm_main_shared.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>

namespace billprint {

using namespace main_window;

Tfm_Main::Tfm_Main(AppContext &context, const Installer &install, QWidget *parent)
    : MainFrame(context, parent)
{
    setObjectName(QStringLiteral("fm_Main"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kWindowColour);
    setPalette(pal);
    setAutoFillBackground(true);

    buildCentralArea();
    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildBackgroundMenu();
    startNewInstance = [] {
        QStringList args = QCoreApplication::arguments().mid(1);
        args.removeAll(QStringLiteral("--quit-after-startup"));
        return QProcess::startDetached(QCoreApplication::applicationFilePath(), args);
    };
    startProgram = [](const QString &program, const QStringList &args) {
        return QProcess::startDetached(program, args);
    };
    if (install)
        install(*this);
    runCreationSteps();

    m_clock.setObjectName(QStringLiteral("TimerSystem"));
    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &Tfm_Main::onClockTick);
    m_clock.start();
    resize(1024, 700);
}

Tfm_Main::~Tfm_Main() = default;

void Tfm_Main::runCreationSteps()
{
    LoadSysParam();
    m_ctx.OpenUserIniFile();
    m_sideLabel->setText(sidePanelLabelText());
    m_sideLabel->setToolTip(m_sideLabel->text());
    m_sidePanel->setVisible(true);
    m_ctx.currentCheckTypeId = 0;
    const QString toolbarShown = m_ctx.config().readString(QStringLiteral("FM_MAIN"), QStringLiteral("TOOLBARMAIN"),
                                                           QStringLiteral("1"));
    m_toolBar->setVisible(toolbarShown == QLatin1String("1"));
    if (QScreen *screen = QGuiApplication::primaryScreen())
        if (screen->geometry().height() < 750)
            m_statusPanels[0]->setText(QStringLiteral("显示器分辨率太低"));
    InitBackGround(systemOptionAction(SettingKey::BackgroundOn)->isChecked());  // as LoadSysParam read it
    m_tickCounter = 0;
    m_statusPanels[4]->setText(QCoreApplication::applicationFilePath());
    // A copy run from inside an archive is refused at start (checkNotInArchive)
    // and must not pass itself off as the installation.
    if (!runsFromArchive())
        writeInstallRecord();
    updateCaption();
    fillPrinterList();
    reloadDefaultDrawer(m_ctx);
}

void Tfm_Main::updateCaption()
{
    QString caption = QStringLiteral("禾朔票据打印V") + m_ctx.versionText();
    const QString site = m_ctx.vendorSite();
    if (!site.isEmpty())
        caption += QStringLiteral("- 欢迎登陆官方网站 ") + site;
    setWindowTitle(caption);
}

void Tfm_Main::writeInstallRecord()
{
    m_ctx.installRecord().update(m_ctx.getRunPath(), m_ctx.versionText(),
                                 QCoreApplication::applicationFilePath());
}

void Tfm_Main::fillPrinterList()
{
    // The printer list and the locked bill printer are filled in by the
    // printing part of the program through this command, when present.
    runHook(QStringLiteral("初始化打印机列表"));
}

QAction *Tfm_Main::systemOptionAction(const QString &settingName) const
{
    return m_systemOptions.value(settingName, nullptr);
}

void Tfm_Main::LoadSysParam()
{
    const SystemSettings &settings = m_ctx.settings();
    for (auto it = m_systemOptions.begin(); it != m_systemOptions.end(); ++it)
        it.value()->setChecked(settings.isOn(it.key()));
    m_ctx.popPrinterDialog = settings.isOn(SettingKey::PrinterDialogFirst);
    m_ctx.defaultDrawerOn = settings.isOn(SettingKey::DefaultDrawerOn);
    // Read at start like the other options, though nothing depends on it.
    settings.getConfigByname(SettingKey::PartyListSplit);
}

void Tfm_Main::toggleSystemOption(const QString &settingName)
{
    QAction *action = systemOptionAction(settingName);
    if (!action)
        return;
    // The check mark has already flipped when the menu delivers the click;
    // the stored value decides what was there before.
    const bool wasOn = m_ctx.settings().isOn(settingName);
    QString error;
    if (!m_ctx.settings().setOn(settingName, !wasOn, &error))
        tell(QStringLiteral("保存系统选项失败：") + error, QStringLiteral("错误"), AlertIcon::Error);
    LoadSysParam();
}

void Tfm_Main::toggleBackgroundOption()
{
    const bool wasOn = m_ctx.settings().isOn(SettingKey::BackgroundOn);
    QString error;
    const bool stored = m_ctx.settings().setOn(SettingKey::BackgroundOn, !wasOn, &error);
    LoadSysParam();  // the check mark follows what is stored
    if (!stored) {
        // Nothing changed: no restart to ask for, no picture to load.
        tell(QStringLiteral("保存系统选项失败：") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    if (wasOn) {
        tell(QStringLiteral("取消背景图需要重启软件"));
        restartProgram();
    } else {
        InitBackGround(true);
    }
}

void Tfm_Main::toggleToolBar()
{
    m_toolBar->setVisible(m_toolBar->isHidden());
    m_ctx.config().writeString(QStringLiteral("FM_MAIN"), QStringLiteral("TOOLBARMAIN"),
                               m_toolBar->isHidden() ? QStringLiteral("0") : QStringLiteral("1"));
    m_ctx.config().flush();
}

void Tfm_Main::designMode()
{
    if (!hasCommandHandler(kDesignerCommand)) {
        tell(laterVersionMessage());
        return;
    }
    tell(QStringLiteral("提示:\n\n    1.【设计模式】仅用于设置单个项目，一般用于单据格式变化设计模版。若是打印整体偏向某个方向，"
                        "请进入【打印设置】-【整体偏移】调整。\n\n    2.部分模版格式比较老或已经变化的，"
                        "请联系软件右侧禾朔在线客服更新（免费更新或制作）。"));
    const QList<QMdiSubWindow *> children = mdiArea()->subWindowList();
    if (children.isEmpty()) {
        tell(QStringLiteral("请先进入单据的填开界面。如修改支票模版：【填开支票】->】设计模式】（按钮在支票的左上角）"));
        return;
    }
    if (QWidget *first = children.first()->widget()) {
        const int tag = first->property("tag").toInt();
        if (tag > 0)
            m_ctx.currentCheckTypeId = tag;
    }
    runCommand(kDesignerCommand);
}

void Tfm_Main::clearCache()
{
    const CacheCleaner::Result result = CacheCleaner(m_ctx.db(), m_ctx.dataRoot().imageFolder()).run();
    if (!result.databaseOk) {
        // The database step is all or nothing: the caches the open bill
        // windows use are still valid, so they stay open.
        tell(QStringLiteral("清除软件缓存失败！") + result.databaseError, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    if (mdiArea()->subWindowList().isEmpty()) {
        tell(QStringLiteral("缓存清除成功！"));
    } else {
        tell(QStringLiteral("缓存清除需要关闭开单界面重新打开！"));
        closeAllEntryWindows();
    }
}

void Tfm_Main::restartProgram()
{
    if (!askYesNo(QStringLiteral("确定要重开软件吗?"), QStringLiteral("重启软件")))
        return;
    if (!closeAllEntryWindows())
        return;  // a bill that could not be saved keeps the program running
    if (!startNewInstance || !startNewInstance()) {
        tell(QStringLiteral("重启软件失败：无法启动新的程序，请手动重新打开软件！"), QStringLiteral("错误"),
             AlertIcon::Error);
        return;
    }
    m_closing = true;
    close();
}

void Tfm_Main::askExit()
{
    if (askYesNo(QStringLiteral("真的要退出【") + m_ctx.getBrandName() + QStringLiteral("票据打印】系统吗？"),
                 QStringLiteral("确认"), AlertIcon::Information)) {
        m_closing = true;
        close();
    }
}

void Tfm_Main::showAbout()
{
    Tfm_About about(getFileVersionText(4), m_ctx.vendorSite(), this);
    // The contact lines lead to the vendor's home page, like the side label.
    connect(&about, &Tfm_About::contactClicked, this, [this] { runCommand(QStringLiteral("产品网站")); });
    about.move(geometry().center() - about.rect().center());
    about.exec();
}

void Tfm_Main::startCalculator()
{
    static const QStringList calculators = {
        QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("galculator"),
        QStringLiteral("mate-calc"), QStringLiteral("qalculate-gtk"), QStringLiteral("qalculate-qt"),
        QStringLiteral("xcalc")};
    for (const QString &name : calculators) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty() && startProgram(program, {}))
            return;
    }
    tell(QStringLiteral("系统计算器调用失败！"), QStringLiteral("错误"), AlertIcon::Error);
}

void Tfm_Main::lockScreen()
{
    for (const auto &[program, args] : {std::pair{QStringLiteral("loginctl"), QStringList{QStringLiteral("lock-session")}},
                                        std::pair{QStringLiteral("xdg-screensaver"), QStringList{QStringLiteral("lock")}}}) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty() && startProgram(path, args))
            return;
    }
    tell(QStringLiteral("锁定电脑屏幕失败！"), QStringLiteral("错误"), AlertIcon::Error);
}

void Tfm_Main::openProgramFolder()
{
    BrowseURL(m_ctx.getRunPath());
}

bool Tfm_Main::BrowseURL(const QString &url)
{
    return billprint::BrowseURL(url);
}

bool Tfm_Main::runsFromArchive() const
{
    return m_ctx.getRunPath().contains(QLatin1Char('$'));
}

bool Tfm_Main::checkNotInArchive()
{
    if (!runsFromArchive())
        return true;
    tell(archiveMessage(m_ctx.versionText()));
    return false;
}

QString Tfm_Main::archiveMessage(const QString &version)
{
    return QStringLiteral("请不要从压缩包中直接运行软件，这样会使你的软件设置失效，建议：") + QLatin1Char('\r')
           + QStringLiteral("  1、鼠标右击压缩包解压到非系统盘（例如： D:\\禾朔软件笺途V") + version
           + QStringLiteral("\\，再运行）;") + QLatin1Char('\r')
           + QStringLiteral("  2、使用软件前，请查看一下软件目录的：使用说明.txt; ") + QLatin1Char('\r')
           + QStringLiteral("  3、不明之处，请及时咨询禾朔或访问正版软件官方网站寻求帮助！") + QStringLiteral("\r\r")
           + QStringLiteral("（程序即将退出，请解压后再运行。）");
}

void Tfm_Main::onClockTick()
{
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    m_statusPanels[2]->setText(QStringLiteral(" 当前时间：") + locale.toString(now.date(), QLocale::ShortFormat)
                               + QLatin1Char(' ') + now.time().toString(QStringLiteral("HH:mm:ss")));
    ++m_tickCounter;
    if (m_tickCounter == 1) {
        QAction *login = systemOptionAction(SettingKey::LoginRequired);
        if (login && login->isChecked() && loginHandler) {
            if (!loginHandler() || m_ctx.currentRole.isEmpty()) {
                m_closing = true;
                close();
                QCoreApplication::exit(0);
            }
        }
    } else if (m_tickCounter > 1 && !m_webInfoChecked) {
        m_webInfoChecked = true;
        if (webInfoCheck)
            webInfoCheck();
    }
}

void Tfm_Main::closeEvent(QCloseEvent *event)
{
    if (!closeAllEntryWindows()) {
        // A bill window kept its bill because saving it failed: the
        // program stays so that nothing typed is lost.
        m_closing = false;
        event->ignore();
        return;
    }
    m_clock.stop();
    runHook(QStringLiteral("关闭主窗口"));
    m_ctx.config().flush();
    event->accept();
}

void Tfm_Main::wheelEvent(QWheelEvent *event)
{
    if (hasFocus()) {
        const int key = event->angleDelta().y() <= 0 ? Qt::Key_Down : Qt::Key_Up;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(this, &press);
        event->accept();
        return;
    }
    QMainWindow::wheelEvent(event);
}

} // namespace billprint
