#include "bills/cheque_rules.h"

#include "bills/bill_record.h"

namespace billprint {

bool chequeSkipsPrintItem(const QString &name, bool printOutBank, bool printOutBankAcct)
{
    const QString n = name.trimmed();
    if (n.compare(QLatin1String("zdOutBank"), Qt::CaseInsensitive) == 0)
        return !printOutBank;
    if (n.compare(QLatin1String("zdOutBankAcct"), Qt::CaseInsensitive) == 0)
        return !printOutBankAcct;
    return false;
}

QString chequeSaveGuard(const BillRecord &stored)
{
    if (stored.text(BillColumn::Status).trimmed() == BillStatus::Void)
        return QStringLiteral("支票已经作废,保存失败！");
    return QString();
}

} // namespace billprint
