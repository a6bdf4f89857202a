#include "printing/ui/printer_output.h"

#include "printing/pdf_print_output.h"
#include "printing/pdf_text_layer.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace billprint {

namespace {

// The installed printer of that name, letter case ignored; empty when none.
QString installedPrinterName(const QString &name)
{
    for (const QString &installed : QPrinterInfo::availablePrinterNames())
        if (installed.compare(name, Qt::CaseInsensitive) == 0)
            return installed;
    return QString();
}

} // namespace

PrinterOutput::PrinterOutput(const QString &printerName)
    : m_owned(std::make_unique<QPrinter>(QPrinter::HighResolution)), m_printer(m_owned.get())
{
    const QString wanted = printerName.trimmed();
    const QString name = wanted.isEmpty() ? QPrinterInfo::defaultPrinterName() : installedPrinterName(wanted);
    if (name.isEmpty())
        m_missingPrinter = wanted.isEmpty() ? QStringLiteral("（默认打印机）") : wanted;
    else
        m_printer->setPrinterName(name);
}

PrinterOutput::PrinterOutput(QPrinter &printer) : m_printer(&printer) {}

PrinterOutput::~PrinterOutput()
{
    if (m_painter.isActive())
        abort();
}

bool PrinterOutput::isPrinter() const
{
    // Without any printer installed Qt turns a printer into a PDF writer
    // with no file to write: that is still a printer, and a missing one.
    return m_printer->outputFormat() == QPrinter::NativeFormat || m_printer->outputFileName().isEmpty()
           || !m_missingPrinter.isEmpty();
}

bool PrinterOutput::setUp(const PrintPageSetup &page, QString *error)
{
    if (!m_missingPrinter.isEmpty()) {
        if (error)
            *error = QStringLiteral("没有找到打印机：") + m_missingPrinter;
        return false;
    }
    if (!m_printer->isValid()) {
        if (error)
            *error = QStringLiteral("打印机不可用：") + m_printer->printerName();
        return false;
    }
    if (m_printer->outputFormat() == QPrinter::PdfFormat) {
        m_printer->setPageLayout(templatePageLayout(page));
    } else {
        // The paper is the one set up in the printer's driver for the form;
        // only the feed direction comes from the template.
        m_printer->setPageOrientation(page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    }
    // After the layout: a new page layout brings its own mode.
    m_printer->setFullPage(true);
    return true;
}

bool PrinterOutput::runSetupDialog()
{
    QPrintDialog dialog(m_printer, m_dialogParent);
    return dialog.exec() == QDialog::Accepted;
}

bool PrinterOutput::begin(const QString &title, int copies, QString *error)
{
    if (m_painter.isActive())
        abort();
    m_printer->setDocName(title);
    m_printer->setCopyCount(qMax(1, copies));
    if (!m_painter.begin(m_printer)) {
        if (error)
            *error = QStringLiteral("无法开始打印：") + m_printer->printerName();
        return false;
    }
    return true;
}

bool PrinterOutput::newPage(QString *error)
{
    if (!m_painter.isActive() || !m_printer->newPage()) {
        if (error)
            *error = QStringLiteral("无法换页：") + m_printer->printerName();
        return false;
    }
    return true;
}

bool PrinterOutput::end(QString *error)
{
    if (!m_painter.isActive()) {
        if (error)
            *error = QStringLiteral("打印文档没有开始");
        return false;
    }
    if (!m_painter.end() || m_printer->printerState() == QPrinter::Error) {
        if (error)
            *error = QStringLiteral("打印文档没有完成：") + m_printer->printerName();
        return false;
    }
    // A printer told to write a PDF file leaves the file's text layer to us,
    // as the PDF output does.
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty()
        && !fixPdfTextLayerInFile(m_printer->outputFileName(), error))
        return false;
    return true;
}

void PrinterOutput::abort()
{
    if (!m_painter.isActive())
        return;
    m_printer->abort();
    m_painter.end();
}

QRectF PrinterOutput::printableArea() const
{
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty())
        return QRectF();
    return printableAreaOf(m_printer->pageLayout());
}

PrintDeviceMetrics PrinterOutput::metrics() const
{
    // Full-page mode: device units count from the paper's corner.
    return PrintDeviceMetrics::of(*m_printer);
}

std::unique_ptr<PrintOutput> makePrintOutput(const PrintTarget &target, QWidget *dialogParent)
{
    if (target.kind == PrintTarget::Kind::Pdf)
        return std::make_unique<PdfPrintOutput>(target.pdfPath);
    auto output = std::make_unique<PrinterOutput>(target.printerName);
    output->setDialogParent(dialogParent);
    return output;
}

} // namespace billprint
