// The cheque history over 100 000 stored cheques: a filter, the count and
// the sum, and the first screen of the grid. Each must come back in well
// under 100 ms.
#include "app/database.h"
#include "history/history_list_model.h"
#include "history/ui/tfm_search_base.h"
#include "bench_root.h"
#include "filled_cheques.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSqlQuery>
#include <benchmark/benchmark.h>
#include <tuple>

using namespace billprint;

namespace {

// One data root with 100 000 cheques over three years, built once.
class FilledChequeHistory
{
public:

    static FilledChequeHistory &instance()
    {
        static FilledChequeHistory history;
        return history;
    }
    BenchRoot &root() { return m_root; }

private:
    FilledChequeHistory()
    {
        if (!m_root.isOpen())
            return;
        bench::storeCheques(m_root.db());
    }

    BenchRoot m_root;
};

// Runs a filter as the window does: the statement, count and sum, and
// the first page of rows.
void runFilter(benchmark::State &state, const std::function<void(HistoryFilter &)> &set)
{
    BenchRoot &root = FilledChequeHistory::instance().root();
    if (!root.checkOpen(state))
        return;
    bench::runChequeFilter(state, root.db(), set);
}

} // namespace

static void BM_HistoryAllCheques(benchmark::State &state)
{
    runFilter(state, [](HistoryFilter &) {});
}
BENCHMARK(BM_HistoryAllCheques)->Unit(benchmark::kMillisecond);

static void BM_HistoryPayeeContains(benchmark::State &state)
{
    runFilter(state, [](HistoryFilter &f) { f.secondParty = QStringLiteral("单位199有限"); });
}
BENCHMARK(BM_HistoryPayeeContains)->Unit(benchmark::kMillisecond);

static void BM_HistoryPayeeExact(benchmark::State &state)
{
    runFilter(state, [](HistoryFilter &f) {
        f.secondParty = QStringLiteral("往来单位199有限公司");
        f.exact = true;
    });
}
BENCHMARK(BM_HistoryPayeeExact)->Unit(benchmark::kMillisecond);

static void BM_HistoryLastMonth(benchmark::State &state)
{
    runFilter(state, [](HistoryFilter &f) {
        f.anyDate = false;
        std::tie(f.from, f.to) = dateNodeRange(DateNode::LastMonth, QDate(2024, 12, 31));
    });
}
BENCHMARK(BM_HistoryLastMonth)->Unit(benchmark::kMillisecond);

static void BM_HistoryAmountRange(benchmark::State &state)
{
    runFilter(state, [](HistoryFilter &f) {
        f.minAmount = QStringLiteral("500");
        f.maxAmount = QStringLiteral("510");
    });
}
BENCHMARK(BM_HistoryAmountRange)->Unit(benchmark::kMillisecond);

static void BM_HistoryNumberContains(benchmark::State &state)
{
    runFilter(state, [](HistoryFilter &f) { f.number = QStringLiteral("99"); });
}
BENCHMARK(BM_HistoryNumberContains)->Unit(benchmark::kMillisecond);

// The window itself: "【刷新】" with a payee typed, and the grid painted.
static void BM_HistoryWindowRefresh(benchmark::State &state)
{
    BenchRoot &root = FilledChequeHistory::instance().root();
    if (!root.checkOpen(state))
        return;
    TfmSearch_ZP window(*root.context);
    window.show();
    window.secondPartyBox()->setText(QStringLiteral("单位7"));
    for (auto _ : state) {
        window.refresh();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.rowCount());
    }
    state.counters["rows"] = window.rowCount();
}
BENCHMARK(BM_HistoryWindowRefresh)->Unit(benchmark::kMillisecond);

// Entering the number box the first time fills its list with every number.
static void BM_HistoryNumberList(benchmark::State &state)
{
    BenchRoot &root = FilledChequeHistory::instance().root();
    if (!root.checkOpen(state))
        return;
    TfmSearch_ZP window(*root.context);
    for (auto _ : state) {
        window.numberBox()->clear();
        window.fillNumberList();
        benchmark::DoNotOptimize(window.numberBox()->count());
    }
}
BENCHMARK(BM_HistoryNumberList)->Unit(benchmark::kMillisecond);
