// The drop-down lookups the bill windows run on entering a box: provinces
// and cities of the delivered codes, and the company list of a large
// address book, each with its Chinese (pinyin) ordering.
#include "app/lookups.h"
#include "bench_root.h"

#include <benchmark/benchmark.h>

using namespace billprint;

static void BM_ProvincesAndCities(benchmark::State &state)
{
    BenchRoot root;
    if (!root.checkOpen(state))
        return;
    Lookups lookups(root.db());
    for (auto _ : state) {
        const QStringList provinces = lookups.loadProvinces();
        benchmark::DoNotOptimize(lookups.loadCitysByProvince(provinces.value(0)));
    }
}
BENCHMARK(BM_ProvincesAndCities)->Unit(benchmark::kMicrosecond);

// An address book of `range(0)` units, a tenth of them own units.
static void BM_CompanyList(benchmark::State &state)
{
    BenchRoot root;
    if (!root.checkOpen(state))
        return;
    Database &db = root.db();
    const int units = int(state.range(0));
    db.transaction([&] {
        for (int i = 0; i < units; ++i)
            db.exec("insert into ckPersonalInfoTable (全称, 单位类型) values (?, ?)",
                    {QStringLiteral("客户公司%1号").arg(i), i % 10 ? "往来单位" : "我方单位"});
        return true;
    });
    Lookups lookups(db);
    for (auto _ : state)
        benchmark::DoNotOptimize(lookups.loadCompanyList(QStringLiteral("往来单位")));
}
BENCHMARK(BM_CompanyList)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
