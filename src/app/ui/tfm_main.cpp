#include "app/ui/tfm_main.h"

#include "addressbook/person_store.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "app/cache_cleaner.h"
#include "app/desktop_open.h"
#include "app/system_pictures.h"
#include "app/version.h"
#include "app/ui/tfm_about.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace billprint {

namespace {

const QColor kWindowColour(220, 228, 252);
const QColor kStatusColour(205, 216, 245);

const QString kMenuCheque = QStringLiteral("支票");
const QString kMenuDeposit = QStringLiteral("进账单");
const QString kMenuCashSlip = QStringLiteral("现金缴款单");
const QString kMenuWaybill = QStringLiteral("填写快递单");
const QString kDesignModeCommand = QStringLiteral("设计模式（票据模板界面及打印效果调整）");
const QString kDesignerCommand = QStringLiteral("模板设计");

} // namespace

// The client area behind the bill windows: the background picture
// stretched over it, or the colour strip when the picture is switched off.
class BackgroundArea : public QMdiArea
{
public:
    explicit BackgroundArea(QWidget *parent) : QMdiArea(parent)
    {
        setObjectName(QStringLiteral("bgImage"));
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }

    void setPicture(const QImage &picture)
    {
        m_picture = picture;
        viewport()->update();
    }
    bool hasPicture() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(viewport());
        const QRect target = viewport()->rect();
        if (!m_picture.isNull()) {
            p.drawImage(target, m_picture);
            return;
        }
        // The strip's full width; its height up to the window's for short
        // windows, else the whole strip.
        const QImage &strip = colourStripPicture();
        const int sourceHeight = target.height() < 851 ? std::min(target.height(), strip.height())
                                                       : strip.height();
        p.drawImage(target, strip, QRect(0, 0, strip.width(), std::max(1, sourceHeight)));
    }

private:
    QImage m_picture;
};

Tfm_Main::Tfm_Main(AppContext &context, const Installer &install, QWidget *parent)
    : QMainWindow(parent), m_ctx(context)
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

    // Creation steps, in order.
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
    m_ctx.defaultDrawer = loadDefaultDrawer(m_ctx);

    m_clock.setObjectName(QStringLiteral("TimerSystem"));
    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &Tfm_Main::onClockTick);
    m_clock.start();
    resize(1024, 700);
}

Tfm_Main::~Tfm_Main() = default;

QMdiArea *Tfm_Main::mdiArea() const { return m_area; }

void Tfm_Main::buildCentralArea()
{
    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    m_area = new BackgroundArea(central);
    m_area->viewport()->installEventFilter(this);
    m_area->viewport()->setContextMenuPolicy(Qt::DefaultContextMenu);

    // The first-use text is laid over the work area when shown, outside
    // the layout, so the work area keeps its size.
    m_firstUse = new QPlainTextEdit(central);
    m_firstUse->setObjectName(QStringLiteral("MemoFirstRead"));
    m_firstUse->setReadOnly(true);
    m_firstUse->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_firstUse->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont memoFont(QStringLiteral("宋体"));
    memoFont.setPixelSize(15);
    m_firstUse->setFont(memoFont);
    m_firstUse->setPlainText(firstUseLines().join(QLatin1Char('\n')));
    m_firstUse->viewport()->installEventFilter(this);
    m_firstUse->hide();

    m_sidePanel = new QWidget(central);
    m_sidePanel->setObjectName(QStringLiteral("panalAd"));
    m_sidePanel->setFixedWidth(130);
    m_sidePanel->setAutoFillBackground(true);
    QPalette sidePal = m_sidePanel->palette();
    sidePal.setColor(QPalette::Window, QColor(236, 241, 255));
    m_sidePanel->setPalette(sidePal);
    auto *side = new QVBoxLayout(m_sidePanel);
    side->setContentsMargins(6, 6, 6, 6);
    auto *header = new QHBoxLayout;
    auto *headerLabel = new QLabel(QStringLiteral("在线服务中心"), m_sidePanel);
    headerLabel->setStyleSheet(QStringLiteral("font-weight: bold; color: rgb(40,70,150);"));
    auto *hideLink = new QLabel(QStringLiteral("<a href=\"hide\">[隐藏]</a>"), m_sidePanel);
    connect(hideLink, &QLabel::linkActivated, this, [this] { m_sidePanel->hide(); });
    header->addWidget(headerLabel);
    header->addStretch();
    header->addWidget(hideLink);
    side->addLayout(header);
    m_sideLabel = new QLabel(m_sidePanel);
    m_sideLabel->setObjectName(QStringLiteral("lbAd"));
    m_sideLabel->setWordWrap(true);
    m_sideLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_sideLabel->setCursor(Qt::PointingHandCursor);
    m_sideLabel->installEventFilter(this);
    side->addWidget(m_sideLabel, 1);

    row->addWidget(m_area, 1);
    row->addWidget(m_sidePanel);
    setCentralWidget(central);
}

