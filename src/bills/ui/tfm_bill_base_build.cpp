// Building a bill window: its frame (tool bar, template row, the panel
// over the form picture, option bar), the tool bar commands and the
// fields and options a family adds.
#include "bills/ui/tfm_bill_base.h"

#include "bills/ui/bill_window_parts.h"
#include "bills/ui/control_value.h"
#include "bills/ui/form_layout.h"
#include "bills/ui/party_frame.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace billprint {

using namespace bill_window;

namespace {

// The fields over the form picture: the form shows through, the values
// stand out in blue as they will on paper.
const char *kPanelStyle =
    "QLineEdit, QComboBox, QPlainTextEdit, QDateEdit {"
    "  background: rgba(255, 255, 255, 170); border: 1px solid rgba(40, 90, 200, 110);"
    "  color: #0d2b8c; padding: 0px 1px; }"
    "QLineEdit:focus, QComboBox:focus, QPlainTextEdit:focus, QDateEdit:focus {"
    "  background: rgba(255, 255, 210, 235); border: 1px solid #1e50c8; }"
    "QLineEdit[readOnly=\"true\"] { background: rgba(255, 255, 255, 60); }"
    "QLineEdit#inputJEXX { background: #fffbe0; border: 2px solid #d04000; color: #000; }"
    "QDateEdit#SelDate { color: #d00000; }"
    "QComboBox { background: rgba(255, 255, 255, 215); }"
    "QComboBox::drop-down { width: 12px; border: none; }";

QIcon standardIcon(QWidget *w, int which)
{
    if (which < 0)
        return QIcon();
    return w->style()->standardIcon(static_cast<QStyle::StandardPixmap>(which));
}


} // namespace

void TfmBillBase::buildFrame()
{
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    buildToolBar();
    buildTemplateRow();

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("sbBill"));
    m_scroll->setWidgetResizable(false);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_panel = new QWidget;
    m_panel->setObjectName(QStringLiteral("pnlBill"));
    m_panel->setStyleSheet(QLatin1String(kPanelStyle));
    QFont panelFont = m_panel->font();
    panelFont.setPointSize(9);
    m_panel->setFont(panelFont);
    m_bgImage = new QLabel(m_panel);
    m_bgImage->setObjectName(QStringLiteral("bgImage"));
    m_bgImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_bgImage->installEventFilter(this);
    m_scroll->setWidget(m_panel);
    m_layout->addWidget(m_toolBar);
    m_layout->addWidget(m_templateRow);
    m_layout->addWidget(m_scroll, 1);
    buildOptionBar();
    m_layout->addWidget(m_optionBar);
}

void TfmBillBase::buildToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("tbBill"));
    m_toolBar->setIconSize(QSize(20, 20));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    addCommand(QStringLiteral("新建(&N)"), QStringLiteral("新建一张单据"), [this] { newBill(); }, QStyle::SP_FileIcon);
    addCommand(QStringLiteral("打开(&O)"), QStringLiteral("打开历史单据"), [this] { openHistory(); },
               QStyle::SP_DialogOpenButton);
    addCommand(QStringLiteral("保存(&S)"), QStringLiteral("保存单据"), [this] { saveCommand(); },
               QStyle::SP_DialogSaveButton);
    addCommand(kCopy, QStringLiteral("复制为一张新单据"), [this] { copyBill(); },
               QStyle::SP_FileDialogDetailedView);
    m_toolBar->addSeparator();
    addCommand(kPrintOne, QStringLiteral("打印一张"), [this] { printOne(); }, QStyle::SP_DialogApplyButton);
    addCommand(kPrintAndSave, QStringLiteral("打印后保存，并复制为一张新单据"), [this] { printAndSave(); },
               QStyle::SP_DialogYesButton);
    addCommand(kPrintRepeated, QStringLiteral("同一张单据打印多张"), [this] { repeatPrint(); },
               QStyle::SP_BrowserReload);
    addCommand(kPrintPreview, QStringLiteral("打印前查看打印效果（Ctrl+Shift+P）"), [this] { printPreview(); },
               QStyle::SP_FileDialogContentsView);
    addCommand(QStringLiteral("打印机设置"), QStringLiteral("选择打印机"), [this] { printerSetup(); },
               QStyle::SP_ComputerIcon);
    addCommand(QStringLiteral("整体偏移"), QStringLiteral("打印整体偏移调整"), [this] { wholePrintOffset(); },
               QStyle::SP_ArrowRight);
    addCommand(QStringLiteral("设计模式"), QStringLiteral("调整项目的位置和打印效果"), [this] { designModeCommand(); },
               QStyle::SP_FileDialogContentsView);
    m_toolBar->addSeparator();
    m_commands.value(kCopy)->setEnabled(false);
}

