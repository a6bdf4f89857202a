// Where a print run puts its pages: a printer, a PDF file, or (in tests) a
// recording device. The run drives the output through one document:
// setUp, begin, newPage between bills, end (or abort).
#pragma once

#include "printing/print_geometry.h"

#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

namespace billprint {

// The page a template prints on.
struct PrintPageSetup
{
    QSize paper{2300, 1270};  // PWidth x PHeight of the template, tenths of a millimetre
    bool landscape = false;   // HVPrint "1": the paper is fed sideways
};

// False with `error` when the page has no paper to draw on.
inline bool checkPaperSize(const PrintPageSetup &page, QString *error)
{
    if (page.paper.width() > 0 && page.paper.height() > 0)
        return true;
    if (error)
        *error = QStringLiteral("纸张尺寸无效：%1×%2").arg(page.paper.width()).arg(page.paper.height());
    return false;
}

class PrintOutput
{
public:
    virtual ~PrintOutput() = default;

    // True when the output is a printer, so a run needs an installed one.
    virtual bool isPrinter() const = 0;
    // Orientation (and, where the output has no paper of its own, paper
    // size) for the next document. False with `error` when the output
    // refuses them.
    virtual bool setUp(const PrintPageSetup &page, QString *error) = 0;
    // The printer set-up dialog before a run: true when the user confirms.
    // Outputs without one confirm at once.
    virtual bool runSetupDialog() { return true; }

    // Starts the document; `copies` is at least 1.
    virtual bool begin(const QString &title, int copies, QString *error) = 0;
    virtual bool newPage(QString *error) = 0;
    // Finishes the document. False with `error` when it could not be written.
    virtual bool end(QString *error) = 0;
    // Drops the document; nothing of it reaches the paper or the file.
    virtual void abort() = 0;

    // The part of the paper this output can print on, millimetres from the
    // paper's top-left corner as the page is read; null when it prints the
    // whole sheet (a PDF file has no margins). Known after setUp.
    virtual QRectF printableArea() const { return QRectF(); }

    // An output that shows the page instead of printing it marks every
    // value that would land outside the printable area rather than asking
    // whether to print anyway.
    virtual bool marksValuesOutsidePrintableArea() const { return false; }
    // `deviceBox`: the piece of the value on the current page, device units;
    // `label`: the field's caption.
    virtual void markOutsidePrintableArea(const QRectF &deviceBox, const QString &label)
    {
        Q_UNUSED(deviceBox)
        Q_UNUSED(label)
    }

    // While a document is open: the painter of its current page, whose
    // coordinates are device units from the printable area's top-left
    // corner, and the metrics of that device.
    virtual QPainter *painter() = 0;
    virtual PrintDeviceMetrics metrics() const = 0;
    virtual bool isActive() const = 0;
};

// Where the user asked a run to print.
struct PrintTarget
{
    enum class Kind { Printer, Pdf };
    Kind kind = Kind::Printer;
    QString printerName;  // empty: the system's default printer
    QString pdfPath;

    static PrintTarget printer(const QString &name) { return {Kind::Printer, name, QString()}; }
    static PrintTarget pdf(const QString &path) { return {Kind::Pdf, QString(), path}; }
};

} // namespace billprint