void Tfm_Main::bindCommand(QAction *action, const QString &command)
{
    action->setProperty("command", command);
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
}

QAction *Tfm_Main::addCommand(QMenu *menu, const QString &text, const QString &command,
                              const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(text);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    bindCommand(action, command.isEmpty() ? text : command);
    return action;
}

QAction *Tfm_Main::addOwnCommand(QMenu *menu, const QString &text, std::function<void()> run,
                                 const QKeySequence &shortcut)
{
    setCommandHandler(text, std::move(run));
    return addCommand(menu, text, text, shortcut);
}

QAction *Tfm_Main::addEntryCommand(QMenu *menu, const QString &text, const QString &family, bool checkOpen,
                                   const QKeySequence &shortcut)
{
    m_entryCommands.insert(text, EntryCommand{family, checkOpen});
    return addCommand(menu, text, text, shortcut);
}

QAction *Tfm_Main::addInactiveItem(QMenu *menu, const QString &text)
{
    QAction *action = menu->addAction(text);
    action->setEnabled(false);
    return action;
}

QMenu *Tfm_Main::buildNewBillMenu(QWidget *parent)
{
    auto *menu = new QMenu(QStringLiteral("填开新票据"), parent);
    addEntryCommand(menu, kMenuCheque, QStringLiteral("支票"), true, QKeySequence(QStringLiteral("Ctrl+B")));
    addEntryCommand(menu, kMenuDeposit, QStringLiteral("进账单"), true, QKeySequence(QStringLiteral("Ctrl+A")));
    addEntryCommand(menu, kMenuCashSlip, QStringLiteral("缴款单"), false);
    addInactiveItem(menu, QStringLiteral("定制单"));
    addInactiveItem(menu, QStringLiteral("电汇单"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    addOwnCommand(menu, QStringLiteral("承兑汇票"), [this] { noBillWindowOpen(); })->setEnabled(false);
    addInactiveItem(menu, QStringLiteral("境外汇款申请"));
    menu->addSeparator();
    for (const QString &text : {QStringLiteral("普通发票收据"), QStringLiteral("出口商品发票"), QStringLiteral("国际货运发票")})
        addOwnCommand(menu, text, [this] { noBillWindowOpen(); })->setEnabled(false);
    addInactiveItem(menu, QStringLiteral("送货单"))->setVisible(false);
    menu->addSeparator();
    addEntryCommand(menu, kMenuWaybill, QStringLiteral("快递单"));
    return menu;
}

void Tfm_Main::buildMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *fileMenu = bar->addMenu(QStringLiteral("新票据填开(&F)"));
    m_newBillMenu = buildNewBillMenu(fileMenu);
    fileMenu->addMenu(m_newBillMenu);
    QMenu *otherInvoices = fileMenu->addMenu(QStringLiteral("其他发票收据"));
    for (const QString &text : {QStringLiteral("国地税发票"), QStringLiteral("增值税发票"), QStringLiteral("海运业发票")})
        addInactiveItem(otherInvoices, text);
    otherInvoices->addSeparator();
    addInactiveItem(otherInvoices, QStringLiteral("其他发票"));
    QMenu *customBills = fileMenu->addMenu(QStringLiteral("其他定制票据"));
    for (const QString &text : {QStringLiteral("送货单"), QStringLiteral("销售单"), QStringLiteral("珠宝质保单"),
                                QStringLiteral("单位收付款单")})
        addInactiveItem(customBills, text);
    fileMenu->addSeparator();
    addOwnCommand(fileMenu, QStringLiteral("关闭所有填开单据"), [this] { closeAllEntryWindows(); });

    QMenu *history = bar->addMenu(QStringLiteral("历史开票管理(&S)"));
    for (const QString &text : {QStringLiteral("支票管理(&Z)"), QStringLiteral("进帐单管理(&J) "),
                                QStringLiteral("现金缴款单管理"), QStringLiteral("快递单管理")})
        addCommand(history, text);
    for (const QString &text : {QStringLiteral("电汇单管理(&D)"), QStringLiteral("承兑汇票管理"),
                                QStringLiteral("境外汇款申请书管理"), QStringLiteral("收据及发票管理"),
                                QStringLiteral("国际货运发票管理"), QStringLiteral("出口商品发票管理"),
                                QStringLiteral("送货单管理"), QStringLiteral("定制单管理")})
        addInactiveItem(history, text)->setVisible(false);

    QMenu *system = bar->addMenu(QStringLiteral("系统管理(&M)"));
    addCommand(system, QStringLiteral("单位及客户资料管理(&K) "));
    addOwnCommand(system, kDesignModeCommand, [this] { designMode(); });
    m_commandNeeds.insert(kDesignModeCommand, kDesignerCommand);
    system->addSeparator();
    addCommand(system, QStringLiteral("票据模板导入"));
    addCommand(system, QStringLiteral("票据模板管理（默认、显示、隐藏）"));
    system->addSeparator();
    addCommand(system, QStringLiteral("字典管理设置(&N) 用途、始发站等"));
    addCommand(system, QStringLiteral("币种设置"));
    addCommand(system, QStringLiteral("省市代码设置(&O)"));
    system->addSeparator();
    addCommand(system, QStringLiteral("更改系统登录密码"));
    QMenu *options = system->addMenu(QStringLiteral("系统选项(&Y)"));
    const QList<QPair<QString, QString>> optionItems = {
        {QStringLiteral("打印前弹出打印机配置窗口"), SettingKey::PrinterDialogFirst},
        {QStringLiteral("进入系统需要密码验证"), SettingKey::LoginRequired},
        {QStringLiteral("启用系统背景图"), SettingKey::BackgroundOn},
        {QStringLiteral("启用默认出票人"), SettingKey::DefaultDrawerOn},
    };
    for (const auto &[text, setting] : optionItems) {
        const QString key = setting;
        QAction *action = addOwnCommand(options, text, [this, key] {
            if (key == SettingKey::BackgroundOn)
                toggleBackgroundOption();
            else
                toggleSystemOption(key);
        });
        action->setCheckable(true);
        m_systemOptions.insert(setting, action);
    }

    QMenu *printing = bar->addMenu(QStringLiteral("打印设置(&P)"));
    addCommand(printing, QStringLiteral("打印整体偏移调整(&M)"));
    printing->addSeparator();
    addCommand(printing, QStringLiteral("锁定/匹配票据打印机"));
    addCommand(printing, QStringLiteral("打印机设置 (&C)"));
    printing->addSeparator();
    addCommand(printing, QStringLiteral("添加打印机纸张规格"));

    QMenu *tools = bar->addMenu(QStringLiteral("工具(&T)"));
    addCommand(tools, QStringLiteral("  在线升级"));
    addOwnCommand(tools, QStringLiteral("  清除软件缓存文件"), [this] { clearCache(); });
    addOwnCommand(tools, QStringLiteral("  修复压缩数据库"), [] { tell(QStringLiteral("正在建设!")); });
    addOwnCommand(tools, QStringLiteral("  锁定电脑屏幕"), [this] { lockScreen(); });
    tools->addSeparator();
    addOwnCommand(tools, QStringLiteral("  显示\\隐藏在线中心"), [this] { toggleSidePanel(); });
    tools->addSeparator();
    addCommand(tools, QStringLiteral("  邮政编码查询"));
    addOwnCommand(tools, QStringLiteral("  计算器 (&U)"), [this] { startCalculator(); });

    const QString toolbarToggle = QStringLiteral("显示/隐藏工具栏(&L)");
    setCommandHandler(toolbarToggle, [this] { toggleToolBar(); });
    bindCommand(bar->addAction(toolbarToggle), toolbarToggle);

    QMenu *help = bar->addMenu(QStringLiteral("帮 助(&H)"));
    addCommand(help, QStringLiteral("  升级到9.28"))->setVisible(false);
    help->addSeparator();
    addOwnCommand(help, QStringLiteral("  关于 (&A)"), [this] { showAbout(); });
    addCommand(help, QStringLiteral("  帮助 (&H)"), QString(), QKeySequence(Qt::Key_F1));
    addOwnCommand(help, QStringLiteral("  重启软件"), [this] { restartProgram(); });
    addOwnCommand(help, QStringLiteral("  进入软件所在文件夹"), [this] { openProgramFolder(); }, QKeySequence(Qt::Key_F8));
    help->addSeparator();
    addOwnCommand(help, QStringLiteral("  退出 (&Q)"), [this] { askExit(); });
}

void Tfm_Main::buildToolBar()
{
    m_toolBar = new QToolBar(QStringLiteral("ToolBarMain"), this);
    m_toolBar->setObjectName(QStringLiteral("ToolBarMain"));
    m_toolBar->setMovable(false);
    m_toolBar->setFixedHeight(45);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setAutoFillBackground(true);
    QPalette pal = m_toolBar->palette();
    pal.setColor(QPalette::Window, kWindowColour);
    m_toolBar->setPalette(pal);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    QStyle *st = style();
    auto addButton = [&](const QString &caption, const QString &hint, QStyle::StandardPixmap icon,
                         const QString &command) {
        QAction *action = new QAction(st->standardIcon(icon), caption, m_toolBar);
        action->setToolTip(hint.isEmpty() ? caption : hint);
        if (!command.isEmpty())
            bindCommand(action, command);
        m_toolBar->addAction(action);
        if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(action)))
            button->setFixedSize(79, 43);
        return action;
    };

    QAction *newBill = addButton(QStringLiteral("填开新票据"), QString(), QStyle::SP_FileIcon, QString());
    newBill->setMenu(m_newBillMenu);
    if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(newBill)))
        button->setPopupMode(QToolButton::InstantPopup);
    addButton(QStringLiteral("我方单位"), QStringLiteral("我方单位信息与帐户管理"), QStyle::SP_DirHomeIcon,
              QStringLiteral("我方单位"));
    addButton(QStringLiteral("往来单位(&K)"), QStringLiteral("客户地址账户资料管理"), QStyle::SP_DirOpenIcon,
              QStringLiteral("往来单位(&K)"));
    addButton(QStringLiteral("打印机(&C)"), QStringLiteral("打印机、打印方向及纸张设定（并不会启动打印）"),
              QStyle::SP_ComputerIcon, QStringLiteral("打印机设置 (&C)"));
    addButton(QStringLiteral("新模板导入"), QStringLiteral("导入新票据模板"), QStyle::SP_ArrowDown,
              QStringLiteral("票据模板导入"));
    setCommandHandler(QStringLiteral("第一次用"), [this] { toggleFirstUseText(); });
    addButton(QStringLiteral("第一次用"), QStringLiteral("第一次使用软件前简读"), QStyle::SP_MessageBoxInformation,
              QStringLiteral("第一次用"));
    // The button also closes the batch print window before it asks.
    const QString exitCommand = QStringLiteral("退出打印系统");
    setCommandHandler(exitCommand, [this] {
        runHook(QStringLiteral("关闭批量打印"));
        askExit();
    });
    addButton(QStringLiteral("  退出 (&Q)"), exitCommand, QStyle::SP_DialogCloseButton, exitCommand);
}

