// The waybill window as the batch list drives it: per row the receiver and
// goods fields are written by name, the city and amount handling run and
// the page is sent, all rows pages of one PDF document (target: fill and
// render one page under 2 ms, so 1000 rows print in about 2 s).
#include "app/alert.h"
#include "bills/ui/tfm_check_kdd.h"
#include "printing/pdf_print_output.h"
#include "bench_root.h"

#include <benchmark/benchmark.h>

using namespace billprint;

namespace {

void BM_WaybillBatchPage(benchmark::State &state)
{
    BenchRoot root;
    if (!root.checkOpen(state))
        return;
    const AlertHandler previous = setAlertHandler([](const AlertRequest &) { return AlertAnswer::No; });
    PdfPrintOutput pdf(root.filePath(QStringLiteral("batch.pdf")));
    TfmCheckKDD window(*root.context);
    window.setPrintOutput(&pdf);
    if (!window.isUsable() || !window.PrintPrepare()) {
        setAlertHandler(previous);
        state.SkipWithError("no waybill template");
        return;
    }
    window.PrinterTransBegin(1);
    int row = 0;
    for (auto _ : state) {
        window.setLoading(true);
        const QString n = QString::number(row);
        window.setFieldText(QStringLiteral("zdSKR"), QStringLiteral("深圳华南贸易有限公司") + n);
        window.setFieldText(QStringLiteral("zdSKRLXR"), QStringLiteral("王五"));
        window.setFieldText(QStringLiteral("zdskrDH"), QStringLiteral("0755-8888") + n);
        window.setFieldText(QStringLiteral("skrHandset"), QStringLiteral("1390000") + n);
        window.setFieldText(QStringLiteral("zdSKRS"), QStringLiteral("广东省"));
        window.setFieldText(QStringLiteral("zdSKRXS"), row % 2 ? QStringLiteral("深圳") : QStringLiteral("广州"));
        window.setFieldText(QStringLiteral("zdSkrDZ"), QStringLiteral("南山区科技园南路") + n + QStringLiteral("号"));
        window.setFieldText(QStringLiteral("zdSKRYB"), QStringLiteral("518000"));
        window.setFieldText(QStringLiteral("zdWPNR"), QStringLiteral("文件"));
        window.setFieldText(QStringLiteral("zdJEDX1"), QString::number(row % 900));
        window.receiverCityChanged();
        window.amountInWordsLeft();
        if (row > 0)
            window.NewCheckPage();
        window.SendCheckToPrinter();
        window.setLoading(false);
        ++row;
    }
    window.PrinterTransEnd();
    setAlertHandler(previous);
    state.counters["pages"] = row;
}
BENCHMARK(BM_WaybillBatchPage)->Unit(benchmark::kMillisecond)->Iterations(1000);

} // namespace
