#include "printing/print_geometry.h"

#include <QPageLayout>
#include <QPaintDevice>

namespace billprint {

PrintDeviceMetrics PrintDeviceMetrics::of(const QPaintDevice &device)
{
    PrintDeviceMetrics m;
    m.dpiX = device.logicalDpiX();
    m.dpiY = device.logicalDpiY();
    return m;
}

QRectF printableAreaOf(const QPageLayout &layout)
{
    QPageLayout mm = layout;
    mm.setUnits(QPageLayout::Millimeter);
    const QMarginsF margins = mm.margins();
    const QMarginsF minimum = mm.minimumMargins();
    const QMarginsF widest(qMax(margins.left(), minimum.left()), qMax(margins.top(), minimum.top()),
                           qMax(margins.right(), minimum.right()), qMax(margins.bottom(), minimum.bottom()));
    return mm.fullRect().marginsRemoved(widest);
}

} // namespace billprint
