#pragma once

#include <QStringList>
#include <QTextStream>

namespace billprint {

// `billprint upgrade [--data DIR]`
//
// Brings the database of the data folder (and the empty template package
// beside it) up to date, as the upgrade window does, printing every step.
// Returns 0 when upgraded or already current; 2 with one line on `err`
// when nothing was changed (bad command line, no database, a failure).
int runUpgradeCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err);

} // namespace billprint
