// A template switch on a bill window: open the template's layout cache and
// place the ~60 fields of its family from it. Target: under 5 ms. The
// cache build (once per template change in a designer) is measured too.
#include "app/ini_file.h"
#include "templates/check_ini_cache.h"
#include "bills/ui/form_layout.h"
#include "bench_root.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>

using namespace billprint;

namespace {

constexpr int kFields = 60;
const QString kFamily = QStringLiteral("支票");

// Two cheque templates with the same 60 fields at different places, and a
// bill window holding those fields plus the option bar's boxes.
class SwitchFixture
{
public:
    static SwitchFixture &instance()
    {
        // Built once, and gone before the application (it holds a window).
        static SwitchFixture *fixture = [] {
            auto *built = new SwitchFixture;
            benchCleanups().push_back([built] { delete built; });
            return built;
        }();
        return *fixture;
    }
    BenchRoot &root() { return m_root; }
    AppContext &context() { return *m_root.context; }
    QWidget *window() { return &m_window; }

private:
    SwitchFixture()
    {
        if (!m_root.isOpen())
            return;
        const Database &db = m_root.db();
        db.transaction([&] {
            for (const char *table : {"CKTypeTable", "CkControl", "NameDict", "DMTable"})
                db.exec(QStringLiteral("delete from ") + QLatin1String(table));
            for (int id : {1, 2})
                db.exec("insert into CKTypeTable (CheckTypeID, TypeName, TypeFirstName, TypeDescribe, IniFile) "
                        "values (?, ?, ?, ?, '')",
                        {id, QStringLiteral("支票（%1）").arg(id), kFamily, QString::number(id)});
            for (int i = 0; i < kFields; ++i) {
                const QString name = QStringLiteral("ZDFIELD%1").arg(i);
                db.exec("insert into NameDict (CheckTypeName, CtlName, CtlLabel, PrintItem, ShowOrd) values (?,?,?,1,?)",
                        {kFamily, name, name, i});
                for (int id : {1, 2})
                    db.exec("insert into CkControl (CheckTypeID, CtlName, SrcX, SrcY, SrcW, SrcH, NeedShow, InitValue) "
                            "values (?,?,?,?,?,?,?,?)",
                            {id, name, 10 * id + (i % 10) * 70, 20 + (i / 10) * 30, 60, 20, (i + id) % 7 ? 1 : 0,
                             i % 5 ? QString() : QStringLiteral("初值")});
                db.exec("insert into DMTable (CheckTypeId, DMName, DMValue) values (1, ?, '1')",
                        {QStringLiteral("cfgOption%1").arg(i % 12)});
            }
            return true;
        });
        auto *panel = new QWidget(&m_window);
        panel->setObjectName("bgPanel");
        for (int i = 0; i < kFields; ++i) {
            auto *edit = new QLineEdit(panel);
            edit->setObjectName(QStringLiteral("zdField%1").arg(i));
        }
        for (int i = 0; i < 12; ++i)
            (new QCheckBox(&m_window))->setObjectName(QStringLiteral("cfgOption%1").arg(i));
        m_window.resize(900, 300);
        m_window.show();  // a shown window moves its fields for real
        CheckIniCache cache(context());
        cache.buildCheckIniFile(1);
        cache.buildCheckIniFile(2);
    }

    BenchRoot m_root;
    QWidget m_window;
};

void BM_TemplateSwitchFromCache(benchmark::State &state)
{
    SwitchFixture &f = SwitchFixture::instance();
    if (!f.root().checkOpen(state))
        return;
    CheckIniCache cache(f.context());
    int id = 1;
    for (auto _ : state) {
        std::unique_ptr<IniFile> ini = cache.OpenCheckInif(id);
        setFormControlsPosition(f.context().db(), kFamily, f.window(), ini.get());
        id = 3 - id;
    }
}
BENCHMARK(BM_TemplateSwitchFromCache)->Unit(benchmark::kMillisecond);

void BM_BuildLayoutCache(benchmark::State &state)
{
    SwitchFixture &f = SwitchFixture::instance();
    if (!f.root().checkOpen(state))
        return;
    CheckIniCache cache(f.context());
    for (auto _ : state)
        cache.buildCheckIniFile(1);
}
BENCHMARK(BM_BuildLayoutCache)->Unit(benchmark::kMillisecond);

} // namespace
