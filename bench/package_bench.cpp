// Template packages from other offices: reading one and importing its
// templates, with a thousand fields per template (a waybill with many
// check items comes close to that).
#include "templates/check_type.h"
#include "templates/ck_control.h"
#include "templates/name_dict.h"
#include "templates/template_package.h"
#include "bench_root.h"

#include <benchmark/benchmark.h>

using namespace billprint;

namespace {

// A package of `templates` templates with `fieldsEach` fields each, and
// `catalogueNames` more names in the family's catalogue.
QString writePackage(const BenchRoot &source, int templates, int fieldsEach, int catalogueNames = 0)
{
    const Database &db = source.db();
    QList<int> ids;
    db.transaction([&] {
        for (int i = 0; i < catalogueNames; ++i) {
            NameDict name;
            name.CheckTypeName = QStringLiteral("快递单");
            name.CtlName = QStringLiteral("NAME%1").arg(i);
            name.CtlLabel = QStringLiteral("名称%1").arg(i);
            NameDictStore(db).save(name);
        }
        for (int t = 0; t < templates; ++t) {
            TCheckType type;
            type.CheckTypeID = 9000 + t;
            type.TypeFirstName = QStringLiteral("快递单");
            type.TypeDescribe = QStringLiteral("测试%1").arg(t);
            type.setFullName(type.TypeFirstName, type.TypeDescribe);
            type.save(db);
            ids << type.CheckTypeID;
            std::vector<CkControl> fields(static_cast<size_t>(fieldsEach));
            for (int i = 0; i < fieldsEach; ++i) {
                CkControl &f = fields[size_t(i)];
                f.CheckTypeID = type.CheckTypeID;
                f.CtlName = QStringLiteral("DEFCHECK%1").arg(i);
                f.CtlCName = QStringLiteral("勾选项%1").arg(i);
                f.CtlX = 100 + i, f.CtlY = 200, f.SrcW = 76, f.NeedShow = 1, f.NeedPrint = 1;
            }
            CkControlStore(db).saveAll(fields);
        }
        return true;
    });
    const QString path = source.filePath(QStringLiteral("bench.tpk"));
    QString error;
    TemplatePackage::write(db, source.context->dataRoot().imageFolder(), ids, path, &error);
    return path;
}

} // namespace

// Reads a package of `range(1)` templates with `range(0)` fields each
// and imports it.
static void BM_ImportPackage(benchmark::State &state)
{
    BenchRoot source, target;
    if (!source.checkOpen(state) || !target.checkOpen(state))
        return;
    const QString path = writePackage(source, int(state.range(1)), int(state.range(0)));
    const PackageImporter importer(target.db(), target.context->dataRoot().imageFolder());
    for (auto _ : state) {
        QString error;
        const auto package = TemplatePackage::read(path, &error);
        if (!package || importer.import(*package, {}, ExistingName::MakeUnique, &error).isEmpty())
            state.SkipWithError(error.toStdString().c_str());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_ImportPackage)->Args({1000, 1})->Args({2000, 8})->Unit(benchmark::kMillisecond);

// Only the reading and checking of the same packages.
static void BM_ReadPackage(benchmark::State &state)
{
    BenchRoot source;
    if (!source.checkOpen(state))
        return;
    const QString path = writePackage(source, int(state.range(1)), int(state.range(0)));
    for (auto _ : state) {
        QString error;
        if (!TemplatePackage::read(path, &error))
            state.SkipWithError(error.toStdString().c_str());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_ReadPackage)->Args({1000, 1})->Args({2000, 8})->Unit(benchmark::kMillisecond);

// Two hundred templates of one family whose catalogue holds nearly two thousand
// names: each name is looked up once per family, not once per template
// (that took minutes).
static void BM_ImportFamilyCatalogue(benchmark::State &state)
{
    BenchRoot source, target;
    if (!source.checkOpen(state) || !target.checkOpen(state))
        return;
    const QString path = writePackage(source, 200, 10, 1900);
    const PackageImporter importer(target.db(), target.context->dataRoot().imageFolder());
    for (auto _ : state) {
        QString error;
        const auto package = TemplatePackage::read(path, &error);
        if (!package || importer.import(*package, {}, ExistingName::MakeUnique, &error).isEmpty())
            state.SkipWithError(error.toStdString().c_str());
    }
}
BENCHMARK(BM_ImportFamilyCatalogue)->Unit(benchmark::kMillisecond)->Iterations(3);
