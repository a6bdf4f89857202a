// Start-up to the main window shown: opening the data root (database,
// settings) and building and showing Tfm_Main.
#include "app/app_context.h"
#include "app/system_pictures.h"
#include "shell/ui/tfm_main.h"
#include "bench_root.h"

#include <QApplication>
#include <benchmark/benchmark.h>

using namespace billprint;

namespace {

void startOnce(const BenchFolder &folder)
{
    QString error;
    auto context = AppContext::open(DataRoot(folder.path()), &error, folder.installStore());
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
    const BenchFolder folder;
    startOnce(folder);
    for (auto _ : state)
        startOnce(folder);
}
BENCHMARK(BM_StartupExistingDataRoot)->Unit(benchmark::kMillisecond);

// The very first start: database and pictures are created.
static void BM_StartupFirstRun(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        const BenchFolder folder;
        state.ResumeTiming();
        startOnce(folder);
    }
}
BENCHMARK(BM_StartupFirstRun)->Unit(benchmark::kMillisecond);
