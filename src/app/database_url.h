#pragma once

#include <QString>

namespace billprint {

// The address of a shared database server, as a clerk writes it after
// --database or in Config.ini ([Database] Url):
//
//   postgresql://USER@HOST[:PORT]/DBNAME
//   postgresql://USER@/DBNAME?host=/run/postgresql   (a Unix socket folder)
//
// The password is never part of it: the server's client library finds it
// where PostgreSQL users keep it (~/.pgpass, PGPASSWORD, a service file),
// so the program never stores one in clear.
struct DatabaseUrl
{
    QString user;
    QString host;        // a name, an address, or a socket folder (starts with '/')
    int port = 0;        // 0: the server's default
    QString databaseName;

    // Reads `text`; on failure returns an empty url (databaseName empty)
    // and sets `error` to a message for the clerk.
    static DatabaseUrl parse(const QString &text, QString *error);
    bool isValid() const { return !databaseName.isEmpty(); }
    // The address again, for messages and the settings window.
    QString toString() const;
};

} // namespace billprint
