#include "templates/delivered_pictures.h"

#include "app/delivered_resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace billprint {

int ensureDeliveredPictures(const QString &imageFolder)
{
    registerDeliveredResources();
    const QDir target(imageFolder);
    if (!QDir().mkpath(target.absolutePath()))
        return 0;
    const QDir source(QStringLiteral(":/images"));
    int copied = 0;
    for (const QString &name : source.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name)) {
        const QString path = target.filePath(name);
        if (QFileInfo::exists(path))
            continue;
        // QFile::copy keeps the read-only flag of a resource; the user must
        // be able to replace the picture later.
        if (QFile::copy(source.filePath(name), path)) {
            QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner
                                            | QFileDevice::ReadOwner);
            ++copied;
        }
    }
    return copied;
}

} // namespace billprint
