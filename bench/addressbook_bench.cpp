// The address book window over 20 000 units: opening it (every unit
// listed), and the filters a clerk uses while it is open. Each must feel
// immediate, well under 100 ms.
#include "addressbook/person.h"
#include "addressbook/ui/person_filter_tree.h"
#include "addressbook/ui/person_grid_model.h"
#include "addressbook/ui/tfm_person_manage.h"
#include "app/app_context.h"
#include "filled_address_book.h"

#include <QApplication>
#include <QLineEdit>
#include <QTreeWidgetItem>
#include <benchmark/benchmark.h>
#include <memory>

using namespace billprint;

namespace {

// The window of the benchmarks, shown once.
Tfm_PersonManage *openWindow(benchmark::State &state)
{
    AppContext *context = bench::FilledAddressBook::instance().context();
    if (!context) {
        state.SkipWithError("no data root");
        return nullptr;
    }
    static Tfm_PersonManage *window = [&] {
        auto *w = new Tfm_PersonManage(*context);
        w->show();
        return w;
    }();
    return window;
}

void clickNode(Tfm_PersonManage &window, QTreeWidgetItem *node)
{
    emit window.tree()->itemClicked(node, 0);
    QApplication::processEvents();  // the grid paints its first rows
}

} // namespace

// Opening from the menu: the window is made, lists every unit and shows.
static void BM_AddressBookOpen(benchmark::State &state)
{
    AppContext *context = bench::FilledAddressBook::instance().context();
    if (!context)
        return state.SkipWithError("no data root");
    for (auto _ : state) {
        Tfm_PersonManage window(*context);
        window.listAll();
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.model()->totalRows());
        window.close();
    }
}
BENCHMARK(BM_AddressBookOpen)->Unit(benchmark::kMillisecond);

// A keyword typed and Enter: the eight columns searched.
static void BM_AddressBookKeywordFilter(benchmark::State &state)
{
    Tfm_PersonManage *window = openWindow(state);
    if (!window)
        return;
    for (auto _ : state) {
        window->keywordEdit()->setText(QStringLiteral("单位1999"));
        window->btQueryClick();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window->model()->totalRows());
    }
}
BENCHMARK(BM_AddressBookKeywordFilter)->Unit(benchmark::kMillisecond);

// The tree's "往来单位": two thirds of the book listed.
static void BM_AddressBookKindFilter(benchmark::State &state)
{
    Tfm_PersonManage *window = openWindow(state);
    if (!window)
        return;
    for (auto _ : state) {
        clickNode(*window, window->tree()->topNode(FilterNode::Counterparty));
        benchmark::DoNotOptimize(window->model()->totalRows());
    }
}
BENCHMARK(BM_AddressBookKindFilter)->Unit(benchmark::kMillisecond);

// A group node.
static void BM_AddressBookGroupFilter(benchmark::State &state)
{
    Tfm_PersonManage *window = openWindow(state);
    if (!window)
        return;
    for (auto _ : state) {
        clickNode(*window, window->tree()->childNode(FilterNode::ByGroup, QStringLiteral("供应商")));
        benchmark::DoNotOptimize(window->model()->totalRows());
    }
}
BENCHMARK(BM_AddressBookGroupFilter)->Unit(benchmark::kMillisecond);

// A province node: the province searched in all eight columns.
static void BM_AddressBookProvinceFilter(benchmark::State &state)
{
    Tfm_PersonManage *window = openWindow(state);
    if (!window)
        return;
    for (auto _ : state) {
        clickNode(*window, window->tree()->childNode(FilterNode::ByProvince, QStringLiteral("广东省")));
        benchmark::DoNotOptimize(window->model()->totalRows());
    }
}
BENCHMARK(BM_AddressBookProvinceFilter)->Unit(benchmark::kMillisecond);

// Sorting by a column title click.
static void BM_AddressBookSortByColumn(benchmark::State &state)
{
    Tfm_PersonManage *window = openWindow(state);
    if (!window)
        return;
    window->listAll();
    for (auto _ : state) {
        window->columnTitleClicked(6);  // 开户行账号
        QApplication::processEvents();
        benchmark::DoNotOptimize(window->model()->totalRows());
    }
}
BENCHMARK(BM_AddressBookSortByColumn)->Unit(benchmark::kMillisecond);
