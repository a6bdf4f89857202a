// The print run's pages kept to be looked at: every page as the run drew it
// for the printer the bill would go to (its resolution and printable area),
// replayed at any size by the preview window and never sent anywhere.
#pragma once

#include "printing/print_output.h"

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <memory>
#include <vector>

namespace billprint {

// One page: what the run drew, in device units from the paper's corner,
// and the values that land outside the printer's printable area.
struct PreviewPage
{
    struct OutsideMark
    {
        QRectF box;  // device units
        QString label;
    };
    QPicture drawing;
    std::vector<OutsideMark> outside;

    // Replays the drawing with `painter`, one painter unit for one device
    // unit of the page, whatever the resolution of the painter's device.
    void play(QPainter &painter) const;
};

// What a preview shows: the pages on the template's paper.
struct PrintPreview
{
    PrintPageSetup page;
    int dpi = 600;            // device units per inch of the pages' drawings
    QRectF printableArea;     // millimetres from the paper's corner; null: the whole sheet
    QString printerNote;      // why the printer's printable area is not known
    std::vector<PreviewPage> pages;
    QImage form;              // the template's form picture, shown under the values

    // The paper in millimetres as the page is read.
    QSizeF paperMm() const { return QSizeF(page.paper.width() / 10.0, page.paper.height() / 10.0); }
    // Labels of the values outside the printable area on `pageIndex`, each once.
    QStringList outsideLabels(int pageIndex) const;
};

class PreviewPageDevice;

class PreviewPrintOutput : public PrintOutput
{
public:
    // Pages as `printer` would get them: its resolution and printable area
    // (it is set up as a print would set it up, nothing is sent to it).
    // Without a printer (none is installed), or when it cannot be set up,
    // the whole sheet at 600 dpi, and the preview says why.
    explicit PreviewPrintOutput(PrintOutput *printer);
    ~PreviewPrintOutput() override;

    bool isPrinter() const override { return false; }
    bool setUp(const PrintPageSetup &page, QString *error) override;
    bool begin(const QString &title, int copies, QString *error) override;
    bool newPage(QString *error) override;
    bool end(QString *error) override;
    void abort() override;
    QRectF printableArea() const override { return m_preview.printableArea; }
    bool marksValuesOutsidePrintableArea() const override { return true; }
    void markOutsidePrintableArea(const QRectF &deviceBox, const QString &label) override;
    QPainter *painter() override { return &m_painter; }
    PrintDeviceMetrics metrics() const override;
    bool isActive() const override { return m_painter.isActive(); }

    // The pages of the last finished document; empty after an abort.
    const PrintPreview &preview() const { return m_preview; }
    PrintPreview takePreview() { return std::move(m_preview); }

private:
    void startPage();
    void finishPage();

    PrintOutput *m_printer;
    PrintPreview m_preview;
    std::unique_ptr<PreviewPageDevice> m_device;
    std::vector<PreviewPage::OutsideMark> m_marks;
    QPainter m_painter;
};

} // namespace billprint
