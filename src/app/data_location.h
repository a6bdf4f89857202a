#pragma once

#include "app/data_root.h"
#include "app/database_url.h"

#include <QString>
#include <memory>

namespace billprint {

class Database;

// Where the program's data lives: always a data folder (settings, caches,
// pictures of this desk), and the database either in that folder (the
// SQLite file Data/EPData.ini) or on a server an office shares. The server
// is named by --database, else by Config.ini's [Database] Url.
struct DataLocation
{
    DataRoot folder;
    QString databaseUrl;  // from the command line; empty: as Config.ini says

    // The server's address this location uses; empty for the folder's own
    // database file.
    QString sharedDatabaseUrl() const;
};

// Config.ini's [Database] Url of `root`; empty when it names none.
QString configuredDatabaseUrl(const DataRoot &root);
void setConfiguredDatabaseUrl(const DataRoot &root, const QString &url);

// Opens the location's database. With `create`, a database that does not
// exist yet (file) or holds no tables yet (server) is set up; without, it
// is refused with a message.
std::unique_ptr<Database> openLocationDatabase(const DataLocation &location, bool create, QString *error);

} // namespace billprint
