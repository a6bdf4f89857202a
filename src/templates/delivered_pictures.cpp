#include "templates/delivered_pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The pictures are compiled into the core library; a static library has to
// register its resources itself.
static void initDeliveredPictureResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace billprint {

int ensureDeliveredPictures(const QString &imageFolder)
{
    static const bool registered = (initDeliveredPictureResources(), true);
    Q_UNUSED(registered);
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
