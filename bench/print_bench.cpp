// Printing bills to PDF through the bill windows' print run and renderer:
// one bill of the delivered transfer cheque (target under 20 ms), and a
// batch of 1000 bills as pages of one PDF document (target under 10 s).
#include "app/app_context.h"
#include "printing/pdf_print_output.h"
#include "printing/print_run.h"
#include "printing/print_sample.h"
#include "templates/check_type.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

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
    AppContext *context() { return m_context.get(); }
    QString pdfPath(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    // The first delivered template with fields, or 0.
    int templateId() const { return m_templateId; }

private:
    DeliveredTemplates()
    {
        QString error;
        m_context = AppContext::open(DataRoot(m_dir.path()), &error, m_dir.filePath(QStringLiteral("user.conf")));
        if (m_context)
            m_templateId = m_context->db()
                               .scalar(QStringLiteral("select min(CheckTypeID) from CkControl"))
                               .toInt();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<AppContext> m_context;
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
    DeliveredTemplates &root = DeliveredTemplates::instance();
    if (!root.context() || root.templateId() <= 0) {
        state.SkipWithError("no delivered template");
        return;
    }
    SampleBill bill{*root.context(), root.templateId()};
    for (auto _ : state) {
        PdfPrintOutput pdf(root.pdfPath("one.pdf"));
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
    DeliveredTemplates &root = DeliveredTemplates::instance();
    if (!root.context() || root.templateId() <= 0) {
        state.SkipWithError("no delivered template");
        return;
    }
    SampleBill bill{*root.context(), root.templateId()};
    for (auto _ : state) {
        PdfPrintOutput pdf(root.pdfPath("thousand.pdf"));
        PrintRun run(bill.ctx, pdf, PrintFamily::forFamily(bill.type->getFirstName()));
        if (!run.printRepeated(bill.values, bill.id, bill.type->TypeName, 1000) || pdf.pageCount() != 1000) {
            state.SkipWithError("print run failed");
            return;
        }
    }
}
BENCHMARK(BM_ThousandBillsIntoOnePdf)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
