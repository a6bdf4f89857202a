// From template units to printer device units.
//
// Templates give positions in tenths of a millimetre from the paper's
// top-left corner. A page is drawn in device units (printer dots) with the
// origin at the top-left corner of the printable area, which sits
// `physicalLeft`, `physicalTop` device units from the paper's corner.
#pragma once

#include <QRectF>
#include <cmath>

class QPageLayout;
class QPaintDevice;

namespace billprint {

// What the renderer needs to know of the page it draws on.
struct PrintDeviceMetrics
{
    int dpiX = 600;          // device units per inch
    int dpiY = 600;
    // The printable area's offset from the paper's corner. Only the top one
    // enters the position formulas (a value's x was always measured with the
    // printer's left margin in it); outputs that draw from the paper's corner
    // report 0 for both.
    int physicalLeft = 0;
    int physicalTop = 0;

    // Resolution of `device`; the printable area at the paper's corner.
    static PrintDeviceMetrics of(const QPaintDevice &device);
};

// The part of a printer's page it can print on, in millimetres from the
// paper's top-left corner as the page is read: the paper less, on each
// side, the larger of the layout's margins and the printer's minimum
// margins. The pages are drawn in full-page mode (from the paper's corner,
// as the templates measure), so ink placed in a margin is cut off.
QRectF printableAreaOf(const QPageLayout &layout);

// Rounds to the nearest integer, halves to the even neighbour.
inline int roundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5)
        return int(lower);
    if (diff > 0.5)
        return int(lower) + 1;
    return (std::fmod(lower, 2.0) == 0.0) ? int(lower) : int(lower) + 1;
}

// A position in tenths of a millimetre as device units from the paper's
// edge, rounded in the three steps the print layouts were measured with:
// R(R(R(v * dpi * 1000 / 25.4) / 1000) / 10).
inline int tenthsMmToDevice(int tenthsMm, int dpi)
{
    const int thousandths = roundHalfEven(double(tenthsMm) * dpi * 1000.0 / 25.4);
    return roundHalfEven(roundHalfEven(thousandths / 1000.0) / 10.0);
}

} // namespace billprint
