// The address book window over 20 000 units: opening it (every unit
// listed), and the filters a clerk uses while it is open. Each must feel
// immediate, well under 100 ms.
#include "addressbook/person.h"
#include "addressbook/ui/person_filter_tree.h"
#include "addressbook/ui/person_grid_model.h"
#include "addressbook/ui/tfm_person_manage.h"
#include "app/app_context.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidgetItem>
#include <benchmark/benchmark.h>
#include <memory>

using namespace billprint;

namespace {

constexpr int kUnits = 20000;

const char *const kProvinces[] = {"广东省", "北京市", "上海市", "浙江省", "江苏省", "四川省", "湖北省", "山东省"};
const char *const kGroups[] = {"华南客户", "华东客户", "供应商", "物流", "银行"};

// One data root with a filled address book, shared by the benchmarks.
class BigBook
{
public:
    static BigBook &instance()
    {
        static BigBook book;
        return book;
    }
    AppContext *context() { return m_context.get(); }

private:
    BigBook()
    {
        QString error;
        m_context = AppContext::open(DataRoot(m_dir.path()), &error, m_dir.filePath("user.conf"));
        if (!m_context)
            return;
        const Database &db = m_context->db();
        db.transaction([&] {
            for (int i = 0; i < kUnits; ++i) {
                TPerson p;
                p.setFullName(QStringLiteral("测试单位%1贸易有限公司").arg(i));
                p.setInputCode(QStringLiteral("csdw%1").arg(i));
                p.setContact(QStringLiteral("联系人%1").arg(i % 997));
                p.setBank(QStringLiteral("中国工商银行第%1支行").arg(i % 300));
                p.setAccount(QStringLiteral("6222%1").arg(i, 12, 10, QLatin1Char('0')));
                p.setProvince(QString::fromUtf8(kProvinces[i % 8]));
                p.setCity(QStringLiteral("城市%1").arg(i % 50));
                p.setAddress(QStringLiteral("某某区某某路%1号").arg(i));
                p.setPhone(QStringLiteral("020-%1").arg(30000000 + i));
                p.setGroup(QString::fromUtf8(kGroups[i % 5]));
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

// The window of the benchmarks, shown once.
Tfm_PersonManage *openWindow(benchmark::State &state)
{
    AppContext *context = BigBook::instance().context();
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
    AppContext *context = BigBook::instance().context();
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
