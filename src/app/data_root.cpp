#include "app/data_root.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace billprint {

namespace {

bool isWritableFolder(const QString &folder)
{
    // QFileInfo::isWritable only looks at permission bits; a real write
    // also catches read-only mounts.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".billprint-probe-XXXXXX")));
    return probe.open();
}

// A program installed by the package manager (/usr/bin, /usr/local/bin,
// /opt/...) never keeps its data beside itself, even when run as root:
// the next update or removal would take a desk's bills with it.
bool isInstalledProgramFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder) + QLatin1Char('/');
    return clean.startsWith(QLatin1String("/usr/")) || clean.startsWith(QLatin1String("/opt/"));
}

// The per-user folder. Commands run before the program named its maker
// kept their data in ~/.local/share/billprint, beside the desktop's
// ~/.local/share/HeShuo/billprint: a desk that has data only there keeps
// using it rather than starting empty.
QString userDataFolder()
{
    const QString current = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString earlier = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                                .filePath(QStringLiteral("billprint"));
    const auto holdsData = [](const QString &folder) {
        return QFileInfo::exists(DataRoot(folder).databasePath());
    };
    if (QDir::cleanPath(current) != QDir::cleanPath(earlier) && !holdsData(current) && holdsData(earlier))
        return earlier;
    return current;
}

} // namespace

DataRoot::DataRoot(QString folder) : m_folder(QDir::cleanPath(QDir(folder).absolutePath())) {}

DataRoot DataRoot::resolve(const QString &overrideFolder, const QString &executableFolder)
{
    if (!overrideFolder.isEmpty())
        return DataRoot(overrideFolder);
    if (!executableFolder.isEmpty() && !isInstalledProgramFolder(executableFolder)
        && isWritableFolder(executableFolder))
        return DataRoot(executableFolder);
    return DataRoot(userDataFolder());
}

QString DataRoot::getRunPath() const
{
    return m_folder.endsWith(QLatin1Char('/')) ? m_folder : m_folder + QLatin1Char('/');
}

QString DataRoot::databasePath() const { return getRunPath() + QStringLiteral("Data/EPData.ini"); }
QString DataRoot::configIniPath() const { return getRunPath() + QStringLiteral("Config.ini"); }
QString DataRoot::debugIniPath() const { return getRunPath() + QStringLiteral("Debug.ini"); }
QString DataRoot::imageFolder() const { return getRunPath() + QStringLiteral("Image/"); }
QString DataRoot::checkIniFolder() const { return getRunPath() + QStringLiteral("Temp/CheckIni/"); }
QString DataRoot::exportFolder() const { return getRunPath() + QStringLiteral("Export/"); }

QString DataRoot::prepare() const
{
    QDir dir;
    for (const QString &sub : {getRunPath(), getRunPath() + QStringLiteral("Data"), imageFolder(),
                               checkIniFolder()}) {
        if (!dir.mkpath(sub))
            return QStringLiteral("无法创建数据文件夹：%1").arg(QDir::toNativeSeparators(sub));
    }
    if (!isWritableFolder(m_folder))
        return QStringLiteral("数据文件夹不可写：%1").arg(QDir::toNativeSeparators(m_folder));
    return QString();
}

} // namespace billprint
