// The batch list printed through the waybill window: N receivers in the
// list, one PDF document of N pages (target: 1000 rows under 1 s; time
// grows with the rows, memory does not, the pages being streamed).
#include "app/alert.h"
#include "batch/receiver_list.h"
#include "batch/ui/batch_print_run.h"
#include "bills/ui/tfm_check_kdd.h"
#include "printing/pdf_print_output.h"
#include "bench_root.h"

#include <benchmark/benchmark.h>

using namespace billprint;

namespace {

void BM_BatchPrintList(benchmark::State &state)
{
    BenchRoot root;
    if (!root.checkOpen(state))
        return;
    const AlertHandler previous = setAlertHandler([](const AlertRequest &) { return AlertAnswer::No; });
    const ReceiverList list(root.db());
    QList<QList<QPair<QString, QString>>> rows;
    for (int i = 0; i < state.range(0); ++i) {
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

} // namespace
