#include "bills/ui/tfm_bill_base.h"

#include "addressbook/default_drawer.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "app/chinese_text.h"
#include "app/ini_file.h"
#include "app/lookups.h"
#include "templates/check_ini_cache.h"
#include "printing/print_run.h"
#include "bills/ui/amount_entry_controller.h"
#include "bills/ui/control_value.h"
#include "bills/ui/form_layout.h"
#include "bills/ui/party_frame.h"
#include "templates/check_type.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace billprint {

namespace {

const QString kCommonTemplatesTab = QStringLiteral("配置常用模板");
const QString kTemplateCatalogue = QStringLiteral("票据模板管理（默认、显示、隐藏）");
const QString kPrintOne = QStringLiteral("单张打印(&P)");
const QString kPrintAndSave = QStringLiteral("打印并保存");
const QString kPrintRepeated = QStringLiteral("重复打印");
const QString kCopy = QStringLiteral("复制(&C)");

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

int screenHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 768;
}

} // namespace

// ---- BillWindowLimits ------------------------------------------------------

BillWindowLimits BillWindowLimits::compute(QSize picture, QSize area, int chrome)
{
    BillWindowLimits l;
    const int tw = picture.width();
    const int w = area.width();
    const int h = area.height();
    l.minWidth = (tw < w - 10 ? tw + 15 : w - 10) + 8;
    l.maxWidth = tw + 20;
    const int needed = chrome + picture.height();
    const int limit = needed < h - 10 ? needed + 40 : h - 10;
    l.minHeight = limit;
    l.maxHeight = limit;
    l.height = qMin(h, limit);
    return l;
}

// ---- Construction ----------------------------------------------------------

TfmBillBase::TfmBillBase(AppContext &context, const BillFamilyInfo &family, const BillWindowHost &host,
                         QWidget *parent)
    : QWidget(parent), m_ctx(context), m_family(family), m_host(host.withDefaults(context))
{
    setObjectName(family.windowName);
    buildFrame();
    // The date belongs to every family.
    addEdit(QStringLiteral("zdNian"));
    addEdit(QStringLiteral("zdYue"));
    addEdit(QStringLiteral("zdRi"));
    m_selDate = new QDateEdit(m_panel);
    m_selDate->setObjectName(QStringLiteral("SelDate"));
    m_selDate->setCalendarPopup(true);
    m_selDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_selDate->setDateRange(BillDates::earliest(), BillDates::latest());
    m_selDate->setToolTip(QStringLiteral("点击选择日期"));
    m_selDate->setDate(QDate::currentDate());
    m_selDate->hide();
    connect(m_selDate, &QDateEdit::dateChanged, this, [this] { renderDate(); });
    // User-defined fields, offered from the dictionary.
    addList(QStringLiteral("zdDef1"));
    addList(QStringLiteral("zdDef2"));
    for (int i = 3; i <= 5; ++i)
        addEdit(QStringLiteral("zdDef") + QString::number(i));
}

// The right-click menu comes back when the window closes (closeEvent); a
// window destroyed without closing goes with the main window around it.
TfmBillBase::~TfmBillBase() = default;

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

QWidget *TfmBillBase::billPanel() const
{
    return m_panel;
}

QWidget *TfmBillBase::field(const QString &name) const
{
    // Finding a field walks every widget of the window; the windows ask for
    // the same few fields again and again (a batch print for every row).
    const QString key = name.toUpper();
    if (const auto it = m_fieldCache.constFind(key); it != m_fieldCache.constEnd()) {
        QWidget *known = *it;
        if (known && known->objectName().compare(name, Qt::CaseInsensitive) == 0 && isAncestorOf(known))
            return known;
    }
    QWidget *found = FormControls::find(const_cast<TfmBillBase *>(this), name);
    if (found)
        m_fieldCache.insert(key, found);
    return found;
}

QCheckBox *TfmBillBase::option(const QString &name) const
{
    return qobject_cast<QCheckBox *>(field(name));
}

QString TfmBillBase::fieldText(const QString &name) const
{
    return FormControls::text(field(name));
}

