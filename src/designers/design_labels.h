// What the template designer draws for a print item: one or more labels
// in canvas pixels, so the clerk sees the printed result. Kept apart from
// the window so the rules (sample text, line breaking, equal-width
// spacing, box sizes) are tested without one.
#pragma once

#include <QRect>
#include <QString>
#include <Qt>
#include <vector>

namespace billprint {

struct CkControl;
struct NameDict;

// The canvas scale: millimetres per pixel, the same on both axes. At zoom
// 100 a millimetre of paper is a millimetre on a screen of the given
// logical resolution, so the paper shows at its true size.
class PaperScale
{
public:
    PaperScale() = default;
    explicit PaperScale(double mmPerPixel) : m_mmPerPixel(mmPerPixel) {}
    static PaperScale forScreen(double logicalDpi, int zoomPercent);

    double mmPerPixel() const { return m_mmPerPixel; }
    // Tenths of a millimetre to pixels and back, rounded to the nearest.
    int toPixels(int tenthsMm) const;
    int toTenths(int pixels) const;

private:
    double m_mmPerPixel = 25.4 / 96.0;
};

// One label of the canvas.
struct DesignLabel
{
    QString hint;     // CtlName, + "L" + line for broken lines, + "R" + n for equal-width characters
    QString ctlName;  // the print item it belongs to
    QRect rect;       // canvas pixels
    QString text;
    QString fontName;
    int fontSize = 0;  // points at 100 %; the window scales it with the zoom
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Qt::Alignment align = Qt::AlignLeft;
};

// The text the designer shows for an item: InitValue, else the catalogue's
// sample (CtlData), else the label, each trimmed; empty draws nothing.
QString designSampleText(const CkControl &field, const NameDict &item);

// The box an item is drawn in: its print box in pixels; a width or height
// of 0 takes the input box's SrcW or SrcH as pixels.
QRect designBox(const CkControl &field, const PaperScale &scale);

// The labels of one item (none when it has no sample text).
std::vector<DesignLabel> designLabels(const CkControl &field, const QString &sample, const PaperScale &scale);

} // namespace billprint
