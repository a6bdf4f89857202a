#pragma once

#include <QSize>

namespace billprint {

// Size limits of a bill window for a template picture of `picture` pixels
// in a work area of `area` pixels, with `chrome` the height of the tool
// bar, the template row and the option bar together.
struct BillWindowLimits
{
    int minWidth = 0;
    int maxWidth = 0;
    int minHeight = 0;
    int maxHeight = 0;
    int height = 0;

    static BillWindowLimits compute(QSize picture, QSize area, int chrome);
};

} // namespace billprint