void TfmBillBase::setFieldText(const QString &name, const QString &text)
{
    setTextIfDifferent(field(name), text);
}

bool TfmBillBase::isFieldShown(const QString &name) const
{
    const QWidget *f = field(name);
    return f && f->isVisibleTo(const_cast<TfmBillBase *>(this));
}

void TfmBillBase::setTextIfDifferent(QWidget *f, const QString &text)
{
    if (f && FormControls::text(f) != text)
        FormControls::setText(f, text);
}

namespace {

// A list laid over a field while that field is edited holds no value of
// its own.
bool isOverlay(const QWidget *w)
{
    return w->property("overlay").toBool();
}

} // namespace

QHash<QString, QString> TfmBillBase::billContent() const
{
    QHash<QString, QString> content;
    const QList<QWidget *> fields = m_panel->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (const QWidget *f : fields) {
        if (f->objectName().isEmpty() || isOverlay(f))
            continue;
        if (const auto *date = qobject_cast<const QDateEdit *>(f))
            content.insert(f->objectName(), date->date().toString(Qt::ISODate));
        else if (const auto *box = qobject_cast<const QCheckBox *>(f))
            content.insert(f->objectName(), box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        else if (qobject_cast<const QLineEdit *>(f) || qobject_cast<const QComboBox *>(f)
                 || qobject_cast<const QPlainTextEdit *>(f))
            content.insert(f->objectName(), FormControls::text(f));
    }
    return content;
}

void TfmBillBase::restoreBillContent(const QHash<QString, QString> &content)
{
    // A field set here may make another follow it (a city the destination
    // station, a mobile the telephone): a second round puts those back.
    for (int round = 0; round < 2; ++round) {
        for (auto it = content.constBegin(); it != content.constEnd(); ++it) {
            QWidget *f = field(it.key());
            if (!f)
                continue;
            if (auto *date = qobject_cast<QDateEdit *>(f)) {
                const QDate d = QDate::fromString(it.value(), Qt::ISODate);
                if (d != date->date())
                    setBillDate(d);
            } else if (auto *box = qobject_cast<QCheckBox *>(f)) {
                box->setChecked(it.value() == QLatin1String("1"));
            } else {
                setTextIfDifferent(f, it.value());
            }
        }
    }
}

void TfmBillBase::connectFieldEdits()
{
    const QList<QWidget *> fields = m_panel->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *f : fields) {
        if (auto *edit = qobject_cast<QLineEdit *>(f)) {
            connect(edit, &QLineEdit::textChanged, this, &TfmBillBase::fieldEdited);
            connect(edit, &QLineEdit::textChanged, this, [this, edit] { fitFieldFont(edit); });
        }
        else if (auto *list = qobject_cast<QComboBox *>(f))
            connect(list, &QComboBox::currentTextChanged, this, &TfmBillBase::fieldEdited);
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(f))
            connect(memo, &QPlainTextEdit::textChanged, this, &TfmBillBase::fieldEdited);
        else if (auto *box = qobject_cast<QCheckBox *>(f))
            connect(box, &QCheckBox::toggled, this, &TfmBillBase::fieldEdited);
    }
}

void TfmBillBase::fieldEdited()
{
    MustSavechange();
}

// ---- Opening -----------------------------------------------------------------

