// The files compiled into the core library: the schema scripts, the
// delivered pictures, the region table, the surname list. The library is
// static, so it registers its resources itself, once, before the first of
// them is read.
#pragma once

#include <QString>

namespace billprint {

void registerDeliveredResources();

// The text of the delivered file `resourcePath` (":/…"), read as UTF-8;
// empty when there is no such file.
QString deliveredText(const QString &resourcePath);

} // namespace billprint
