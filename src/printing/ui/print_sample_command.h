// `billprint print-sample --template ID|NAME [--calibrate] (--pdf OUT | --printer NAME) [--data DIR]`:
// prints the sample bill of a template (every print item with its sample
// value, through the bill windows' print run) to a PDF file or a printer,
// so a clerk can check the alignment on plain paper. With --calibrate the
// sheet also carries a millimetre grid and every item's box and name.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace billprint {

// `args` are the words after "print-sample"; `dataFolder` is a --data given
// before the command (one after it wins). Returns 0 when the sheet was
// printed; 2 with one line on `err` for a bad command line, a data folder
// or template that cannot be opened, or a run that failed.
int runPrintSampleCommand(const QStringList &args, const QString &dataFolder, QTextStream &out,
                          QTextStream &err);

} // namespace billprint