void TfmBillBase::openWindow()
{
    finishToolBar();
    finishOptionBar();
    if (field(QStringLiteral("inputJEXX"))) {
        m_amount = new AmountEntryController(m_ctx.db(), this);
        connect(m_amount, &AmountEntryController::amountApplied, this, &TfmBillBase::MustSavechange);
    }
    if (QComboBox *payee = qobject_cast<QComboBox *>(field(QStringLiteral("zdInComp")))) {
        connect(payee, &QComboBox::editTextChanged, this, &TfmBillBase::payeeEdited);
        connect(payee, &QComboBox::activated, this, [this] { payeePicked(); });
    }
    for (const QString &option : {QStringLiteral("cfgNoPrtDate"), QStringLiteral("cfgNoPrtJEXX"),
                                  QStringLiteral("cfgNoPrtJEDX"), QStringLiteral("cfgNoPrtOutter")})
        if (QCheckBox *box = this->option(option))
            connect(box, &QCheckBox::toggled, this, [this, option] { applySuppression(option); });
    if (QCheckBox *chinese = option(QStringLiteral("cfgDateChinese")))
        connect(chinese, &QCheckBox::toggled, this, [this] { renderDate(); });
    connectFieldEdits();
    for (QWidget *frame : {field(QStringLiteral("shpHKR")), field(QStringLiteral("shpskr"))})
        if (auto *f = qobject_cast<PartyFrame *>(frame))
            connect(f, &PartyFrame::clicked, this,
                    [this, f] { f->objectName().compare(QLatin1String("shpHKR"), Qt::CaseInsensitive) == 0
                                    ? pickSender()
                                    : pickReceiver(); });
    placeToolBar(m_ctx.config().readString(m_family.configSection(), QStringLiteral("PositionBar"),
                                           QStringLiteral("top"))
                 == QLatin1String("bottom"));
    setDropDownRows();

    const Lookups lookups(m_ctx.db());
    if (m_moneyType)
        m_moneyType->addItems(lookups.loadMoneyTypeList());
    fillFamilyLists();
    m_announce = true;
    m_serial = -1;

    const int id = lookups.loadDefaultCheckTypeId(m_family.family);
    if (id <= 0) {
        // The family has no usable template: the window closes as it opens.
        m_usable = false;
        m_closed = true;
        return;
    }
    const QString name = lookups.loadCheckTypeLastNameByID(id);
    m_checkTypeId = id;
    m_ctx.currentCheckTypeId = id;
    setProperty("tag", id);
    setSender(heldDefaultDrawer(m_ctx));
    setBillDate(QDate::currentDate());
    if (m_cbTypes->count() == 0)
        m_cbTypes->addItems(lookups.loadCheckTypeLastNameList(m_family.family));
    setCurrentCheckType(name);
    m_laidOutId = 0;
    templateChanged();

    {
        m_syncingTabs = true;
        for (const QString &tab : lookups.loadCommonTypeLastNameList(m_family.family))
            m_tabs->addTab(tab);
        m_tabs->addTab(kCommonTemplatesTab);
        m_syncingTabs = false;
        m_tabs->updateGeometry();  // a hidden tab bar does not tell its layout
    }
    setCurrentCheckType(templateListText());
    applySizeLimits();  // the tab strip has its tabs now
    m_host.setBackgroundMenuEnabled(false);
    markClean();
}

void TfmBillBase::setDropDownRows()
{
    const int h = screenHeight();
    const int rows = h < 800 ? 23 : (h < 900 ? 35 : 50);
    for (const QString &name : {QStringLiteral("zdOutComp"), QStringLiteral("zdInComp")})
        if (auto *list = qobject_cast<QComboBox *>(field(name)))
            list->setMaxVisibleItems(rows);
}

