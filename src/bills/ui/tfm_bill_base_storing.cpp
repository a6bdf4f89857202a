// Storing a bill window's bill in the family's history table and showing
// a stored one again.
#include "bills/ui/tfm_bill_base.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/lookups.h"
#include "bills/ui/amount_entry_controller.h"
#include "bills/ui/bill_window_parts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace billprint {

using namespace bill_window;

// ---- Storing -------------------------------------------------------------------

QString TfmBillBase::saveGuard(const BillRecord &) const
{
    return QString();
}

void TfmBillBase::writeSharedColumns(BillRecord &record) const
{
    record.set(BillColumn::TemplateName, templateListText());
    record.set(BillColumn::Options, getItemCheckTitle());
    record.set(BillColumn::Remark, fieldText(remarkField()));
    // A user-defined field the template hides leaves its column as it was.
    for (int i = 1; i <= 5; ++i) {
        const QString name = QStringLiteral("zdDef") + QString::number(i);
        if (isFieldShown(name))
            record.set(BillColumn::custom(i), fieldText(name));
    }
    if (m_amount) {
        record.set(BillColumn::Currency, m_moneyType ? m_moneyType->currentText() : moneyName());
        record.set(BillColumn::Amount, amountText());
        record.set(BillColumn::Date, billDate());
    }
}

void TfmBillBase::readSharedColumns(const BillRecord &record)
{
    setItemCheckTitle(record.text(BillColumn::Options));
    if (m_amount) {
        setMoneyName(record.text(BillColumn::Currency));
        setFieldText(QStringLiteral("inputJEXX"), record.text(BillColumn::Amount));
        inputJEXXExit();
    }
    setFieldText(remarkField(), record.text(BillColumn::Remark));
    const QDate date = record.date(BillColumn::Date);
    if (date.isValid())
        setBillDate(date);
    else
        renderDate();
    for (int i = 1; i <= 5; ++i)
        setFieldText(QStringLiteral("zdDef") + QString::number(i), record.text(BillColumn::custom(i)));
}

BillSaveResult TfmBillBase::save()
{
    if (!commitTypedInput())
        return BillSaveResult::Failed;
    if (m_history) {
        if (!askYesNo(QStringLiteral("该单据来自历史单据，历史单据不能修改！\n另存为新单据吗？"),
                      QStringLiteral("单据保存")))
            return BillSaveResult::Declined;
        m_serial = -1;
        if (billDate() != QDate::currentDate()
            && askYesNo(QStringLiteral("票据的日期与当前日期不符！\n修正为当前日期吗？(修正后日期：") + today()
                            + QStringLiteral(")"),
                        QStringLiteral("单据保存")))
            setBillDate(QDate::currentDate());
        MustSavechange();
    }
    if (m_saved) {
        tell(QStringLiteral("已经保存过了！"), kCaption);
        return BillSaveResult::AlreadySaved;
    }
    BillRecord record;
    record.serial = m_serial;
    if (m_serial > 0 && m_serial == m_takenSerial)
        record.takenFromStatus = m_takenStatus;
    writeSharedColumns(record);
    writeColumns(record);
    QString message;
    const BillSaveOutcome outcome = BillRecordStore(m_ctx.db(), m_family.historyTable)
                                        .save(record, [this](const BillRecord &stored) { return saveGuard(stored); },
                                              &message);
    if (outcome == BillSaveOutcome::Refused) {
        tell(message, kCaption);
        return BillSaveResult::Failed;
    }
    if (outcome == BillSaveOutcome::Failed) {
        tell(QStringLiteral("保存失败！\n") + message, QStringLiteral("错误"), AlertIcon::Error);
        return BillSaveResult::Failed;
    }
    m_serial = record.serial;
    m_lastSavedSerial = record.serial;
    // The row is this window's bill now; saving it again is an edit.
    m_takenSerial = -1;
    m_takenStatus.clear();
    if (m_announce)
        tell(outcome == BillSaveOutcome::Updated ? m_family.savedEditedMessage : m_family.savedNewMessage, kCaption);
    m_history = false;
    afterSave();
    setSaved(true);
    updateCaption();
    return BillSaveResult::Written;
}

bool TfmBillBase::BrowseOldCheck(const QString &templateName, const QString &serialText)
{
    m_serial = serialText.trimmed().toInt();
    if (templateName != templateListText()) {
        const int id = templateName.isEmpty()
                           ? m_checkTypeId
                           : Lookups(m_ctx.db()).loadCheckTypeIDByFirstAndLastName(m_family.family, templateName);
        if (id > 0) {
            setCurrentCheckType(templateName);
            m_laidOutId = -1;
            m_checkTypeId = id;
            templateChanged();
        }
    }
    bool loaded = true;
    bool issued = false;
    if (m_serial > 0) {
        m_loading = true;
        QString error;
        const std::optional<BillRecord> row =
            BillRecordStore(m_ctx.db(), m_family.historyTable).load(m_serial, &error);
        if (row) {
            readSharedColumns(*row);
            readColumns(*row);
            issued = storedAsIssued(*row);
            takeStoredRow(m_serial, issued ? QString() : row->text(BillColumn::Status).trimmed());
        }
        m_loading = false;
        if (!error.isEmpty()) {
            loaded = false;
            tell(QStringLiteral("调出历史数据失败！"), kCaption);
        }
    }
    if (issued) {
        setSaved(true);
        m_history = true;
        updateCaption(QStringLiteral("历史"));
    } else {
        setSaved(false);
        m_history = false;
        updateCaption(QStringLiteral("新"));
    }
    setCopyEnabled(m_saved);
    markClean();
    bringToFront();
    return loaded;
}

void TfmBillBase::takeStoredRow(int serial, const QString &status)
{
    m_serial = serial;
    m_takenSerial = status.isEmpty() ? -1 : serial;
    m_takenStatus = status;
}

bool TfmBillBase::storedAsIssued(const BillRecord &row) const
{
    const QString status = row.text(BillColumn::Status).trimmed();
    return !status.isEmpty() && status != BillStatus::Unused;
}

void TfmBillBase::bringToFront()
{
    QWidget *frame = frameWidget();
    frame->show();
    frame->raise();
    if (auto *sub = qobject_cast<QMdiSubWindow *>(frame); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
}

void TfmBillBase::updateCaption(const QString &tag)
{
    QString title = m_family.family + QStringLiteral("(") + templateListText() + QStringLiteral(")-ID=")
                    + QString::number(m_serial);
    if (!tag.isEmpty())
        title += QStringLiteral("[") + tag + QStringLiteral("]");
    setWindowTitle(title);
}

} // namespace billprint
