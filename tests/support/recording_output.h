#pragma once

// A print output that records what a run draws instead of printing it:
// every text with its device position (base line), font and colour, page
// by page, and the calls of the document's life.

#include "printing/print_output.h"

#include <QColor>
#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QPointF>
#include <memory>
#include <vector>

namespace billprint::test {

struct RecordedText
{
    int page = 0;          // from 0
    QPointF baseline;      // device units, start of the text on its base line
    QString text;          // one drawn text (runs of several scripts joined)
    qreal width = 0;       // advance, device units
    QFont font;
    QColor color;
};

class RecordingPaintEngine;

// A page of the given resolution whose texts are recorded.
class RecordingPaintDevice : public QPaintDevice
{
public:
    RecordingPaintDevice(int dpiX, int dpiY, QSize size = QSize(6000, 3000));
    ~RecordingPaintDevice() override;

    QPaintEngine *paintEngine() const override;
    std::vector<RecordedText> &texts();
    void setPage(int page);

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int m_dpiX;
    int m_dpiY;
    QSize m_size;
    std::unique_ptr<RecordingPaintEngine> m_engine;
};

class RecordingOutput : public PrintOutput
{
public:
    explicit RecordingOutput(int dpi = 600, bool isPrinter = false);

    // What the next calls do.
    int physicalTop = 0;
    bool dialogAnswer = true;
    bool failSetUp = false;
    bool failBegin = false;
    QRectF printable;    // printableArea(); null: the whole sheet

    // What happened.
    int setUps = 0;
    PrintPageSetup page;
    int dialogs = 0;
    int begins = 0;
    QString title;
    int copies = 0;
    int pages = 0;       // pages of the last document
    int ends = 0;
    int aborts = 0;

    std::vector<RecordedText> &texts() { return m_device.texts(); }
    // Texts of one page, or those equal to `text`.
    std::vector<RecordedText> textsOnPage(int page);
    std::vector<RecordedText> textsEqual(const QString &text);

    bool isPrinter() const override { return m_isPrinter; }
    bool setUp(const PrintPageSetup &page, QString *error) override;
    bool runSetupDialog() override;
    bool begin(const QString &title, int copies, QString *error) override;
    bool newPage(QString *error) override;
    bool end(QString *error) override;
    void abort() override;
    QRectF printableArea() const override { return printable; }
    QPainter *painter() override { return &m_painter; }
    PrintDeviceMetrics metrics() const override;
    bool isActive() const override { return m_painter.isActive(); }

private:
    int m_dpi;
    bool m_isPrinter;
    RecordingPaintDevice m_device;
    QPainter m_painter;
};

} // namespace billprint::test
