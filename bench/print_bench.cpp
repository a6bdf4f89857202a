// Printing bills to PDF through the bill windows' print run and renderer:
// one bill of the delivered transfer cheque (target under 20 ms), and a
// batch of 1000 bills as pages of one PDF document (target under 10 s).
#include "printing/pdf_print_output.h"
#include "printing/print_run.h"
#include "printing/print_sample.h"
#include "templates/check_type.h"
#include "bench_root.h"

#include <benchmark/benchmark.h>

using namespace billprint;

namespace {

// A data root with the delivered templates, shared by the benchmarks.
class DeliveredTemplates
{
public:
    static DeliveredTemplates &instance()
    {
        static DeliveredTemplates root;
        return root;
    }
    BenchRoot &root() { return m_root; }
    QString pdfPath(const char *name) const { return m_root.filePath(QString::fromLatin1(name)); }
    // The first delivered template with fields, or 0.
    int templateId() const { return m_templateId; }

private:
    DeliveredTemplates()
    {
        if (m_root.isOpen())
            m_templateId = m_root.db().scalar(QStringLiteral("select min(CheckTypeID) from CkControl")).toInt();
    }

    BenchRoot m_root;
    int m_templateId = 0;
};

// The sample bill of the template, as a bill window would send it.
struct SampleBill
{
    AppContext &ctx;
    int id;
    std::optional<TCheckType> type = TCheckType::findById(ctx.db(), id);
    SampleValueSource values{ctx.db(), id, type ? type->getFirstName() : QString()};
};

void BM_OneBillToPdf(benchmark::State &state)
{
    DeliveredTemplates &delivered = DeliveredTemplates::instance();
    if (!delivered.root().checkOpen(state))
        return;
    if (delivered.templateId() <= 0) {
        state.SkipWithError("no delivered template");
        return;
    }
    SampleBill bill{*delivered.root().context, delivered.templateId()};
    for (auto _ : state) {
        PdfPrintOutput pdf(delivered.pdfPath("one.pdf"));
        PrintRun run(bill.ctx, pdf, PrintFamily::forFamily(bill.type->getFirstName()));
        if (!run.printOne(bill.values, bill.id, bill.type->TypeName)) {
            state.SkipWithError("print run failed");
            return;
        }
    }
}
BENCHMARK(BM_OneBillToPdf)->Unit(benchmark::kMillisecond);

void BM_ThousandBillsIntoOnePdf(benchmark::State &state)
{
    DeliveredTemplates &delivered = DeliveredTemplates::instance();
    if (!delivered.root().checkOpen(state))
        return;
    if (delivered.templateId() <= 0) {
        state.SkipWithError("no delivered template");
        return;
    }
    SampleBill bill{*delivered.root().context, delivered.templateId()};
    for (auto _ : state) {
        PdfPrintOutput pdf(delivered.pdfPath("thousand.pdf"));
        PrintRun run(bill.ctx, pdf, PrintFamily::forFamily(bill.type->getFirstName()));
        if (!run.printRepeated(bill.values, bill.id, bill.type->TypeName, 1000) || pdf.pageCount() != 1000) {
            state.SkipWithError("print run failed");
            return;
        }
    }
}
BENCHMARK(BM_ThousandBillsIntoOnePdf)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
