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

void BM_BatchPrintList(benchmark::State &state)
{
    BenchRoot root;
    if (!root.checkOpen(state))
        return;
    const AlertHandler previous = setAlertHandler([](const AlertRequest &) { return AlertAnswer::No; });
    const ReceiverList list(root.db());
    const QList<int> ids = fillList(list, int(state.range(0)));
    TfmCheckKDD window(*root.context);
    for (auto _ : state) {
        PdfPrintOutput pdf(root.filePath(QStringLiteral("batch.pdf")));
        window.setPrintOutput(&pdf);
        BatchPrintRun run(window, list, {QStringLiteral("内件说明")});
        benchmark::DoNotOptimize(run.print(ids));
        window.setPrintOutput(nullptr);
    }
    setAlertHandler(previous);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BatchPrintList)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_BatchPreview(benchmark::State &state)
{
    BenchRoot root;
    if (!root.checkOpen(state))
        return;
    const AlertHandler previous = setAlertHandler([](const AlertRequest &) { return AlertAnswer::No; });
    const ReceiverList list(root.db());
    const QList<int> ids = fillList(list, 50);
    TfmCheckKDD window(*root.context);
    for (auto _ : state) {
        const std::unique_ptr<PreviewPrintOutput> preview = window.makePreviewOutput();
        BatchPrintRun run(window, list, {QStringLiteral("内件说明")});
        window.printThrough(*preview, [&] { benchmark::DoNotOptimize(run.print(ids)); });
        state.counters["pages"] = double(preview->preview().pages.size());
    }
    setAlertHandler(previous);
    state.SetItemsProcessed(state.iterations() * ids.size());
}
BENCHMARK(BM_BatchPreview)->Unit(benchmark::kMillisecond);

void BM_PreviewPageAtDoubleSize(benchmark::State &state)
{
    BenchRoot root;
    if (!root.checkOpen(state))
        return;
    ensureDeliveredPictures(root.context->dataRoot().imageFolder());
    const AlertHandler previous = setAlertHandler([](const AlertRequest &) { return AlertAnswer::No; });
    const ReceiverList list(root.db());
    const QList<int> ids = fillList(list, 1);
    TfmCheckKDD window(*root.context);
    const std::unique_ptr<PreviewPrintOutput> output = window.makePreviewOutput();
    BatchPrintRun run(window, list, {QStringLiteral("内件说明")});
    window.printThrough(*output, [&] { run.print(ids); });
    PrintPreview preview = output->takePreview();
    preview.form = templateFormPicture(*root.context, window.checkTypeId());
    PrintPreviewDialog dialog(std::move(preview), QString());
    const double doubleSize = 2 * dialog.logicalDpiX() / 25.4;
    state.counters["form"] = dialog.preview().form.isNull() ? 0 : 1;
    state.counters["pages"] = double(dialog.pageCount());
    for (auto _ : state)
        benchmark::DoNotOptimize(dialog.pageView()->renderPage(doubleSize));
    setAlertHandler(previous);
}
BENCHMARK(BM_PreviewPageAtDoubleSize)->Unit(benchmark::kMillisecond);

} // namespace
