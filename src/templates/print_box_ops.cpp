#include "templates/print_box_ops.h"

#include "templates/ck_control.h"

#include <algorithm>

namespace billprint {

PrintBox PrintBox::of(const CkControl &field)
{
    return {field.CtlName, field.CtlX, field.CtlY, field.CtlW, field.CtlH};
}

namespace PrintBoxOps {

namespace {

int &coordinate(PrintBox &box, BoxEdge edge)
{
    return (edge == BoxEdge::Left || edge == BoxEdge::Right) ? box.x : box.y;
}

int &size(PrintBox &box, BoxSide side)
{
    return side == BoxSide::Width ? box.w : box.h;
}

} // namespace

std::vector<PrintBox> align(std::vector<PrintBox> boxes, BoxEdge edge)
{
    if (boxes.empty())
        return boxes;
    const bool smallest = edge == BoxEdge::Left || edge == BoxEdge::Top;
    int target = coordinate(boxes.front(), edge);
    for (PrintBox &box : boxes)
        target = smallest ? std::min(target, coordinate(box, edge)) : std::max(target, coordinate(box, edge));
    for (PrintBox &box : boxes)
        coordinate(box, edge) = target;
    return boxes;
}

std::vector<PrintBox> equalSize(std::vector<PrintBox> boxes, BoxSide side, Extreme extreme)
{
    if (boxes.empty())
        return boxes;
    int target = size(boxes.front(), side);
    for (PrintBox &box : boxes)
        target = extreme == Extreme::Largest ? std::max(target, size(box, side)) : std::min(target, size(box, side));
    if (target <= 0)
        target = side == BoxSide::Height ? 40 : (extreme == Extreme::Largest ? 120 : 35);
    for (PrintBox &box : boxes)
        size(box, side) = target;
    return boxes;
}

std::vector<PrintBox> grow(std::vector<PrintBox> boxes, BoxSide side, int step)
{
    for (PrintBox &box : boxes)
        size(box, side) += step;
    return boxes;
}

std::vector<PrintBox> shrink(std::vector<PrintBox> boxes, BoxSide side, int step, QStringList *unchanged)
{
    for (PrintBox &box : boxes) {
        if (size(box, side) > step)
            size(box, side) -= step;
        else if (unchanged)
            unchanged->append(box.name);
    }
    return boxes;
}

std::vector<PrintBox> distribute(std::vector<PrintBox> boxes, Axis axis, int stride)
{
    if (boxes.size() < 2)
        return boxes;
    const int start = axis == Axis::Horizontal ? boxes.front().x : boxes.front().y;
    for (size_t k = 1; k < boxes.size(); ++k)
        (axis == Axis::Horizontal ? boxes[k].x : boxes[k].y) = start + int(k) * stride;
    return boxes;
}

std::vector<PrintBox> move(std::vector<PrintBox> boxes, int dx, int dy)
{
    for (PrintBox &box : boxes) {
        box.x += dx;
        box.y += dy;
    }
    return boxes;
}

std::vector<ColumnEdit> edits(int checkTypeId, const std::vector<PrintBox> &before,
                              const std::vector<PrintBox> &after)
{
    std::vector<ColumnEdit> result;
    const size_t n = std::min(before.size(), after.size());
    for (size_t i = 0; i < n; ++i) {
        const PrintBox &b = before[i];
        const PrintBox &a = after[i];
        const auto add = [&](const char *column, int was, int now) {
            if (was != now)
                result.push_back(ColumnEdit::field(checkTypeId, b.name, QString::fromLatin1(column), was, now));
        };
        add("CtlX", b.x, a.x);
        add("CtlY", b.y, a.y);
        add("CtlW", b.w, a.w);
        add("CtlH", b.h, a.h);
    }
    return result;
}

} // namespace PrintBoxOps

} // namespace billprint
