#pragma once

#include <QStringList>
#include <QTextStream>

namespace billprint {

// `billprint db init [--database URL]`
// `billprint db copy --from DIR|URL --to URL|DIR [--replace]`
//
// Moving an office onto a shared database: init builds the schema in an
// empty database on the server (the address from --database, else the
// data folder's Config.ini); copy carries a desk's data folder into it,
// or the shared database back into a new database file in a folder (a
// backup a desk can open). Returns 0 when done; 2 with one line on `err`
// when nothing was done.
int runDbCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err);

} // namespace billprint
