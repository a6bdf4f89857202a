// The bill window's life: made with the date and user-defined fields every
// family has, opened on the family's default template, shown where it was
// left, closed with the question whether to keep the bill, and the events
// of its fields. The header says where the other parts of the class live.
#include "bills/ui/tfm_bill_base.h"

#include "addressbook/default_drawer.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "app/ini_file.h"
#include "app/lookups.h"
#include "templates/check_ini_cache.h"
#include "printing/print_run.h"
#include "bills/ui/amount_entry_controller.h"
#include "bills/ui/bill_window_parts.h"
#include "bills/ui/control_value.h"
#include "bills/ui/form_layout.h"
#include "bills/ui/party_frame.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTimer>

namespace billprint {

using namespace bill_window;

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
    for (const QString &option : noPrintOptions())
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