void TfmBillBase::buildTemplateRow()
{
    m_templateRow = new QWidget(this);
    m_templateRow->setObjectName(QStringLiteral("pnlTemplates"));
    auto *row = new QHBoxLayout(m_templateRow);
    row->setContentsMargins(4, 2, 4, 2);
    m_tabs = new QTabBar(m_templateRow);
    m_tabs->setObjectName(QStringLiteral("tcCommonTypes"));
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(false);
    connect(m_tabs, &QTabBar::currentChanged, this, &TfmBillBase::tabChanged);
    row->addWidget(m_tabs, 1);
    auto *label = new QLabel(QStringLiteral("模板:"), m_templateRow);
    row->addWidget(label);
    m_cbTypes = new QComboBox(m_templateRow);
    m_cbTypes->setObjectName(QStringLiteral("cbCheckType"));
    m_cbTypes->setMinimumWidth(220);
    m_cbTypes->installEventFilter(this);
    connect(m_cbTypes, &QComboBox::textActivated, this, [this] { templateChanged(); });
    row->addWidget(m_cbTypes);
}

void TfmBillBase::buildOptionBar()
{
    m_optionBar = new QWidget(this);
    m_optionBar->setObjectName(QStringLiteral("pnlOptions"));
    auto *bar = new QGridLayout(m_optionBar);
    bar->setContentsMargins(4, 2, 4, 2);
    bar->setHorizontalSpacing(8);
    bar->setVerticalSpacing(2);
}

void TfmBillBase::addToOptionBar(QWidget *widget)
{
    // Seven to a row: the options of a money bill fit the width of a form.
    constexpr int kColumns = 7;
    auto *bar = static_cast<QGridLayout *>(m_optionBar->layout());
    bar->addWidget(widget, m_optionCount / kColumns, m_optionCount % kColumns);
    ++m_optionCount;
}

void TfmBillBase::finishToolBar()
{
    m_sideAction = addCommand(QStringLiteral("下"), QStringLiteral("工具栏放到窗口下方/上方"),
                              [this] { toggleToolBarSide(); }, QStyle::SP_ArrowDown);
}

void TfmBillBase::finishOptionBar()
{
    auto *remember = new QPushButton(rememberCaption(), m_optionBar);
    remember->setObjectName(QStringLiteral("btRememberOptions"));
    remember->setToolTip(QStringLiteral("记住当前模板的打印勾选及选项"));
    connect(remember, &QPushButton::clicked, this, [this] { rememberOptions(); });
    addToOptionBar(remember);
}

QAction *TfmBillBase::addCommand(const QString &caption, const QString &hint, const std::function<void()> &run,
                                 int standardIcon)
{
    QAction *action = m_toolBar->addAction(billprint::standardIcon(this, standardIcon), caption);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    connect(action, &QAction::triggered, this, [run] { run(); });
    m_commands.insert(caption, action);
    return action;
}

QAction *TfmBillBase::command(const QString &caption) const
{
    return m_commands.value(caption);
}

// ---- Fields ------------------------------------------------------------------

QLineEdit *TfmBillBase::addEdit(const QString &name, const QString &hint, int maxLength)
{
    auto *edit = new QLineEdit(m_panel);
    edit->setObjectName(name);
    edit->setToolTip(hint);
    edit->setPlaceholderText(QString());
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    edit->hide();
    return edit;
}