void Tfm_Main::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, kStatusColour);
    bar->setPalette(pal);
    const int widths[5] = {100, 150, 200, 140, 65};
    const QString texts[5] = {QStringLiteral("系统已就绪"), QStringLiteral("建议分辨率:1024x768以上"),
                              QStringLiteral("当前时间:"), QStringLiteral("禾朔软件 版权所有"), QString()};
    for (int i = 0; i < 5; ++i) {
        auto *label = new QLabel(texts[i], bar);
        label->setMinimumWidth(widths[i]);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i == 3) {
            label->setLayoutDirection(Qt::RightToLeft);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        if (i == 4)
            bar->addWidget(label, 1);
        else
            bar->addWidget(label);
        m_statusPanels[i] = label;
    }
}

void Tfm_Main::buildBackgroundMenu()
{
    m_backgroundMenu = new QMenu(this);
    addEntryCommand(m_backgroundMenu, QStringLiteral("支票"), QStringLiteral("支票"));
    addEntryCommand(m_backgroundMenu, QStringLiteral("进账单"), QStringLiteral("进账单"));
    addEntryCommand(m_backgroundMenu, QStringLiteral("缴款单、现金送款单"), QStringLiteral("缴款单"), false);
    m_backgroundMenu->addSeparator();
    addEntryCommand(m_backgroundMenu, QStringLiteral("快递单"), QStringLiteral("快递单"));
    m_backgroundMenu->addSeparator();
    for (const QString &text : {QStringLiteral("电汇单-业务委托书"), QStringLiteral("境外汇款申请书"),
                                QStringLiteral("承兑汇票"), QStringLiteral("定制单")})
        addOwnCommand(m_backgroundMenu, text, [this] { noBillWindowOpen(); })->setVisible(false);
    QMenu *invoices = m_backgroundMenu->addMenu(QStringLiteral("发票"));
    for (const QString &text : {QStringLiteral("普通发票收据"), QStringLiteral("国际货运发票"), QStringLiteral("出口商品发票")})
        addOwnCommand(invoices, text, [this] { noBillWindowOpen(); });
    invoices->menuAction()->setVisible(false);
    addOwnCommand(m_backgroundMenu, QStringLiteral("刷新"), [this] {
        m_sidePanel->show();
        InitBackGround(m_systemOptions.value(SettingKey::BackgroundOn)->isChecked());
    });
    addCommand(m_backgroundMenu, QStringLiteral("帮助"), QStringLiteral("  帮助 (&H)"));
}

