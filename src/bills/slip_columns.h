// History columns of the deposit slip and the cash payment slip beyond
// those every family shares (bills/bill_record.h).
#pragma once

#include <QString>

namespace billprint::BillColumn {

inline const QString PayeeBank = QStringLiteral("收款人开户行");
inline const QString PayeeAccount = QStringLiteral("收款人账号");
inline const QString PayeeContact = QStringLiteral("收款人联系人");
inline const QString DepositedKind = QStringLiteral("票据种类");
inline const QString DepositedCount = QStringLiteral("票据张数");
inline const QString DepositedNumber = QStringLiteral("票据号码");

} // namespace billprint::BillColumn