QString TfmBillBase::today() const
{
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

void TfmBillBase::setSaved(bool saved)
{
    if (saved)
        markClean();
    if (m_saved == saved)
        return;
    m_saved = saved;
    emit savedChanged(saved);
}

void TfmBillBase::MustSavechange()
{
    setSaved(false);
}

void TfmBillBase::setCopyEnabled(bool enabled)
{
    if (QAction *copy = m_commands.value(kCopy))
        copy->setEnabled(enabled);
}

// ---- Template ----------------------------------------------------------------

QString TfmBillBase::templateListText() const
{
    return m_cbTypes->currentText();
}

bool TfmBillBase::setCurrentCheckType(const QString &name)
{
    bool found = false;
    if (m_cbTypes->currentText() != name) {
        for (int i = 0; i < m_cbTypes->count(); ++i) {
            if (m_cbTypes->itemText(i) == name) {
                m_cbTypes->setCurrentIndex(i);
                found = true;
                break;
            }
        }
    }
    if (m_tabs->tabText(m_tabs->currentIndex()) != name) {
        m_syncingTabs = true;
        for (int i = 0; i < m_tabs->count(); ++i)
            if (m_tabs->tabText(i) == name)
                m_tabs->setCurrentIndex(i);
        m_syncingTabs = false;
    }
    return found;
}

bool TfmBillBase::chooseTemplate(const QString &lastName)
{
    if (m_cbTypes->findText(lastName) < 0)
        return false;
    if (templateListText() != lastName)
        setCurrentCheckType(lastName);
    templateChanged();
    return true;
}

void TfmBillBase::templateChanged()
{
    MustSavechange();
    const QString name = templateListText();
    m_checkTypeId = Lookups(m_ctx.db()).loadCheckTypeIDByFirstAndLastName(m_family.family, name);
    initFormType();
    if (m_amount)
        setJEXX(amountText());
    updateCaption();
    m_ctx.currentCheckTypeId = m_checkTypeId;
    setProperty("tag", m_checkTypeId);
    setCurrentCheckType(name);
}

void TfmBillBase::initFormType()
{
    m_ini = CheckIniCache(m_ctx).OpenCheckInif(m_checkTypeId);
    if (m_checkTypeId == m_laidOutId)
        return;
    // Values the template gives its fields are no change of the user's.
    const bool wasClean = !changedSinceClean();
    loadParam(m_checkTypeId, templateListText());
    loadCheckBoxsConfig();
    setFormControlsPosition(m_ctx.db(), m_family.family, this, m_ini.get());
    // A do-not-print option stays in force over a template change: the
    // layout has just shown its fields again.
    reapplySuppressions();
    fitAllFieldFonts();
    afterLayout();
    for (const QString &name : dictionaryLists()) {
        if (auto *list = qobject_cast<QComboBox *>(field(name))) {
            const QSignalBlocker quiet(list);
            const QString text = list->currentText();
            list->clear();
            list->setEditText(text);
        }
        m_filledLists.removeAll(name.toUpper());
    }
    m_laidOutId = m_checkTypeId;
    if (wasClean)
        markClean();
}

int TfmBillBase::chromeHeight() const
{
    return m_toolBar->sizeHint().height() + m_templateRow->sizeHint().height() + m_optionBar->sizeHint().height();
}

void TfmBillBase::applySizeLimits()
{
    if (m_pictureSize.isEmpty())
        return;
    m_limits = BillWindowLimits::compute(m_pictureSize, m_host.workArea(), chromeHeight());
    // The width limits can cross by a few pixels; the lower one wins.
    const int maxWidth = qMax(m_limits.maxWidth, m_limits.minWidth);
    setMinimumSize(m_limits.minWidth, m_limits.minHeight);
    setMaximumSize(maxWidth, m_limits.maxHeight);
    resize(maxWidth, m_limits.height);
    fitFrameToWindow();
}

void TfmBillBase::fitFrameToWindow()
{
    // The MDI frame keeps the size it was given. A frame taller or wider
    // than the window, whose size is fixed by its template, centres it:
    // an empty band shows above the tool bar (a stored bill reopened on a
    // smaller template than the one shown); a smaller one cuts it off.
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!sub || sub->isMaximized() || sub->isMinimized() || m_pictureSize.isEmpty())
        return;
    QMargins frame = sub->contentsMargins();
    if (sub->layout())
        frame += sub->layout()->contentsMargins();
    const QSize window(qMax(m_limits.maxWidth, m_limits.minWidth), m_limits.height);
    sub->resize(window.grownBy(frame));
}

void TfmBillBase::fitFieldFont(QLineEdit *edit)
{
    constexpr int kNormal = 9;
    constexpr int kSmallest = 6;
    QFont font = edit->font();
    const int room = edit->width() - 6;  // frame and the edit's own margins
    int size = kNormal;
    for (; size > kSmallest; --size) {
        font.setPointSize(size);
        if (QFontMetrics(font).horizontalAdvance(edit->text()) <= room)
            break;
    }
    font.setPointSize(size);
    if (edit->font().pointSize() != size)
        edit->setFont(font);
}

