// Address book with 20 000 units: filling a unit from a typed code or name
// (the finders of the bill windows) and the filtered listing of the
// address book window. Each should stay well under 100 ms.
#include "addressbook/person.h"
#include "addressbook/person_search.h"
#include "app/app_context.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace billprint;

namespace {

constexpr int kUnits = 20000;

// One data root with the filled address book, shared by all benchmarks.
class FilledAddressBook
{
public:
    static FilledAddressBook &instance()
    {
        static FilledAddressBook book;
        return book;
    }
    const Database &db() const { return m_context->db(); }
    bool ok() const { return m_context != nullptr; }

private:
    FilledAddressBook()
    {
        QString error;
        m_context = AppContext::open(DataRoot(m_dir.path()), &error, m_dir.filePath("user.conf"));
        if (!m_context)
            return;
        const Database &db = m_context->db();
        db.transaction([&] {
            for (int i = 0; i < kUnits; ++i) {
                TPerson p;
                p.setFullName(QStringLiteral("测试单位%1有限公司").arg(i));
                p.setInputCode(QStringLiteral("csdw%1").arg(i));
                p.setContact(QStringLiteral("联系人%1").arg(i % 997));
                p.setAccount(QStringLiteral("6222%1").arg(i, 12, 10, QLatin1Char('0')));
                p.setProvince(i % 2 ? QStringLiteral("广东") : QStringLiteral("北京"));
                p.setAddress(QStringLiteral("某某路%1号").arg(i));
                p.setUnitKind(i % 3 ? UnitKind::Counterparty : UnitKind::Own);
                if (!p.save(db))
                    return false;
            }
            return true;
        });
    }

    QTemporaryDir m_dir;
    std::unique_ptr<AppContext> m_context;
};

} // namespace

// A bill window: exact 助记码 typed in a unit field.
static void BM_PersonFindByInputCode(benchmark::State &state)
{
    auto &book = FilledAddressBook::instance();
    if (!book.ok())
        return state.SkipWithError("no data root");
    for (auto _ : state)
        benchmark::DoNotOptimize(TPerson::findByInputCode(book.db(), QStringLiteral("csdw19999")));
}
BENCHMARK(BM_PersonFindByInputCode)->Unit(benchmark::kMillisecond);

// A bill window: a code ending in "%" (containment), matching late rows only.
static void BM_PersonFindByInputCodeContains(benchmark::State &state)
{
    auto &book = FilledAddressBook::instance();
    if (!book.ok())
        return state.SkipWithError("no data root");
    for (auto _ : state)
        benchmark::DoNotOptimize(TPerson::findByInputCode(book.db(), QStringLiteral("w1999%")));
}
BENCHMARK(BM_PersonFindByInputCodeContains)->Unit(benchmark::kMillisecond);

// A bill window: the full name typed, the last unit of the table.
static void BM_PersonFindByName(benchmark::State &state)
{
    auto &book = FilledAddressBook::instance();
    if (!book.ok())
        return state.SkipWithError("no data root");
    for (auto _ : state)
        benchmark::DoNotOptimize(TPerson::findByName(book.db(), QStringLiteral("测试单位19999有限公司")));
}
BENCHMARK(BM_PersonFindByName)->Unit(benchmark::kMillisecond);

// The address book window: a keyword over the eight columns, one kind.
static void BM_PersonKeywordSearch(benchmark::State &state)
{
    auto &book = FilledAddressBook::instance();
    if (!book.ok())
        return state.SkipWithError("no data root");
    PersonFilter filter;
    filter.keyword = QStringLiteral("单位1999"); // 11 units
    for (auto _ : state)
        benchmark::DoNotOptimize(searchPersons(book.db(), filter));
}
BENCHMARK(BM_PersonKeywordSearch)->Unit(benchmark::kMillisecond);

// The address book window: a kind filter that lists a third of the table.
static void BM_PersonKindListing(benchmark::State &state)
{
    auto &book = FilledAddressBook::instance();
    if (!book.ok())
        return state.SkipWithError("no data root");
    PersonFilter filter;
    filter.unitKind = UnitKind::Own;
    for (auto _ : state)
        benchmark::DoNotOptimize(searchPersons(book.db(), filter));
}
BENCHMARK(BM_PersonKindListing)->Unit(benchmark::kMillisecond);
