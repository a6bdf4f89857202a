// Printers as print run outputs.
//
// A printer prints in full-page mode: the painter's origin is the paper's
// top-left corner, not the corner of the printable area. The position
// formulas subtract the printable area's top offset only to turn a position
// from the paper's edge into one from the printable area's edge; drawing
// from the paper's corner needs no such turn, so this output reports
// physical offsets of 0 and every value lands on the paper exactly where it
// lands on a PDF page of the same template.
#pragma once

#include "printing/print_output.h"

#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <memory>

class QPrinter;

namespace billprint {

class PrinterOutput : public PrintOutput
{
public:
    // Prints on the installed printer `printerName` (letter case ignored;
    // empty: the system's default printer).
    explicit PrinterOutput(const QString &printerName);
    // Prints on a printer the caller keeps and may have set up already.
    // A printer set to write a PDF file (QPrinter::PdfFormat) gets the
    // template's paper size, as a PDF output does.
    explicit PrinterOutput(QPrinter &printer);
    ~PrinterOutput() override;

    // The window the printer dialog belongs to.
    void setDialogParent(QWidget *parent) { m_dialogParent = parent; }
    QPrinter &printer() { return *m_printer; }

    bool isPrinter() const override;
    bool setUp(const PrintPageSetup &page, QString *error) override;
    // The system's printer dialog on this printer; true when confirmed.
    bool runSetupDialog() override;
    bool begin(const QString &title, int copies, QString *error) override;
    bool newPage(QString *error) override;
    bool end(QString *error) override;
    void abort() override;
    // The printer's page less its margins; null for a printer writing a
    // PDF file, whose page is the template's paper without margins.
    QRectF printableArea() const override;
    QPainter *painter() override { return &m_painter; }
    PrintDeviceMetrics metrics() const override;
    bool isActive() const override { return m_painter.isActive(); }

private:
    std::unique_ptr<QPrinter> m_owned;
    QPrinter *m_printer = nullptr;
    QString m_missingPrinter;  // asked for but not installed
    QPointer<QWidget> m_dialogParent;
    QPainter m_painter;
};

// The output for a print target: a PdfPrintOutput for a PDF file, a
// PrinterOutput otherwise.
std::unique_ptr<PrintOutput> makePrintOutput(const PrintTarget &target, QWidget *dialogParent = nullptr);

} // namespace billprint