QLineEdit *TfmBillBase::addReadOnly(const QString &name, const QString &hint)
{
    QLineEdit *edit = addEdit(name, hint);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

QComboBox *TfmBillBase::addList(const QString &name, const QString &hint, int maxLength)
{
    auto *list = new QComboBox(m_panel);
    list->setObjectName(name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setToolTip(hint);
    if (maxLength > 0)
        list->lineEdit()->setMaxLength(maxLength);
    list->installEventFilter(this);
    list->hide();
    return list;
}

QPlainTextEdit *TfmBillBase::addMemo(const QString &name, const QString &hint)
{
    auto *memo = new QPlainTextEdit(m_panel);
    memo->setObjectName(name);
    memo->setToolTip(hint);
    memo->setPlaceholderText(hint);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->hide();
    return memo;
}

PartyFrame *TfmBillBase::addFrame(const QString &name, const QString &hint, Qt::PenStyle style)
{
    auto *frame = new PartyFrame(name, style, m_panel);
    frame->setToolTip(hint);
    return frame;
}

QCheckBox *TfmBillBase::addOption(const QString &name, const QString &caption, Remember remember,
                                  const QString &hint)
{
    auto *box = new QCheckBox(caption, m_optionBar);
    box->setObjectName(name);
    box->setToolTip(hint);
    box->setChecked(remember == Remember::OnUnlessZero);
    addToOptionBar(box);
    if (remember != Remember::No)
        m_remembered.append({name, remember});
    return box;
}

void TfmBillBase::selectAllOnDoubleClick(QWidget *f)
{
    if (auto *list = qobject_cast<QComboBox *>(f); list && list->lineEdit())
        list->lineEdit()->installEventFilter(this);
    else if (f)
        f->installEventFilter(this);
    if (f)
        f->setProperty("selectAllOnDoubleClick", true);
}

void TfmBillBase::addMoneyBillFields()
{
    addEdit(QStringLiteral("inputJEXX"), QStringLiteral("金额大写(只需输入小写,回车自动转换大写),"));
    addEdit(QStringLiteral("zdJEXX"));
    addReadOnly(QStringLiteral("cgJEXX"));
    addEdit(QStringLiteral("zdJEDX"), QStringLiteral("点击输入金额"));
    for (const QString &name : digitBoxNames()) {
        QLineEdit *box = addReadOnly(name);
        box->setMaxLength(1);
        box->setAlignment(Qt::AlignCenter);
        QFont f = box->font();
        f.setBold(true);
        box->setFont(f);
    }
    addMemo(remarkField(), QStringLiteral("备注说明"));
}

void TfmBillBase::addMoneyBillOptions()
{
    addOption(QStringLiteral("cfgDateChinese"), QStringLiteral("大写正联日期"), Remember::OnWhenOne);
    addOption(QStringLiteral("cfgJEDXRMBChecked"), QStringLiteral("大写含人民币"), Remember::OnWhenOne);
    addOption(QStringLiteral("cfgJEDXWithMoneyName"), QStringLiteral("大写前置币种"), Remember::OnUnlessZero);
    addOption(QStringLiteral("cfgJEXXWithMoneyCode"), QStringLiteral("小写前置币种"), Remember::OnUnlessZero);
    addNoPrintOptions(true);
    addCurrencyOption();
}

void TfmBillBase::addNoPrintOptions(bool withDrawer)
{
    addOption(QStringLiteral("cfgNoPrtDate"), QStringLiteral("不打印出票日期"), Remember::No);
    addOption(QStringLiteral("cfgNoPrtJEXX"), QStringLiteral("不打印小写格"), Remember::No);
    addOption(QStringLiteral("cfgNoPrtJEDX"), QStringLiteral("不打印大写"), Remember::No);
    if (withDrawer)
        addOption(QStringLiteral("cfgNoPrtOutter"), QStringLiteral("不打印出票人"), Remember::No);
    addOption(QStringLiteral("cfgNoPrtSheep"), QStringLiteral("不打印限位符￥"), Remember::No);
}

void TfmBillBase::addCurrencyOption()
{
    auto *currency = new QWidget(m_optionBar);
    auto *row = new QHBoxLayout(currency);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("币种:"), currency));
    m_moneyType = new QComboBox(currency);
    m_moneyType->setObjectName(QStringLiteral("cfgMoneyType"));
    m_moneyType->setMinimumWidth(80);
    row->addWidget(m_moneyType);
    row->addStretch(1);
    addToOptionBar(currency);
}

} // namespace billprint
