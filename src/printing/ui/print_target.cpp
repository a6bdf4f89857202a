#include "printing/ui/print_target.h"

#include "app/command_line.h"
#include "printing/pdf_print_output.h"
#include "printing/ui/printer_output.h"

namespace billprint {

namespace {

const QString kPdf = QStringLiteral("pdf");
const QString kPrinter = QStringLiteral("printer");

} // namespace

void addPrintTarget(CommandLine &line)
{
    line.option(kPdf, QStringLiteral("OUT"), QStringLiteral("print into the PDF file OUT"))
        .option(kPrinter, QStringLiteral("NAME"), QStringLiteral("print on the printer NAME"));
}

QString checkPrintTarget(const CommandLine &line)
{
    if (line.isSet(kPdf) == line.isSet(kPrinter))
        return QStringLiteral("give either --pdf OUT or --printer NAME");
    if (line.isSet(kPdf) && line.value(kPdf).trimmed().isEmpty())
        return QStringLiteral("--pdf needs a file name");
    return QString();
}

std::unique_ptr<PrintOutput> makePrintOutput(const CommandLine &line)
{
    if (line.isSet(kPrinter))
        return std::make_unique<PrinterOutput>(line.value(kPrinter));
    return std::make_unique<PdfPrintOutput>(line.value(kPdf));
}

QString printTargetName(const CommandLine &line)
{
    return line.value(line.isSet(kPrinter) ? kPrinter : kPdf);
}

} // namespace billprint