void TfmBillBase::fitAllFieldFonts()
{
    const QList<QLineEdit *> edits = m_panel->findChildren<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly);
    for (QLineEdit *edit : edits)
        fitFieldFont(edit);
}

void TfmBillBase::loadParam(int id, const QString &name)
{
    if (id <= 0 || name.isEmpty())
        return;
    const std::optional<TCheckType> type = TCheckType::findById(m_ctx.db(), id);
    if (!type)
        return;
    const QSize picture(type->TWidth, type->THeight);
    m_pictureSize = picture;
    applySizeLimits();

    loadCheckBox(type->CheckBoxs);

    m_panel->setFixedSize(picture);
    m_bgImage->setGeometry(QRect(QPoint(0, 0), picture));
    const QString file = type->ImgFile.isEmpty() ? TCheckType::fallbackPicture() : type->ImgFile;
    QPixmap pixmap;
    if (pixmap.load(m_ctx.dataRoot().imageFolder() + file))
        m_bgImage->setPixmap(pixmap);  // drawn at its natural size from the top-left corner
    else
        m_bgImage->clear();
    m_bgImage->lower();
}

void TfmBillBase::loadCheckBox(const QString &captions)
{
    for (QCheckBox *box : std::as_const(m_tickBoxes))
        box->hide();
    m_tickBoxes.clear();
    const QString text = captions.trimmed();
    if (text.isEmpty())
        return;
    const QStringList pieces = splitString(text, QStringLiteral(","));
    for (int i = 0; i < pieces.size(); ++i) {
        const QString name = QStringLiteral("defCheck") + QString::number(i);
        auto *box = qobject_cast<QCheckBox *>(field(name));
        if (!box) {
            box = new QCheckBox(m_panel);
            box->setObjectName(name);
            connect(box, &QCheckBox::toggled, this, &TfmBillBase::fieldEdited);
        }
        box->setText(pieces.at(i));
        box->setToolTip(pieces.at(i));
        box->setAutoFillBackground(true);
        QPalette pal = box->palette();
        pal.setColor(QPalette::Window, QColor(255, 185, 185));
        box->setPalette(pal);
        box->setStyleSheet(QStringLiteral("QCheckBox { background: rgb(255,185,185); }"));
        box->move(20 * i, 30 * i);
        box->hide();
        m_tickBoxes.append(box);
    }
}

void TfmBillBase::loadCheckBoxsConfig()
{
    for (const auto &[name, rule] : std::as_const(m_remembered))
        if (QCheckBox *box = option(name))
            box->setChecked(CheckIniCache::checkConfigFlag(m_ini.get(), name, rule == Remember::OnUnlessZero));
    if (m_moneyType)
        setMoneyName(CheckIniCache::checkConfig(m_ini.get(), QStringLiteral("cfgDefaultMoney")));
    renderDate();
    if (m_amount)
        setJEXX(amountText());
}

QString TfmBillBase::getItemCheckTitle() const
{
    QStringList ticked;
    for (const QCheckBox *box : m_tickBoxes)
        if (box->isChecked())
            ticked << box->text();
    return ticked.join(QLatin1Char(','));
}

void TfmBillBase::setItemCheckTitle(const QString &text)
{
    for (QCheckBox *box : std::as_const(m_tickBoxes))
        box->setChecked(false);
    const QStringList pieces = splitString(text, QStringLiteral(","));
    for (QCheckBox *box : std::as_const(m_tickBoxes))
        if (pieces.contains(box->text()))
            box->setChecked(true);
}

void TfmBillBase::tabChanged(int index)
{
    if (m_syncingTabs || index < 0)
        return;
    inputJEXXExit();
    const QString text = m_tabs->tabText(index);
    if (text == kCommonTemplatesTab) {
        m_ctx.currentCheckTypeId = m_checkTypeId;
        m_host.runCommand(kTemplateCatalogue);
        setCurrentCheckType(templateListText());
        return;
    }
    if (text.isEmpty() || text == templateListText())
        return;
    if (setCurrentCheckType(text))
        templateChanged();
    else
        tell(QStringLiteral("模板(") + text
             + QStringLiteral(")不存在或被重命名了，请关闭填单界面并重新填开,以刷新模板列表！"));
}

