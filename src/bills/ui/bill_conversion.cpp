#include "bills/ui/bill_conversion.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "bills/ui/tfm_bill_base.h"

namespace billprint {

namespace {

const QString kCaption = QStringLiteral("提示");

void transferPayee(TfmBillBase &from, TfmBillBase &to)
{
    const QString text = from.fieldText(QStringLiteral("zdInComp"));
    if (text.isEmpty() || text == kPayeeStartText) {
        to.setReceiver(std::nullopt);
        return;
    }
    const std::optional<TPerson> record = from.receiver();  // before the trimming below retypes it
    if (!record)
        return;
    const QString name = text.trimmed();
    from.setFieldText(QStringLiteral("zdInComp"), name);
    if (record->fullName() == name) {
        from.keepReceiver(record);
        to.setReceiver(record);
        return;
    }
    if (std::optional<TPerson> unit = TPerson::findByName(from.context().db(), name)) {
        from.keepReceiver(unit);
        to.setReceiver(unit);
    } else {
        to.setInComp(name);
    }
}

void transferDrawer(TfmBillBase &from, TfmBillBase &to)
{
    const QString account = from.fieldText(QStringLiteral("zdOutBankAcct"));
    const QString bank = from.fieldText(QStringLiteral("zdOutBank"));
    if (account.isEmpty() && bank.isEmpty())
        return;
    to.setOutBank(bank);
    to.setOutBankAcct(account);
    if (account.isEmpty())
        return;
    const Database &db = from.context().db();
    if (std::optional<TPerson> unit = TPerson::findByAccount(db, account)) {
        from.keepSender(unit);
        to.setSender(unit);
        if (!bank.isEmpty() && bank != unit->bank())
            tell(QStringLiteral("账号(") + account + QStringLiteral(")的银行信息与填写的不一致，请核对单位账户相应资料.\n")
                     + unit->bank() + QLatin1Char('\n') + bank,
                 kCaption);
        return;
    }
    if (!askYesNo(QStringLiteral("账号(") + account + QStringLiteral(")没有单位账户的保存记录，是否要添加"), kCaption))
        return;
    TPerson drawer;
    drawer.setFullName(from.fieldText(QStringLiteral("zdOutComp")));
    drawer.setBank(bank);
    drawer.setAccount(account);
    drawer.setUnitKind(UnitKind::Own);
    from.host().savePerson(drawer, &from);
    if (std::optional<TPerson> stored = TPerson::findByAccount(db, account))
        to.setSender(stored);
}

} // namespace

void transferParties(TfmBillBase &from, TfmBillBase &to)
{
    transferPayee(from, to);
    transferDrawer(from, to);
}

void convertChequeToDeposit(TfmBillBase &cheque, TfmBillBase &deposit)
{
    deposit.setLoading(true);
    transferParties(cheque, deposit);
    deposit.setLoading(false);

    deposit.setMoneyName(cheque.moneyName());
    const QString amount = cheque.amountText();
    deposit.setFieldText(QStringLiteral("inputJEXX"), amount);
    deposit.setJEXX(amount);

    // The cheque is the one bill paid in with the slip.
    for (const char *prefix : {"zd", "cg"}) {
        deposit.setFieldText(QLatin1String(prefix) + QStringLiteral("PJZL"), QStringLiteral("支票"));
        deposit.setFieldText(QLatin1String(prefix) + QStringLiteral("PJZS"), QStringLiteral("1"));
    }
    deposit.setFieldText(QStringLiteral("zdPJHM"), cheque.fieldText(QStringLiteral("zdPJBH")));
    deposit.setBillDate(cheque.billDate());
    deposit.bringToFront();
}

void convertDepositToCheque(TfmBillBase &deposit, TfmBillBase &cheque)
{
    cheque.setLoading(true);
    transferParties(deposit, cheque);
    cheque.setLoading(false);

    cheque.setMoneyName(deposit.moneyName());
    const QString amount = deposit.amountText();
    cheque.setFieldText(QStringLiteral("inputJEXX"), amount);
    cheque.setJEXX(amount);
    cheque.setFieldText(QStringLiteral("zdPJBH"), deposit.fieldText(QStringLiteral("zdPJHM")));
    cheque.setBillDate(deposit.billDate());
    cheque.bringToFront();
}

} // namespace billprint
