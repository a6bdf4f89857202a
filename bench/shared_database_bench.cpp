// The shared database on a PostgreSQL server, reached through its local
// socket: the cheque history over 100 000 stored cheques (filter, count
// and sum, first page) must come back in well under 100 ms, and saving one
// bill must take well under 20 ms.
//
// The server is named by BILLPRINT_BENCH_PG_URL (its maintenance database,
// e.g. postgresql://billprint-pg@/postgres?host=/tmp/pg); the benchmark
// makes a database of its own there and drops it at the end. Without the
// variable the benchmarks are skipped with the reason.
#include "app/database.h"
#include "bills/bill_record.h"
#include "history/history_list_model.h"
#include "bench_root.h"
#include "filled_cheques.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUrl>
#include <QCoreApplication>
#include <benchmark/benchmark.h>

using namespace billprint;

namespace {

QString serverUrl(const QString &databaseName)
{
    QUrl url(qEnvironmentVariable("BILLPRINT_BENCH_PG_URL"));
    url.setPath(QLatin1Char('/') + databaseName);
    return url.toString();
}

// Creates and drops the benchmark's database through the maintenance one.
bool onServer(const QString &statement)
{
    bool ok = false;
    {
        QString error;
        const DatabaseUrl url = DatabaseUrl::parse(qEnvironmentVariable("BILLPRINT_BENCH_PG_URL"), &error);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-admin"));
        db.setDatabaseName(url.databaseName);
        db.setUserName(url.user);
        db.setHostName(url.host);
        if (url.port > 0)
            db.setPort(url.port);
        ok = db.open() && QSqlQuery(db).exec(statement);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
    return ok;
}

// One shared database with 100 000 cheques over three years, built once.
class SharedChequeHistory
{
public:
    static SharedChequeHistory &instance()
    {
        static SharedChequeHistory history;
        return history;
    }
    Database *db() const { return m_db.get(); }
    const QString &error() const { return m_error; }

private:
    SharedChequeHistory()
        : m_name(QStringLiteral("billprint_bench_%1").arg(QCoreApplication::applicationPid()))
    {
        if (qEnvironmentVariableIsEmpty("BILLPRINT_BENCH_PG_URL")) {
            m_error = QStringLiteral("BILLPRINT_BENCH_PG_URL names no PostgreSQL server");
            return;
        }
        if (!onServer(QStringLiteral("create database %1").arg(m_name))) {
            m_error = QStringLiteral("cannot create the benchmark's database on the server");
            return;
        }
        benchCleanups().push_back([this] {
            m_db.reset();
            onServer(QStringLiteral("drop database if exists %1 with (force)").arg(m_name));
        });
        m_db = Database::openShared(DatabaseUrl::parse(serverUrl(m_name), &m_error), true, &m_error);
        if (m_db && !fill(*m_db))
            m_error = QStringLiteral("cannot store the cheques");
    }

    static bool fill(const Database &db)
    {
        return bench::storeCheques(db) && db.exec(QStringLiteral("analyze"));
    }

    QString m_name;
    std::unique_ptr<Database> m_db;
    QString m_error;
};

Database *sharedHistory(benchmark::State &state)
{
    SharedChequeHistory &history = SharedChequeHistory::instance();
    if (!history.db())
        state.SkipWithError(history.error().toUtf8().constData());
    return history.db();
}

void runFilter(benchmark::State &state, const std::function<void(HistoryFilter &)> &set)
{
    Database *db = sharedHistory(state);
    if (!db)
        return;
    bench::runChequeFilter(state, *db, set);
}

} // namespace

static void BM_SharedHistoryPayeeLastMonth(benchmark::State &state)
{
    runFilter(state, [](HistoryFilter &f) {
        f.secondParty = QStringLiteral("往来单位17有限公司");
        f.exact = true;
        f.anyDate = false;
        f.from = QDate(2024, 11, 1);
        f.to = QDate(2024, 12, 31);
    });
}
BENCHMARK(BM_SharedHistoryPayeeLastMonth)->Unit(benchmark::kMillisecond);

static void BM_SharedHistoryAmountRange(benchmark::State &state)
{
    runFilter(state, [](HistoryFilter &f) {
        f.minAmount = QStringLiteral("500");
        f.maxAmount = QStringLiteral("520");
    });
}
BENCHMARK(BM_SharedHistoryAmountRange)->Unit(benchmark::kMillisecond);

static void BM_SharedHistoryAllCheques(benchmark::State &state)
{
    runFilter(state, [](HistoryFilter &) {});
}
BENCHMARK(BM_SharedHistoryAllCheques)->Unit(benchmark::kMillisecond);

// One cheque saved as the cheque window saves it: a new row in its own
// transaction, its serial read back.
static void BM_SharedSaveOneCheque(benchmark::State &state)
{
    Database *db = sharedHistory(state);
    if (!db)
        return;
    const BillRecordStore store(*db, QStringLiteral("DataZPTable"));
    int saved = 0;
    for (auto _ : state) {
        BillRecord record;
        record.set(QStringLiteral("票据编号"), QStringLiteral("2%1").arg(saved, 7, 10, QLatin1Char('0')));
        record.set(QStringLiteral("票据状态"), QStringLiteral("已用"));
        record.set(QStringLiteral("金额"), QStringLiteral("1234.50"));
        record.set(QStringLiteral("出票日期"), QDate(2026, 12, 10));
        record.set(QStringLiteral("收款人全称"), QStringLiteral("O'Brien 贸易有限公司"));
        if (store.save(record) != BillSaveOutcome::Appended)
            return state.SkipWithError("save failed");
        ++saved;
    }
}
BENCHMARK(BM_SharedSaveOneCheque)->Unit(benchmark::kMillisecond);
