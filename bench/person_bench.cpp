// Address book with 20 000 units: filling a unit from a typed code or name
// (the finders of the bill windows) and the filtered listing of the
// address book window. Each should stay well under 100 ms.
#include "addressbook/person.h"
#include "addressbook/person_search.h"
#include "app/app_context.h"
#include "filled_address_book.h"

#include <benchmark/benchmark.h>

using namespace billprint;

// A bill window: exact 助记码 typed in a unit field.
static void BM_PersonFindByInputCode(benchmark::State &state)
{
    AppContext *book = bench::FilledAddressBook::instance().context();
    if (!book)
        return state.SkipWithError("no data root");
    for (auto _ : state)
        benchmark::DoNotOptimize(TPerson::findByInputCode(book->db(), QStringLiteral("csdw19999")));
}
BENCHMARK(BM_PersonFindByInputCode)->Unit(benchmark::kMillisecond);

// A bill window: a code ending in "%" (containment), matching late rows only.
static void BM_PersonFindByInputCodeContains(benchmark::State &state)
{
    AppContext *book = bench::FilledAddressBook::instance().context();
    if (!book)
        return state.SkipWithError("no data root");
    for (auto _ : state)
        benchmark::DoNotOptimize(TPerson::findByInputCode(book->db(), QStringLiteral("w1999%")));
}
BENCHMARK(BM_PersonFindByInputCodeContains)->Unit(benchmark::kMillisecond);

// A bill window: the full name typed, the last unit of the table.
static void BM_PersonFindByName(benchmark::State &state)
{
    AppContext *book = bench::FilledAddressBook::instance().context();
    if (!book)
        return state.SkipWithError("no data root");
    for (auto _ : state)
        benchmark::DoNotOptimize(TPerson::findByName(book->db(), QStringLiteral("测试单位19999贸易有限公司")));
}
BENCHMARK(BM_PersonFindByName)->Unit(benchmark::kMillisecond);

// The address book window: a keyword over the eight columns, one kind.
static void BM_PersonKeywordSearch(benchmark::State &state)
{
    AppContext *book = bench::FilledAddressBook::instance().context();
    if (!book)
        return state.SkipWithError("no data root");
    PersonFilter filter;
    filter.keyword = QStringLiteral("单位1999"); // 11 units
    for (auto _ : state)
        benchmark::DoNotOptimize(searchPersons(book->db(), filter));
}
BENCHMARK(BM_PersonKeywordSearch)->Unit(benchmark::kMillisecond);

// The address book window: a kind filter that lists a third of the table.
static void BM_PersonKindListing(benchmark::State &state)
{
    AppContext *book = bench::FilledAddressBook::instance().context();
    if (!book)
        return state.SkipWithError("no data root");
    PersonFilter filter;
    filter.unitKind = UnitKind::Own;
    for (auto _ : state)
        benchmark::DoNotOptimize(searchPersons(book->db(), filter));
}
BENCHMARK(BM_PersonKindListing)->Unit(benchmark::kMillisecond);
