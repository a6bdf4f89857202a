#include "bills/ui/bill_window_limits.h"

#include <QtGlobal>

namespace billprint {

BillWindowLimits BillWindowLimits::compute(QSize picture, QSize area, int chrome)
{
    BillWindowLimits l;
    const int tw = picture.width();
    const int w = area.width();
    const int h = area.height();
    l.minWidth = (tw < w - 10 ? tw + 15 : w - 10) + 8;
    l.maxWidth = tw + 20;
    const int needed = chrome + picture.height();
    const int limit = needed < h - 10 ? needed + 40 : h - 10;
    l.minHeight = limit;
    l.maxHeight = limit;
    l.height = qMin(h, limit);
    return l;
}

} // namespace billprint
