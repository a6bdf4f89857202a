#include "bills/ui/tfm_check_zp.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/lookups.h"
#include "bills/cheque_rules.h"
#include "bills/ui/bill_conversion.h"
#include "bills/ui/party_frame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>

namespace billprint {

TfmCheckZP::TfmCheckZP(AppContext &context, const BillWindowHost &host, QWidget *parent)
    : TfmBillBase(context, BillFamilyInfo::cheque(), host, parent)
{
    buildChequeFields();
    addMoneyBillFields();
    addMoneyBillOptions();
    buildChequeOptions();
    addCommand(QStringLiteral("存收款人"), QStringLiteral("把收款人存入单位资料"), [this] { savePayee(); },
               QStyle::SP_DriveHDIcon);
    addCommand(QStringLiteral("转进账单(&T)"), QStringLiteral("转一张进账单"), [this] { convertToDepositSlip(); },
               QStyle::SP_ArrowForward);
    setFieldText(QStringLiteral("zdInComp"), kPayeeStartText);
    openWindow();
}

void TfmCheckZP::buildChequeFields()
{
    QComboBox *drawer = addList(QStringLiteral("zdOutComp"), QStringLiteral("出票单位全称，支持助记码输入"), 200);
    selectAllOnDoubleClick(drawer);
    selectAllOnDoubleClick(addEdit(QStringLiteral("zdOutBank"), QStringLiteral("出票开户行名称"), 40));
    selectAllOnDoubleClick(addList(QStringLiteral("zdOutBankAcct"), QStringLiteral("出票开户号账号"), 200));
    selectAllOnDoubleClick(addList(QStringLiteral("zdInComp"), QStringLiteral("收款单位全称,支持助记码输入"), 200));
    addEdit(QStringLiteral("cgInComp"), QString(), 40);
    QComboBox *purpose = addList(QStringLiteral("zdYT"), QStringLiteral("用途"));
    selectAllOnDoubleClick(purpose);
    connect(purpose, &QComboBox::editTextChanged, this, &TfmCheckZP::setYongTu);
    addEdit(QStringLiteral("cgYT"), QString(), 40);
    addEdit(QStringLiteral("zdZFMM"), QStringLiteral("支付密码"), 40);
    QComboBox *number = addList(QStringLiteral("zdPJBH"), QStringLiteral("票据编号"));
    connect(number, &QComboBox::textActivated, this, [this](const QString &text) { numberPicked(text); });
    addEdit(QStringLiteral("cgNian"));
    addEdit(QStringLiteral("cgYue"));
    addEdit(QStringLiteral("cgRi"));
    addReadOnly(QStringLiteral("zdNianYueRi"));
    addFrame(QStringLiteral("shpHKR"), QStringLiteral("点击选取出票账户"), Qt::DotLine);
    addFrame(QStringLiteral("shpskr"), QStringLiteral("点击选取收款单位"), Qt::DashDotLine);
}

void TfmCheckZP::buildChequeOptions()
{
    for (QCheckBox *box : {addOption(QStringLiteral("cfgPrintOutBank"), QStringLiteral("打印付款银行"), Remember::OnWhenOne),
                           addOption(QStringLiteral("cfgPrintOutBankAcct"), QStringLiteral("打印出票账号"),
                                     Remember::OnWhenOne)})
        connect(box, &QCheckBox::clicked, this, [this] { renderDate(); });
}

QComboBox *TfmCheckZP::numberList() const
{
    return qobject_cast<QComboBox *>(field(QStringLiteral("zdPJBH")));
}

void TfmCheckZP::fillFamilyLists()
{
    if (auto *purpose = qobject_cast<QComboBox *>(field(QStringLiteral("zdYT")))) {
        const QSignalBlocker quiet(purpose);
        const QString text = purpose->currentText();
        purpose->clear();
        purpose->setEditText(text);
    }
    loadNumberList();
}

void TfmCheckZP::loadNumberList()
{
    QComboBox *list = numberList();
    const QSignalBlocker quiet(list);
    const QString text = list->currentText();
    list->clear();
    list->addItems(Lookups(context().db())
                       .loadCheckNOList(familyInfo().historyTable, BillStatus::Unused, BillColumn::Number));
    list->setEditText(text);
}

QStringList TfmCheckZP::offeredNumbers() const
{
    QStringList numbers;
    const QComboBox *list = numberList();
    for (int i = 0; i < list->count(); ++i)
        numbers << list->itemText(i);
    return numbers;
}

void TfmCheckZP::setYongTu(const QString &text)
{
    setFieldText(QStringLiteral("zdYT"), text);
    setFieldText(QStringLiteral("cgYT"), text);
}

void TfmCheckZP::clearPurpose()
{
    setYongTu(QString());
}

void TfmCheckZP::numberPicked(const QString &number)
{
    if (isLoading())
        return;
    MustSavechange();
    // A number can be on several rows (an issued cheque and a recorded
    // one); the recorded row is the one this cheque completes.
    const std::optional<BillRecord> row =
        BillRecordStore(context().db(), familyInfo().historyTable).findByNumber(number.trimmed(), BillStatus::Unused);
    if (!row)
        return;
    setOutBank(row->text(BillColumn::DrawerBank));
    setOutBankAcct(row->text(BillColumn::DrawerAccount));
    takeStoredRow(row->serial, BillStatus::Unused);
    const QString templateName = row->text(BillColumn::TemplateName);
    if (!templateName.isEmpty() && templateName != templateListText()) {
        setCurrentCheckType(templateName);
        templateChanged();
    } else {
        updateCaption();
    }
}

void TfmCheckZP::writeColumns(BillRecord &record) const
{
    record.set(BillColumn::Number, fieldText(QStringLiteral("zdPJBH")));
    record.set(BillColumn::Status, BillStatus::Used);
    record.set(BillColumn::Payee, payeeText());
    record.set(BillColumn::Drawer, fieldText(QStringLiteral("zdOutComp")));
    record.set(BillColumn::DrawerAccount, fieldText(QStringLiteral("zdOutBankAcct")));
    record.set(BillColumn::DrawerBank, fieldText(QStringLiteral("zdOutBank")));
    record.set(BillColumn::Password, fieldText(QStringLiteral("zdZFMM")));
    record.set(BillColumn::Purpose, fieldText(QStringLiteral("zdYT")));
}

void TfmCheckZP::readColumns(const BillRecord &record)
{
    setFieldText(QStringLiteral("zdPJBH"), record.text(BillColumn::Number));
    setInComp(record.text(BillColumn::Payee));
    setYongTu(record.text(BillColumn::Purpose));
    setFieldText(QStringLiteral("zdZFMM"), record.text(BillColumn::Password));
    setOutComp(record.text(BillColumn::Drawer));
    setOutBankAcct(record.text(BillColumn::DrawerAccount));
    setOutBank(record.text(BillColumn::DrawerBank));
}

QString TfmCheckZP::saveGuard(const BillRecord &stored) const
{
    return chequeSaveGuard(stored);
}

void TfmCheckZP::afterSave()
{
    // A number is offered only until it has been used.
    const QString number = fieldText(QStringLiteral("zdPJBH"));
    if (number.isEmpty())
        return;
    QComboBox *list = numberList();
    const int at = list->findText(number);
    if (at < 0)
        return;
    const QSignalBlocker quiet(list);
    list->removeItem(at);
    list->setEditText(number);
}

bool TfmCheckZP::skipPrintItem(const QString &name) const
{
    const QCheckBox *bank = option(QStringLiteral("cfgPrintOutBank"));
    const QCheckBox *account = option(QStringLiteral("cfgPrintOutBankAcct"));
    return chequeSkipsPrintItem(name, bank && bank->isChecked(), account && account->isChecked());
}

void TfmCheckZP::clearBillNumber(bool withList)
{
    QComboBox *list = numberList();
    if (withList) {
        const QSignalBlocker quiet(list);
        list->clear();
    }
    list->setEditText(QString());
}

void TfmCheckZP::convertToDepositSlip()
{
    if (!commitTypedInput())
        return;
    TfmBillBase *deposit = host().openBillWindow(BillFamilyInfo::depositSlip().family);
    if (!deposit) {
        tell(QStringLiteral("进账单填开窗口无法打开！"), QStringLiteral("提示"), AlertIcon::Warning);
        return;
    }
    convertChequeToDeposit(*this, *deposit);
}

} // namespace billprint
