#include "printing/preview_print_output.h"

#include "printing/image_print_output.h"

namespace billprint {

namespace {

constexpr int kDefaultDpi = 600;

} // namespace

// A recorded page that tells the renderer the printer's resolution and the
// paper's size, so fonts and positions are worked out as for the printer.
class PreviewPageDevice : public QPicture
{
public:
    PreviewPageDevice(int dpi, QSize pixels) : m_dpi(dpi), m_pixels(pixels) {}

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_pixels.width();
        case PdmHeight:
            return m_pixels.height();
        case PdmWidthMM:
            return qRound(m_pixels.width() * 25.4 / m_dpi);
        case PdmHeightMM:
            return qRound(m_pixels.height() * 25.4 / m_dpi);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_dpi;
        default:
            return QPicture::metric(metric);
        }
    }

private:
    int m_dpi;
    QSize m_pixels;
};

void PreviewPage::play(QPainter &painter) const
{
    // A picture replays its units as pixels of the default resolution and
    // scales them to the device it is played on; that scale is undone so
    // the page's own device units stay what they were when drawn.
    QPicture replay = drawing;  // play() is not const; the copy shares the recording
    const QPaintDevice *device = painter.device();
    painter.save();
    painter.scale(double(replay.logicalDpiX()) / device->logicalDpiX(),
                  double(replay.logicalDpiY()) / device->logicalDpiY());
    // The recording holds only what changed from a fresh painter's state:
    // the replay starts from that state, not from the widget's colours.
    painter.setPen(QPen(Qt::black));
    painter.setBrush(Qt::NoBrush);
    painter.setFont(QFont());
    replay.play(&painter);
    painter.restore();
}

QStringList PrintPreview::outsideLabels(int pageIndex) const
{
    QStringList labels;
    if (pageIndex < 0 || pageIndex >= int(pages.size()))
        return labels;
    for (const PreviewPage::OutsideMark &mark : pages[pageIndex].outside)
        if (!labels.contains(mark.label))
            labels << mark.label;
    return labels;
}

PreviewPrintOutput::PreviewPrintOutput(PrintOutput *printer) : m_printer(printer) {}

PreviewPrintOutput::~PreviewPrintOutput()
{
    abort();
}

bool PreviewPrintOutput::setUp(const PrintPageSetup &page, QString *error)
{
    if (!checkPaperSize(page, error))
        return false;
    m_preview = PrintPreview();
    m_preview.page = page;
    m_preview.dpi = kDefaultDpi;
    if (!m_printer) {
        m_preview.printerNote = QStringLiteral("没有安装打印机");
        return true;
    }
    QString refusal;
    if (!m_printer->setUp(page, &refusal)) {
        // The page is still worth seeing; only the printer's margins are unknown.
        m_preview.printerNote = refusal;
        return true;
    }
    m_preview.printableArea = m_printer->printableArea();
    m_preview.dpi = qMax(1, m_printer->metrics().dpiX);
    return true;
}

bool PreviewPrintOutput::begin(const QString &title, int copies, QString *error)
{
    Q_UNUSED(title)
    Q_UNUSED(copies)
    Q_UNUSED(error)
    abort();
    startPage();
    return m_painter.isActive();
}

void PreviewPrintOutput::startPage()
{
    m_device = std::make_unique<PreviewPageDevice>(m_preview.dpi,
                                                   ImagePrintOutput::pixelSize(m_preview.page, m_preview.dpi));
    m_marks.clear();
    m_painter.begin(m_device.get());
}

void PreviewPrintOutput::finishPage()
{
    m_painter.end();
    m_preview.pages.push_back({*m_device, std::move(m_marks)});
    m_marks.clear();
    m_device.reset();
}

bool PreviewPrintOutput::newPage(QString *error)
{
    if (!m_painter.isActive()) {
        if (error)
            *error = QStringLiteral("打印文档没有开始");
        return false;
    }
    finishPage();
    startPage();
    return true;
}

bool PreviewPrintOutput::end(QString *error)
{
    if (!m_painter.isActive()) {
        if (error)
            *error = QStringLiteral("打印文档没有开始");
        return false;
    }
    finishPage();
    return true;
}

void PreviewPrintOutput::abort()
{
    if (m_painter.isActive())
        m_painter.end();
    m_device.reset();
    m_marks.clear();
    m_preview.pages.clear();
}

void PreviewPrintOutput::markOutsidePrintableArea(const QRectF &deviceBox, const QString &label)
{
    m_marks.push_back({deviceBox, label});
}

PrintDeviceMetrics PreviewPrintOutput::metrics() const
{
    PrintDeviceMetrics m;
    m.dpiX = m_preview.dpi;
    m.dpiY = m_preview.dpi;
    return m;  // drawn from the paper's corner, as the printers are
}

} // namespace billprint
