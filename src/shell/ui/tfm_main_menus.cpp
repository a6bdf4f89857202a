// The main window's menus, tool bar, status bar and background menu: every
// item runs a command by name (MainFrame::runCommand).
#include "shell/ui/tfm_main.h"

#include "app/alert.h"
#include "app/system_settings.h"
#include "shell/ui/tfm_main_shared.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace billprint {

using namespace main_window;

namespace {

const QColor kStatusColour(205, 216, 245);

const QString kMenuCheque = QStringLiteral("支票");
const QString kMenuDeposit = QStringLiteral("进账单");
const QString kMenuCashSlip = QStringLiteral("现金缴款单");
const QString kMenuWaybill = QStringLiteral("填写快递单");

} // namespace

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
    bindEntryCommand(text, family, checkOpen);
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
    addCommand(fileMenu, QStringLiteral("打印预览"), QString(), QKeySequence(QStringLiteral("Ctrl+Shift+P")));
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
    setCommandNeeds(kDesignModeCommand, kDesignerCommand);
    system->addSeparator();
    addCommand(system, QStringLiteral("票据模板导入"));
    addCommand(system, QStringLiteral("票据模板管理（默认、显示、隐藏）"));
    system->addSeparator();
    addCommand(system, QStringLiteral("字典管理设置(&N) 用途、始发站等"));
    addCommand(system, QStringLiteral("币种设置"));
    addCommand(system, QStringLiteral("省市代码设置(&O)"));
    system->addSeparator();
    addCommand(system, QStringLiteral("更改系统登录密码"));
    buildSystemOptionsMenu(system);
    // This desk's own settings (the shared database), kept in Config.ini.
    addCommand(system, QStringLiteral("系统设置"));

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

// The four system options, check marks kept as the stored settings say
// (LoadSysParam).
void Tfm_Main::buildSystemOptionsMenu(QMenu *system)
{
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

QString Tfm_Main::statusText(int panel) const
{
    return panel >= 1 && panel <= 5 ? m_statusPanels[panel - 1]->text() : QString();
}

void Tfm_Main::setStatusText(int panel, const QString &text)
{
    if (panel >= 1 && panel <= 5)
        m_statusPanels[panel - 1]->setText(text);
}

} // namespace billprint
