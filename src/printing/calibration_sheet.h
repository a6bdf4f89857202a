// The calibration sheet of a template: a 10 mm grid over the whole paper
// with millimetre ticks along the edges and numbered lines, every print
// item's box outlined and named, and the sample values printed as a bill
// would print them. Printed on plain paper and held against a pre-printed
// form, it shows how far the printer lands from the form's boxes, which is
// the whole-print offset (or the item's own position) to enter.
#pragma once

#include "printing/print_geometry.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

class QPainter;

namespace billprint {

class AppContext;
class PrintOutput;

// A print item's box and caption, tenths of a millimetre from the paper's
// corner (a box of width or height 0 is marked by a cross at its corner).
// The box is drawn where the item's value lands: a value starts the
// renderer's lead-in (one em of `fontSize`) right of the template x, and
// is lined up in its box by `align` ("1" centre, "2" right) unless its
// characters are spread at a pitch.
struct CalibrationBox
{
    QString caption;
    QRect box;
    int fontSize = 0;  // CtlFontSize: the one-line size the lead-in is measured in
    QString align;
    bool spread = false;  // FitParam set: one character per digit box
};

class CalibrationSheet
{
public:
    // `paper` in tenths of a millimetre; the boxes are moved by the
    // template's whole-print offsets (dx, dy) like its values, the grid is
    // not: it measures the sheet itself.
    CalibrationSheet(QSize paper, std::vector<CalibrationBox> boxes, int dx, int dy);

    // Reads the template's printed items (shown and printed fields of the
    // family's print items). Throws TemplateError when it cannot.
    static std::vector<CalibrationBox> boxesOf(const AppContext &context, int checkTypeId, const QString &family);

    // Draws onto a page whose device has `metrics` (device units from the
    // printable area's corner, as the renderer draws values).
    void draw(QPainter &painter, const PrintDeviceMetrics &metrics) const;

    // Where the numbers of the grid lines are written, tenths of a
    // millimetre: right of a vertical line and below a horizontal one.
    static constexpr int kNumberGap = 6;
    static constexpr int kGridStep = 100;

private:
    QSize m_paper;
    std::vector<CalibrationBox> m_boxes;
    int m_dx;
    int m_dy;
};

// Prints the calibration sheet of template `checkTypeId` as one page
// through `output` (the grid, then the values through the bill print run).
// False with `error` when the template is unknown or cannot be read; a run
// that fails tells the user as any run does and returns false.
bool printCalibrationSheet(AppContext &context, int checkTypeId, PrintOutput &output, QString *error);

} // namespace billprint
