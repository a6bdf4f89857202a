// The batch list printed through the waybill window: N receivers in the
// list, one PDF document of N pages (target: 1000 rows under 1 s; time
// grows with the rows, memory does not, the pages being streamed). The
// print preview of the list's first 50 pages (target: under 0.5 s) and
// one page drawn at 200 % (target: under 50 ms, a page turn).
#include "app/alert.h"
#include "batch/receiver_list.h"
#include "batch/ui/batch_print_run.h"
#include "bills/ui/tfm_check_kdd.h"
#include "printing/form_picture.h"
#include "printing/pdf_print_output.h"
#include "printing/preview_print_output.h"
#include "printing/ui/print_preview_dialog.h"
#include "templates/delivered_pictures.h"
#include "app/app_context.h"
#include "app/data_root.h"
#include "bench_root.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <optional>

using namespace billprint;

namespace {

// `count` receivers in the list; their ids in list order.
QList<int> fillList(const ReceiverList &list, int count)
{
    QList<QList<QPair<QString, QString>>> rows;
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i);
        rows << QList<QPair<QString, QString>>{{QStringLiteral("全称"), QStringLiteral("公司") + n},
                                               {QStringLiteral("联系人"), QStringLiteral("王") + n},
                                               {QStringLiteral("手机"), QStringLiteral("1390000") + n},
                                               {QStringLiteral("省"), QStringLiteral("湖北省")},
                                               {QStringLiteral("市"), QStringLiteral("武汉")},
                                               {QStringLiteral("地址"), QStringLiteral("珞喻路") + n},
                                               {QStringLiteral("内件说明"), QStringLiteral("文件")}};
    }
    QString error;
    list.addAll(rows, &error);
    QList<int> ids;
    list.query({}, &ids, &error);
    return ids;
}

// A data root with receivers in the batch list and a waybill window that
// prints them; every question is answered No.
class WaybillBatch
{
public:
    WaybillBatch() : m_previous(setAlertHandler([](const AlertRequest &) { return AlertAnswer::No; })) {}
    ~WaybillBatch() { setAlertHandler(m_previous); }

    // False when the data root cannot be opened (the benchmark is skipped).
    bool open(benchmark::State &state, int rows)
    {
        if (!root.checkOpen(state))
            return false;
        list.emplace(root.db());
        ids = fillList(*list, rows);
        window = std::make_unique<TfmCheckKDD>(*root.context);
        return true;
    }

    // The listed rows through the window's print run into `output`; the
    // pages printed.
    int print(PrintOutput &output)
    {
        BatchPrintRun run(*window, *list, {QStringLiteral("内件说明")});
        int pages = 0;
        window->printThrough(output, [&] { pages = run.print(ids); });
        return pages;
    }

    BenchRoot root;
    std::optional<ReceiverList> list;
    QList<int> ids;
    std::unique_ptr<TfmCheckKDD> window;

private:
    AlertHandler m_previous;
};

void BM_BatchPrintList(benchmark::State &state)
{
    WaybillBatch batch;
    if (!batch.open(state, int(state.range(0))))
        return;
    for (auto _ : state) {
        PdfPrintOutput pdf(batch.root.filePath(QStringLiteral("batch.pdf")));
        benchmark::DoNotOptimize(batch.print(pdf));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BatchPrintList)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_BatchPreview(benchmark::State &state)
{
    WaybillBatch batch;
    if (!batch.open(state, 50))
        return;
    for (auto _ : state) {
        const std::unique_ptr<PreviewPrintOutput> preview = batch.window->makePreviewOutput();
        benchmark::DoNotOptimize(batch.print(*preview));
        state.counters["pages"] = double(preview->preview().pages.size());
    }
    state.SetItemsProcessed(state.iterations() * batch.ids.size());
}
BENCHMARK(BM_BatchPreview)->Unit(benchmark::kMillisecond);

void BM_PreviewPageAtDoubleSize(benchmark::State &state)
{
    WaybillBatch batch;
    if (!batch.open(state, 1))
        return;
    ensureDeliveredPictures(batch.root.context->dataRoot().imageFolder());
    const std::unique_ptr<PreviewPrintOutput> output = batch.window->makePreviewOutput();
    batch.print(*output);
    PrintPreview preview = output->takePreview();
    preview.form = templateFormPicture(*batch.root.context, batch.window->checkTypeId());
    PrintPreviewDialog dialog(std::move(preview), QString());
    const double doubleSize = 2 * dialog.logicalDpiX() / 25.4;
    state.counters["form"] = dialog.preview().form.isNull() ? 0 : 1;
    state.counters["pages"] = double(dialog.pageCount());
    for (auto _ : state)
        benchmark::DoNotOptimize(dialog.pageView()->renderPage(doubleSize));
}
BENCHMARK(BM_PreviewPageAtDoubleSize)->Unit(benchmark::kMillisecond);

} // namespace