QString Tfm_Main::sidePanelLabelText()
{
    QStringList lines;
    lines << QStringLiteral("连线") + m_ctx.getBrandName() + QStringLiteral("在线客服..")
          << QStringLiteral("QQ：800000000") << QStringLiteral("电话：400-000-0000")
          << QString() << QStringLiteral(">>支票/进账单打印") << QStringLiteral(">>快递单/发货单打印")
          << QStringLiteral(">>发票/承兑汇票打印") << QStringLiteral(">>各种打印定制...");
    return lines.join(QLatin1Char('\n'));
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

void Tfm_Main::InitBackGround(bool pictureOn)
{
    if (pictureOn) {
        const QImage picture(m_ctx.dataRoot().imageFolder() + QStringLiteral("sys_bg.jpg"));
        if (picture.isNull()) {
            m_sideLabel->setText(sidePanelLabelText());
            m_area->setPicture(QImage());
            return;
        }
        m_area->setPicture(picture);
    } else {
        m_area->setPicture(QImage());
    }
    m_area->viewport()->update();
}

bool Tfm_Main::backgroundPictureShown() const
{
    return m_area->hasPicture() && m_area->isVisible() && m_firstUse->isHidden();
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

void Tfm_Main::toggleFirstUseText()
{
    // The text covers the work area while shown; the bill windows stay
    // open behind it and come back when it is toggled off.
    if (m_firstUse->isHidden()) {
        m_firstUse->setGeometry(m_area->geometry());
        m_firstUse->show();
        m_firstUse->raise();
    } else {
        m_firstUse->hide();
        m_sidePanel->show();
    }
    m_area->viewport()->update();
}

void Tfm_Main::toggleSidePanel()
{
    m_sidePanel->setVisible(m_sidePanel->isHidden());
}

void Tfm_Main::registerEntryWindow(const QString &family, EntryWindowFactory factory)
{
    m_entryFactories.insert(family, std::move(factory));
}

bool Tfm_Main::noBillWindowOpen()
{
    if (m_area->subWindowList().isEmpty())
        return true;
    tell(QStringLiteral("请先关闭打开的单据！"));
    return false;
}

QWidget *Tfm_Main::openEntryWindow(const QString &family, bool checkOpen)
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
            QMdiSubWindow *sub = m_area->addSubWindow(window);
            sub->setAttribute(Qt::WA_DeleteOnClose);
            m_entryWindows.insert(family, window);  // forgotten by itself when closed
        }
    }
    if (window)
        window->show();
    QApplication::restoreOverrideCursor();
    return window;
}

