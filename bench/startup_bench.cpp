// Start-up to the main window shown: opening the data root (database,
// settings) and building and showing Tfm_Main.
#include "app/app_context.h"
#include "app/system_pictures.h"
#include "shell/ui/tfm_main.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace billprint;

namespace {

void startOnce(const QString &folder, const QString &installStore)
{
    QString error;
    auto context = AppContext::open(DataRoot(folder), &error, installStore);
    if (!context)
        return;
    ensureSystemPictures(context->dataRoot().imageFolder());
    Tfm_Main window(*context);
    window.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(window.isVisible());
}

} // namespace

// A data root that has been used before: the usual start.
static void BM_StartupExistingDataRoot(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString store = dir.filePath("user.conf");
    startOnce(dir.path(), store);
    for (auto _ : state)
        startOnce(dir.path(), store);
}
BENCHMARK(BM_StartupExistingDataRoot)->Unit(benchmark::kMillisecond);

// The very first start: database and pictures are created.
static void BM_StartupFirstRun(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        state.ResumeTiming();
        startOnce(dir.path(), dir.filePath("user.conf"));
    }
}
BENCHMARK(BM_StartupFirstRun)->Unit(benchmark::kMillisecond);
