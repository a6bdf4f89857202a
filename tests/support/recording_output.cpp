#include "recording_output.h"

#include <QPaintEngine>
#include <QTextItem>
#include <cmath>

namespace billprint::test {

class RecordingPaintEngine : public QPaintEngine
{
public:
    RecordingPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    std::vector<RecordedText> texts;
    int page = 0;

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & QPaintEngine::DirtyPen)
            m_pen = state.pen();
        if (state.state() & QPaintEngine::DirtyTransform)
            m_transform = state.transform();
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        // Qt hands a text over in runs of one script each ("zd" and "标签");
        // a run that starts where the one before ended belongs to it.
        const QPointF at = m_transform.map(p);
        if (!texts.empty()) {
            RecordedText &last = texts.back();
            if (last.page == page && qFuzzyCompare(last.baseline.y(), at.y())
                && std::abs(last.baseline.x() + last.width - at.x()) < 0.01) {
                last.text += item.text();
                last.width += item.width();
                return;
            }
        }
        texts.push_back({page, at, item.text(), item.width(), item.font(), m_pen.color()});
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath &) override {}
    void drawRects(const QRectF *, int) override {}
    void drawLines(const QLineF *, int) override {}

private:
    QPen m_pen;
    QTransform m_transform;
};

RecordingPaintDevice::RecordingPaintDevice(int dpiX, int dpiY, QSize size)
    : m_dpiX(dpiX), m_dpiY(dpiY), m_size(size), m_engine(std::make_unique<RecordingPaintEngine>())
{
}

RecordingPaintDevice::~RecordingPaintDevice() = default;

QPaintEngine *RecordingPaintDevice::paintEngine() const
{
    return m_engine.get();
}

std::vector<RecordedText> &RecordingPaintDevice::texts()
{
    return m_engine->texts;
}

void RecordingPaintDevice::setPage(int page)
{
    m_engine->page = page;
}

int RecordingPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return qRound(m_size.width() * 25.4 / m_dpiX);
    case PdmHeightMM:
        return qRound(m_size.height() * 25.4 / m_dpiY);
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return m_dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return m_dpiY;
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    default:
        return 0;
    }
}

RecordingOutput::RecordingOutput(int dpi, bool isPrinter)
    : m_dpi(dpi), m_isPrinter(isPrinter), m_device(dpi, dpi)
{
}

std::vector<RecordedText> RecordingOutput::textsOnPage(int page)
{
    std::vector<RecordedText> found;
    for (const RecordedText &t : texts())
        if (t.page == page)
            found.push_back(t);
    return found;
}

std::vector<RecordedText> RecordingOutput::textsEqual(const QString &text)
{
    std::vector<RecordedText> found;
    for (const RecordedText &t : texts())
        if (t.text == text)
            found.push_back(t);
    return found;
}

bool RecordingOutput::setUp(const PrintPageSetup &setup, QString *error)
{
    ++setUps;
    page = setup;
    if (failSetUp && error)
        *error = QStringLiteral("recording output refuses");
    return !failSetUp;
}

bool RecordingOutput::runSetupDialog()
{
    ++dialogs;
    return dialogAnswer;
}

bool RecordingOutput::begin(const QString &docTitle, int copyCount, QString *error)
{
    ++begins;
    if (failBegin) {
        if (error)
            *error = QStringLiteral("recording output cannot begin");
        return false;
    }
    title = docTitle;
    copies = copyCount;
    pages = 1;
    m_device.setPage(0);
    return m_painter.begin(&m_device);
}

bool RecordingOutput::newPage(QString *)
{
    m_device.setPage(pages);
    ++pages;
    return true;
}

bool RecordingOutput::end(QString *)
{
    ++ends;
    return m_painter.end();
}

void RecordingOutput::abort()
{
    ++aborts;
    if (m_painter.isActive())
        m_painter.end();
}

PrintDeviceMetrics RecordingOutput::metrics() const
{
    PrintDeviceMetrics m;
    m.dpiX = m_dpi;
    m.dpiY = m_dpi;
    m.physicalTop = physicalTop;
    return m;
}

} // namespace billprint::test
