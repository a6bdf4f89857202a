// `billprint package export --template ID|NAME[,ID|NAME...] OUT.tpk [--data DIR]`
// `billprint package import FILE.tpk [--template ID|NAME]... [--data DIR]`
//
// Moves templates between installations. Export writes the templates with
// their fields, family catalogue, dictionary rows and pictures into a new
// package. Import takes the named templates (all when none is named) in
// one transaction; a name already in use gets a numbered last name. Both
// print the template ids (new ids for an import), one a line.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace billprint {

// Returns 0 when done; 2 with one line on `err` and nothing changed.
int runPackageCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err);

} // namespace billprint
