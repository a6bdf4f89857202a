#include "app/version.h"

namespace billprint {

QString formatVersionText(int major, int minor, int patch, int tweak, int mode)
{
    QString text = QString::number(major) + QLatin1Char('.') + QString::number(minor);
    if (mode == 2)
        return text;
    text += QLatin1Char('.') + QString::number(patch);
    if (mode == 3)
        return text;
    return text + QLatin1Char('.') + QString::number(tweak);
}

QString getFileVersionText(int mode)
{
#ifdef BILLPRINT_VERSION_MAJOR
    return formatVersionText(BILLPRINT_VERSION_MAJOR, BILLPRINT_VERSION_MINOR + 0,
                             BILLPRINT_VERSION_PATCH + 0, BILLPRINT_VERSION_TWEAK + 0, mode);
#else
    return mode == 2 ? QStringLiteral("0.0") : QStringLiteral("0.0.0.0");
#endif
}

} // namespace billprint
