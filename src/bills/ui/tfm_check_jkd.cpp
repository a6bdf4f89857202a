#include "bills/ui/tfm_check_jkd.h"

#include "app/app_context.h"
#include "app/lookups.h"
#include "bills/bill_parties.h"
#include "bills/slip_columns.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>

namespace billprint {

TfmCheckJKD::TfmCheckJKD(AppContext &context, const BillWindowHost &host, QWidget *parent)
    : TfmBankSlip(context, BillFamilyInfo::cashSlip(), host, parent)
{
    selectAllOnDoubleClick(addList(QStringLiteral("zdInComp"), QStringLiteral("收款单位全称"), 200));
    selectAllOnDoubleClick(addEdit(QStringLiteral("zdInBank"), QString(), 40));
    selectAllOnDoubleClick(addList(QStringLiteral("zdInBankAcct"), QString(), 200));
    addList(QStringLiteral("zdInContactor"), QStringLiteral("缴款人"));
    addList(QStringLiteral("zdYT"), QStringLiteral("款项来源"));
    addReadOnly(QStringLiteral("zdMoney"));
    addEdit(QStringLiteral("zdPJBH"), QStringLiteral("票据编号"));
    addFrame(QStringLiteral("shpskr"), QStringLiteral("点击选取收款单位"), Qt::DashDotLine);
    addMoneyBillFields();
    addSlipOptions(false);
    addCommand(QStringLiteral("存收款人"), QStringLiteral("把收款人存入单位资料"), [this] { savePayeeAccount(); },
               QStyle::SP_DriveHDIcon);
    setFieldText(QStringLiteral("zdInComp"), kPayeeStartText);
    openWindow();
    finishSlip();
}

void TfmCheckJKD::payeeNameTyped(const QString &name)
{
    // The first unit of that name gives bank and account; the payee stays
    // as typed.
    if (std::optional<TPerson> unit = findUnitByTrimmedName(context().db(), name)) {
        setInBank(unit->bank());
        setInBankAcct(unit->account());
    }
}

QStringList TfmCheckJKD::dictionaryLists() const
{
    return TfmBankSlip::dictionaryLists() << QStringLiteral("zdInContactor");
}

void TfmCheckJKD::fillListOnEntry(const QString &name)
{
    static const QHash<QString, QString> entries{{QStringLiteral("ZDYT"), QStringLiteral("自定义1")},
                                                 {QStringLiteral("ZDINCONTACTOR"), QStringLiteral("缴款人")}};
    const QString entry = entries.value(name.toUpper());
    auto *list = qobject_cast<QComboBox *>(field(name));
    if (entry.isEmpty() || !list) {
        TfmBankSlip::fillListOnEntry(name);
        return;
    }
    if (list->count() > 0)
        return;
    const Lookups lookups(context().db());
    QStringList items = lookups.loadDMListByName(entry, QString::number(checkTypeId()));
    if (items.isEmpty())
        items = lookups.loadDMListByName(entry, QStringLiteral("0"));
    const QSignalBlocker quiet(list);
    const QString text = list->currentText();
    list->addItems(items);
    list->setEditText(text);
}

void TfmCheckJKD::writeColumns(BillRecord &record) const
{
    record.set(BillColumn::Number, fieldText(QStringLiteral("zdPJBH")));
    record.set(BillColumn::Purpose, fieldText(QStringLiteral("zdYT")));
    record.set(BillColumn::PayeeContact, fieldText(QStringLiteral("zdInContactor")));
    record.set(BillColumn::Payee, payeeText());
    record.set(BillColumn::PayeeBank, fieldText(QStringLiteral("zdInBank")));
    record.set(BillColumn::PayeeAccount, fieldText(QStringLiteral("zdInBankAcct")));
}

void TfmCheckJKD::readColumns(const BillRecord &record)
{
    setFieldText(QStringLiteral("zdPJBH"), record.text(BillColumn::Number));
    setFieldText(QStringLiteral("zdInContactor"), record.text(BillColumn::PayeeContact));
    setFieldText(QStringLiteral("zdYT"), record.text(BillColumn::Purpose));
    setInComp(record.text(BillColumn::Payee));
    setInBank(record.text(BillColumn::PayeeBank));
    setInBankAcct(record.text(BillColumn::PayeeAccount));
}

} // namespace billprint
