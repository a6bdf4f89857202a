#pragma once

// 100 000 cheques over three years, as a busy office stores them: the
// history benchmarks of both engines read the same rows.
#include "app/database.h"
#include "history/history_list_model.h"

#include <QDate>
#include <QSqlQuery>
#include <benchmark/benchmark.h>
#include <functional>

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

// Runs a filter over `db` as the history window does: the statement, the
// count and sum, and the first page of rows.
inline void runChequeFilter(benchmark::State &state, const Database &db,
                            const std::function<void(HistoryFilter &)> &set)
{
    const HistoryFamily &family = HistoryFamily::cheque();
    HistoryListModel model(db, family);
    HistoryFilter filter;
    set(filter);
    for (auto _ : state) {
        const HistoryStatement st =
            buildHistoryStatement(family, filter, HistoryOrdering(family.order).next(), db.dialect());
        if (!model.run(st))
            return state.SkipWithError("query failed");
        benchmark::DoNotOptimize(model.summary().sumCents);
        benchmark::DoNotOptimize(model.data(model.index(30, 9)));
    }
    state.counters["rows"] = model.summary().rows;
}

} // namespace billprint::bench
