// The tool bar commands of a bill window besides printing: save, new,
// copy, open the history, remember the options, the tool bar's side, the
// whole-print offset, design mode and the printer setup.
#include "bills/ui/tfm_bill_base.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/ini_file.h"
#include "templates/check_ini_cache.h"
#include "app/lookups.h"
#include "printing/print_run.h"
#include "bills/ui/amount_entry_controller.h"
#include "bills/ui/bill_window_parts.h"
#include "bills/ui/form_layout.h"
#include "bills/ui/template_options.h"
#include "printing/ui/bill_printer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace billprint {

using namespace bill_window;

namespace {

const QString kOffsetCommand = QStringLiteral("打印整体偏移调整(&M)");

} // namespace

BillSaveResult TfmBillBase::saveCommand()
{
    if (!commitTypedInput())
        return BillSaveResult::Failed;
    if (m_history) {
        tell(m_family.historyNoSave, kCaption);
        return BillSaveResult::Declined;
    }
    if (m_saved) {
        tell(QStringLiteral("没有改动,无需保存~"), kCaption);
        return BillSaveResult::AlreadySaved;
    }
    const BillSaveResult result = save();
    setCopyEnabled(true);
    m_announce = true;
    return result;
}

void TfmBillBase::newBill()
{
    m_serial = -1;
    setInComp(QString());
    MustSavechange();
    setFieldText(remarkField(), QString());
    m_history = false;
    updateCaption(QStringLiteral("新建"));
    if (newBillClearsAmount())
        setJEXX(QString());
    clearPurpose();
    setBillDate(QDate::currentDate());
    setCopyEnabled(false);
    markClean();
}

void TfmBillBase::copyBill()
{
    if (m_serial <= 0) {
        if (!unsavedCopyMessage().isEmpty())
            tell(unsavedCopyMessage(), kCaption);
        return;
    }
    if (!commitTypedInput())
        return;
    m_history = false;
    m_serial = -1;
    MustSavechange();
    if (!copyKeepsBillNumber())
        clearBillNumber();
    updateCaption(QStringLiteral("已复制保存过的单据为一张新单"));
}

void TfmBillBase::clearBillNumber(bool)
{
    setFieldText(QStringLiteral("zdPJBH"), QString());
}

void TfmBillBase::openHistory()
{
    m_host.runCommand(m_family.historyCommand);
}

void TfmBillBase::rememberOptions()
{
    if (m_checkTypeId <= 0)
        return;
    QList<QPair<QString, QString>> values;
    for (const auto &[name, rule] : std::as_const(m_remembered))
        if (const QCheckBox *box = option(name))
            values.append({name, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0")});
    values += rememberedValues();
    if (m_moneyType && !m_moneyType->currentText().isEmpty())
        values.append({QStringLiteral("cfgDefaultMoney"), m_moneyType->currentText()});
    QString error;
    switch (rememberTemplateOptions(m_ctx, m_checkTypeId, values, &error)) {
    case RememberedOptions::NotStored:
        tell(QStringLiteral("记住选项失败！") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    case RememberedOptions::CacheNotRebuilt:
        tell(QStringLiteral("记住选项失败！模板缓存无法重建：") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    case RememberedOptions::Remembered:
        break;
    }
    m_ini = CheckIniCache(m_ctx).OpenCheckInif(m_checkTypeId);
    tell(QStringLiteral("打印勾选及选项已记住！"), kCaption);
}

void TfmBillBase::placeToolBar(bool bottom)
{
    m_toolBarBottom = bottom;
    m_layout->removeWidget(m_toolBar);
    if (bottom)
        m_layout->addWidget(m_toolBar);
    else
        m_layout->insertWidget(0, m_toolBar);
    // Qt draws captions under or beside a picture, not above it: at the
    // bottom the captions stand beside the pictures.
    m_toolBar->setToolButtonStyle(bottom ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextUnderIcon);
    if (m_sideAction) {
        m_sideAction->setText(bottom ? QStringLiteral("上") : QStringLiteral("下"));
        m_sideAction->setIcon(style()->standardIcon(bottom ? QStyle::SP_ArrowUp : QStyle::SP_ArrowDown));
    }
}

void TfmBillBase::toggleToolBarSide()
{
    placeToolBar(!m_toolBarBottom);
}

void TfmBillBase::wholePrintOffset()
{
    m_ctx.currentCheckTypeId = m_checkTypeId;
    m_host.runCommand(kOffsetCommand);
}

void TfmBillBase::designModeCommand()
{
    m_host.designMode();
    reLayout();
}

void TfmBillBase::reLayout()
{
    m_ini = CheckIniCache(m_ctx).OpenCheckInif(m_checkTypeId);
    setFormControlsPosition(m_ctx.db(), m_family.family, this, m_ini.get());
    reapplySuppressions();
    fitAllFieldFonts();
}

void TfmBillBase::printerSetup()
{
    showPrinterSetup(m_ctx, this);
}

void TfmBillBase::pictureClicked()
{
    if (m_selDate->isVisible())
        m_selDate->setFocus(Qt::MouseFocusReason);
    else if (m_cbTypes->isVisible())
        m_cbTypes->setFocus(Qt::MouseFocusReason);
    else if (QWidget *print = m_toolBar->widgetForAction(m_commands.value(kPrintOne)))
        print->setFocus(Qt::MouseFocusReason);
    inputJEXXExit();
}

} // namespace billprint
