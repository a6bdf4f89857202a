#pragma once

#include <QSqlDatabase>
#include <QString>

namespace billprint {

// Whole-file copies of a live SQLite database through SQLite's own backup
// interface, so the copy is consistent even while the connection is in use
// and needs no closing of the program's connection.

// Copies the schema `schema` ("main", or the name of an attached database)
// of `db` into a new file at `target`. The copy is written beside the
// target under a temporary name and renamed into place, so `target` is
// either the complete copy or untouched. An existing file is replaced.
bool backupDatabaseFile(const QSqlDatabase &db, const QString &schema, const QString &target, QString *error);

// Writes the content of the database file `source` back over the schema
// `schema` of the open connection `db`.
bool restoreDatabaseFile(const QSqlDatabase &db, const QString &schema, const QString &source, QString *error);

// `path` itself when no such file exists, else the first of path-2,
// path-3 ... that does not: an earlier copy is never overwritten.
QString unusedFileName(const QString &path);

} // namespace billprint
