#pragma once

#include <QString>

namespace billprint {

// The program's version from the build: four numbers a.b.c.d.
// Mode 2 gives "a.b", mode 3 "a.b.c", any other mode "a.b.c.d".
QString getFileVersionText(int mode);
QString formatVersionText(int major, int minor, int patch, int tweak, int mode);

} // namespace billprint