QStringList TfmBillBase::dictionaryLists() const
{
    return {QStringLiteral("zdYT"), QStringLiteral("zdDef1"), QStringLiteral("zdDef2")};
}

QStringList TfmBillBase::suppressedFields(const QString &option) const
{
    if (option == QLatin1String("cfgNoPrtDate"))
        return {QStringLiteral("zdNian"), QStringLiteral("zdYue"), QStringLiteral("zdRi"), QStringLiteral("SelDate"),
                QStringLiteral("cgNian"), QStringLiteral("cgYue"), QStringLiteral("cgRi")};
    if (option == QLatin1String("cfgNoPrtJEXX")) {
        QStringList names{QStringLiteral("zdJEXX")};
        for (const QString &box : digitBoxNames())
            names << box;
        return names;
    }
    if (option == QLatin1String("cfgNoPrtJEDX"))
        return {QStringLiteral("zdJEDX")};
    if (option == QLatin1String("cfgNoPrtOutter"))
        return {QStringLiteral("zdOutComp"), QStringLiteral("zdOutBank"), QStringLiteral("zdOutBankAcct")};
    return {};
}

void TfmBillBase::applySuppression(const QString &optionName)
{
    const QCheckBox *box = option(optionName);
    if (!box)
        return;
    for (const QString &name : suppressedFields(optionName)) {
        if (box->isChecked()) {
            if (QWidget *f = field(name))
                f->hide();
        } else {
            setFormCtlPositionFromIni(name, m_ini.get(), this);
        }
    }
}

void TfmBillBase::reapplySuppressions()
{
    for (const QString &name : {QStringLiteral("cfgNoPrtDate"), QStringLiteral("cfgNoPrtJEXX"),
                                QStringLiteral("cfgNoPrtJEDX"), QStringLiteral("cfgNoPrtOutter")})
        if (const QCheckBox *box = option(name); box && box->isChecked())
            applySuppression(name);
}

// ---- Amount --------------------------------------------------------------------

AmountStatus TfmBillBase::setJEXX(const QString &text)
{
    return m_amount ? m_amount->setJEXX(text) : AmountStatus::Cleared;
}

void TfmBillBase::WriteToJEGrid(const QString &code, qint64 cents)
{
    if (m_amount)
        m_amount->WriteToJEGrid(code, cents);
}

void TfmBillBase::setMoneyName(const QString &name)
{
    if (m_amount)
        m_amount->setMoneyName(name);
}

QString TfmBillBase::moneyName() const
{
    return m_amount ? m_amount->moneyName() : QString();
}

QString TfmBillBase::getMoneyCode()
{
    return m_amount ? m_amount->getMoneyCode() : QString();
}

void TfmBillBase::inputJEXXExit()
{
    if (m_amount)
        m_amount->inputJEXXExit();
}

bool TfmBillBase::commitTypedInput()
{
    return !m_amount || m_amount->commitPending();
}

QString TfmBillBase::amountText() const
{
    return m_amount ? m_amount->amountText() : QString();
}

// ---- Date ------------------------------------------------------------------------

QDate TfmBillBase::billDate() const
{
    return m_selDate->date();
}

void TfmBillBase::setBillDate(const QDate &date)
{
    {
        const QSignalBlocker quiet(m_selDate);
        m_selDate->setDate(date);
    }
    renderDate();
}

void TfmBillBase::renderDate()
{
    const QDate d = billDate();
    const QString year = d.toString(QStringLiteral("yyyy"));
    const QString month = d.toString(QStringLiteral("MM"));
    const QString day = d.toString(QStringLiteral("dd"));
    const QCheckBox *chinese = option(QStringLiteral("cfgDateChinese"));
    const bool capitals = chinese && chinese->isChecked();
    setFieldText(QStringLiteral("zdNian"), capitals ? dateNumberToChinese(year) : year);
    setFieldText(QStringLiteral("zdYue"), capitals ? dateNumberToChinese(month) : month);
    setFieldText(QStringLiteral("zdRi"), capitals ? dateNumberToChinese(day) : day);
    setFieldText(QStringLiteral("cgNian"), year);
    setFieldText(QStringLiteral("cgYue"), month);
    setFieldText(QStringLiteral("cgRi"), day);
    setFieldText(QStringLiteral("zdNianYueRi"), d.toString(QStringLiteral("yyyy-MM-dd")));
    MustSavechange();
}