bool Tfm_Main::closeAllEntryWindows()
{
    bool allClosed = true;
    // Windows already closed and waiting for deletion are still listed;
    // closing them again is harmless.
    for (QMdiSubWindow *sub : m_area->subWindowList()) {
        // A bill window whose bill could not be saved refuses to close.
        if (!sub->close())
            allClosed = false;
    }
    return allClosed;
}

void Tfm_Main::setCommandHandler(const QString &command, std::function<void()> handler)
{
    m_commandHandlers.insert(command, std::move(handler));
}

bool Tfm_Main::hasCommandHandler(const QString &command) const
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

void Tfm_Main::runCommand(const QString &command)
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

void Tfm_Main::runHook(const QString &name)
{
    const auto handler = m_commandHandlers.constFind(name);
    if (handler != m_commandHandlers.constEnd() && *handler)
        (*handler)();
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
    const QList<QMdiSubWindow *> children = m_area->subWindowList();
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
    if (m_area->subWindowList().isEmpty()) {
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

QAction *Tfm_Main::findAction(const QString &text) const
{
    const QList<QAction *> actions = findChildren<QAction *>();
    for (QAction *action : actions)
        if (action->text() == text)
            return action;
    return nullptr;
}

QString Tfm_Main::statusText(int panel) const
{
    return panel >= 1 && panel <= 5 ? m_statusPanels[panel - 1]->text() : QString();
}

void Tfm_Main::setStatusText(int panel, const QString &text)
{
    if (panel >= 1 && panel <= 5)
        m_statusPanels[panel - 1]->setText(text);
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

QStringList Tfm_Main::firstUseLines()
{
    return {
        QStringLiteral("  第一次使用软件【3步走】："),
        QStringLiteral("  1、【固定打印机的挡板位置】（例如Epson630/635k在15mm），不提倡经常移动挡板；"),
        QStringLiteral("     （挡板若不移动，很多情况下，支票等大于A4宽幅票据的右侧会有部分项目打印不出来）；"),
        QString(),
        QStringLiteral("  2、【整体偏移校准】打印一张票据，调节所用票据的【整体偏移】参数让打印对准位置。"),
        QStringLiteral("     进入整体偏移，根据打印效果设定偏移参数:"),
        QStringLiteral("     (例如：Epson630k、635k,挡板15mm,整体打印右移：-160,下移:0,纵向"),
        QStringLiteral("            Epson730k,挡板20mm,整体打印右移：-160,下移:0,纵向)"),
        QStringLiteral("     根据打印效果需要，点击左侧的上下左右按钮，1下代表1毫米,点击\"保存整体设置\"按钮。"),
        QString(),
        QStringLiteral("  3、【锁定快递打印机】。进入打印设置-锁定匹配票据打印机，选择要用的针式打印机，点击\"锁定为票据打印机\"。"),
        QString(),
        QStringLiteral("  【使用技巧】："),
        QStringLiteral("  1、【设定单项】每一个项目（如：收款单位全称、联系人、地址等）都可以再调节（打印位置、字体、字体大小、换行及行距等），"),
        QStringLiteral("     进入【设计模式】-选中要的项目。在上方修改其属性即可。如果需要移动时同时修改打印位置。请记住要勾选\"移动显示位置同时修改打印位置\"。"),
        QString(),
        QStringLiteral("  2、【选取收款人或收件人】单击票据填写界面中的左右两空个红色空心方框可以选择收款人或收件人[双击选取]；"),
        QString(),
        QStringLiteral("  3、【下拉项管理】用途、物品内容、发件人签名、目的站、备注等常用项可在\"字典管理\"中添、删、改；"),
        QString(),
        QStringLiteral("  4、【隐藏永久不要的项目】进入设计模式，点中不要的项目，在上方勾选“不填写不打印该项目”，（取消隐藏：左侧列表找到它，取消不打印勾选即可）；"),
        QString(),
        QStringLiteral("  5、【基于保存过的票据再开票】。先打开历史票据，点击\"复制\"按钮，再行保存（否则会覆盖前面保存的数据）。"),
        QString(),
        QStringLiteral("  6、快递单的【批量打印】、【地址串智能识别】、Excel导入导出，请查看手册的相关章节。"),
        QString(),
        QStringLiteral("  客服电话：400-000-0000　　客服QQ：800000000"),
        QString(),
        QStringLiteral("====================================================【双击我关闭本提示】==================================================="),
    };
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

void Tfm_Main::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_firstUse && m_firstUse->isVisible())
        toggleFirstUseText();
    if (m_area)
        m_area->viewport()->update();
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

bool Tfm_Main::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area->viewport() && event->type() == QEvent::ContextMenu) {
        m_backgroundMenu->exec(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    if (m_firstUse && watched == m_firstUse->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        toggleFirstUseText();
        return true;
    }
    if (watched == m_sideLabel && event->type() == QEvent::MouseButtonPress) {
        runCommand(QStringLiteral("产品网站"));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace billprint
