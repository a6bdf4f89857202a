#pragma once

// 100 000 cheques over three years, as a busy office stores them: the
// history benchmarks of both engines read the same rows.
#include "app/database.h"

#include <QDate>
#include <QSqlQuery>

namespace billprint::bench {

constexpr int kStoredCheques = 100000;

inline bool storeCheques(const Database &db, int count = kStoredCheques)
{
    return db.transaction([&] {
        QSqlQuery q = db.prepare(QStringLiteral(
            "insert into DataZPTable (模板种类, 票据编号, 票据状态, 币种, 金额, 出票日期, 收款人全称, 出票人全称, "
            "出票人账号, 付款行名称, 用途) values (?, ?, ?, '人民币', ?, ?, ?, '我方公司', ?, '工商银行', '货款')"));
        const QDate first(2022, 1, 1);
        for (int i = 0; i < count; ++i) {
            q.addBindValue(i % 2 ? QStringLiteral("通用转账支票") : QStringLiteral("通用现金支票"));
            q.addBindValue(QStringLiteral("%1").arg(10000000 + i));
            q.addBindValue(i % 50 == 0 ? QStringLiteral("作废") : QStringLiteral("已用"));
            q.addBindValue(QString::number((i * 37) % 100000 / 100.0 + 1, 'f', 2));
            q.addBindValue(first.addDays(i % 1095).toString(Qt::ISODate));
            q.addBindValue(QStringLiteral("往来单位%1有限公司").arg(i % 2000));
            q.addBindValue(QStringLiteral("6222%1").arg(i % 5, 8, 10, QLatin1Char('0')));
            if (!q.exec())
                return false;
        }
        return true;
    });
}

} // namespace billprint::bench
