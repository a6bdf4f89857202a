#include "bills/print_geometry.h"

#include <QPaintDevice>

namespace billprint {

PrintDeviceMetrics PrintDeviceMetrics::of(const QPaintDevice &device)
{
    PrintDeviceMetrics m;
    m.dpiX = device.logicalDpiX();
    m.dpiY = device.logicalDpiY();
    return m;
}

} // namespace billprint
