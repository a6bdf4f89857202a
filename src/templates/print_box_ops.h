// The template designer's operations on print boxes, as values: align to
// the extreme item, equal sizes, grow and shrink, spread at a stride, move
// by a step. Each takes the selected boxes in selection order and returns
// them as they should become; the window turns the difference into one
// undoable step.
#pragma once

#include "templates/template_edit.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace billprint {

struct CkControl;

// A field's print box, tenths of a millimetre.
struct PrintBox
{
    QString name;  // CtlName
    int x = 0;     // CtlX
    int y = 0;     // CtlY
    int w = 0;     // CtlW
    int h = 0;     // CtlH

    static PrintBox of(const CkControl &field);
    bool operator==(const PrintBox &o) const
    {
        return name == o.name && x == o.x && y == o.y && w == o.w && h == o.h;
    }
};

enum class BoxEdge { Left, Right, Top, Bottom };
enum class BoxSide { Width, Height };
enum class Extreme { Largest, Smallest };
enum class Axis { Horizontal, Vertical };

namespace PrintBoxOps {

// Left: every x := the smallest x; Right: the largest x; Top/Bottom the
// same for y.
std::vector<PrintBox> align(std::vector<PrintBox> boxes, BoxEdge edge);
// Every width (height) := the largest or smallest; an extreme of 0 or less
// gives the designer's fallback: widest 120, narrowest 35, heights 40.
std::vector<PrintBox> equalSize(std::vector<PrintBox> boxes, BoxSide side, Extreme extreme);
// Adds `step` to every width (height).
std::vector<PrintBox> grow(std::vector<PrintBox> boxes, BoxSide side, int step);
// Takes `step` off every width (height) larger than the step; the names of
// the boxes left as they were go to `unchanged`.
std::vector<PrintBox> shrink(std::vector<PrintBox> boxes, BoxSide side, int step, QStringList *unchanged);
// Box k (from 0, selection order) := the first box's x (y) + k × stride,
// so the boxes stand at equal distances from the first.
std::vector<PrintBox> distribute(std::vector<PrintBox> boxes, Axis axis, int stride);
// Every box moved by (dx, dy).
std::vector<PrintBox> move(std::vector<PrintBox> boxes, int dx, int dy);

// The column edits that turn `before` into `after` (same boxes, same
// order) for template `checkTypeId`: one per changed column.
std::vector<ColumnEdit> edits(int checkTypeId, const std::vector<PrintBox> &before,
                              const std::vector<PrintBox> &after);

} // namespace PrintBoxOps

} // namespace billprint
