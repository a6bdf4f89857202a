#include "app/data_location.h"

#include "app/database.h"
#include "app/ini_file.h"

#include <QFileInfo>

namespace billprint {

namespace {

const QString kSection = QStringLiteral("Database");
const QString kUrl = QStringLiteral("Url");

} // namespace

QString configuredDatabaseUrl(const DataRoot &root)
{
    if (!QFileInfo(root.configIniPath()).isFile())
        return QString();
    return IniFile(root.configIniPath()).readString(kSection, kUrl).trimmed();
}

void setConfiguredDatabaseUrl(const DataRoot &root, const QString &url)
{
    IniFile ini(root.configIniPath());
    ini.writeString(kSection, kUrl, url.trimmed());
    ini.flush();
}

QString DataLocation::sharedDatabaseUrl() const
{
    return databaseUrl.isEmpty() ? configuredDatabaseUrl(folder) : databaseUrl;
}

std::unique_ptr<Database> openLocationDatabase(const DataLocation &location, bool create, QString *error)
{
    const QString urlText = location.sharedDatabaseUrl();
    if (urlText.isEmpty()) {
        if (!create && !QFileInfo(location.folder.databasePath()).isFile()) {
            if (error)
                *error = QStringLiteral("no database in ") + location.folder.folder();
            return nullptr;
        }
        return Database::open(location.folder.databasePath(), error);
    }
    const DatabaseUrl url = DatabaseUrl::parse(urlText, error);
    if (!url.isValid())
        return nullptr;
    return Database::openShared(url, create, error);
}

} // namespace billprint
