// `billprint import FILE --into addressbook|batch [--sheet NAME]
//  [--no-duplicates contact,name,phone] [--data DIR]`
//
// Imports the rows of a spreadsheet or text file into the address book or
// the batch list with the desktop import's automatic column matching, log
// file and messages.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace billprint {

// Returns 0 with the result message on `out` when the file was read (even
// when no row was stored); 2 with one line on `err` when nothing was done.
int runImportCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err);

} // namespace billprint
