#include "app/delivered_resources.h"

#include <QFile>

// Outside any namespace: the macro declares the resource's own function.
static void initCoreLibraryResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace billprint {

void registerDeliveredResources()
{
    static const bool registered = (initCoreLibraryResources(), true);
    Q_UNUSED(registered);
}

QString deliveredText(const QString &resourcePath)
{
    registerDeliveredResources();
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace billprint