// ---- Window life -----------------------------------------------------------------

QWidget *TfmBillBase::frameWidget()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        return sub;
    return this;
}

bool TfmBillBase::worthAsking() const
{
    const QWidget *payee = field(QStringLiteral("zdInComp"));
    const QWidget *capitals = field(QStringLiteral("zdJEDX"));
    return payee && capitals && !FormControls::text(payee).isEmpty() && !FormControls::text(capitals).isEmpty();
}

void TfmBillBase::restorePosition()
{
    IniFile &config = m_ctx.config();
    const QString section = m_family.configSection();
    frameWidget()->move(config.readInteger(section, QStringLiteral("PositionX"), 0),
                        config.readInteger(section, QStringLiteral("PositionY"), 0));
}

void TfmBillBase::storePosition()
{
    IniFile &config = m_ctx.config();
    const QString section = m_family.configSection();
    const QPoint pos = frameWidget()->pos();
    config.writeInteger(section, QStringLiteral("PositionX"), pos.x());
    config.writeInteger(section, QStringLiteral("PositionY"), pos.y());
    config.writeString(section, QStringLiteral("PositionBar"),
                       m_toolBarBottom ? QStringLiteral("bottom") : QStringLiteral("top"));
}

void TfmBillBase::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_positioned) {
        m_positioned = true;
        fitFrameToWindow();  // the frame was made before it held this window
        restorePosition();
    }
}

void TfmBillBase::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    if (!m_saved && worthAsking() && askYesNo(m_family.closeQuestion, m_family.closeCaption)) {
        // A bill the user wanted kept but that could not be stored stays
        // open, so nothing typed is lost.
        if (save() == BillSaveResult::Failed) {
            event->ignore();
            return;
        }
    }
    storePosition();
    m_ini.reset();
    m_bgImage->clear();
    m_host.setBackgroundMenuEnabled(true);
    m_ctx.currentCheckTypeId = -1;
    m_closed = true;
    event->accept();
}

bool TfmBillBase::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_bgImage && event->type() == QEvent::MouseButtonPress) {
        pictureClicked();
        return false;
    }
    if (watched == m_cbTypes && event->type() == QEvent::FocusIn) {
        m_cbTypes->setMaxVisibleItems(screenHeight() <= 1000 ? 26 : 35);
        return false;
    }
    if (event->type() == QEvent::MouseButtonDblClick && watched->property("selectAllOnDoubleClick").toBool()) {
        if (auto *edit = qobject_cast<QLineEdit *>(watched)) {
            edit->selectAll();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (auto *edit = qobject_cast<QLineEdit *>(watched);
            edit && edit->parentWidget() && edit->parentWidget()->property("selectAllOnDoubleClick").toBool()) {
            edit->selectAll();
            return true;
        }
    }
    auto *list = qobject_cast<QComboBox *>(watched);
    if (list && list->parentWidget() == m_panel) {
        const QString name = list->objectName();
        if (event->type() == QEvent::FocusIn) {
            fillListOnEntry(name);
            if (name.compare(QLatin1String("zdInComp"), Qt::CaseInsensitive) == 0
                && list->currentText() == kPayeeStartText) {
                // Typing replaces the starting text.
                QTimer::singleShot(0, list, [list] {
                    if (list->lineEdit())
                        list->lineEdit()->selectAll();
                });
            }
        } else if (event->type() == QEvent::FocusOut
                   && name.compare(QLatin1String("zdOutComp"), Qt::CaseInsensitive) == 0) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                drawerFieldLeft();
        } else if (event->type() == QEvent::KeyPress
                   && name.compare(QLatin1String("zdInComp"), Qt::CaseInsensitive) == 0) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                payeeCodeEntered();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace billprint
