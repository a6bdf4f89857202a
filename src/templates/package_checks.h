// The checks a template package from a stranger passes before anything in
// it is used: every object of its schema a plain table or an index on
// plain columns, the tables and columns the program reads, and limits on
// what it may hold (TemplatePackage::Max...), counted in SQL before a row
// is fetched.
#pragma once

#include <QStringList>
#include <QVariantMap>
#include <vector>

namespace billprint {

class PackageConnection;

// True when the file starts as an SQLite database does.
bool looksLikeSqlite(const QString &path);

// Runs every check on an open package; false with `error` (a refusal for
// the user) at the first one it fails. `presentOptional` lists the optional
// tables the package has.
bool checkPackage(PackageConnection &c, QStringList *presentOptional, QString *error);

// Reads every row of a checked table (columns by lower-case name),
// applying the size limits again as the values arrive. `textBytes` counts
// the text read from the whole package.
bool readPackageRows(PackageConnection &c, const QString &table, std::vector<QVariantMap> *rows, qint64 *textBytes,
                     QString *error);

} // namespace billprint
