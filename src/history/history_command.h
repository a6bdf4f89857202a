// `billprint history FAMILY [--number N] [--party TEXT] [--from YYYY-MM-DD]
//  [--to YYYY-MM-DD] [--min A] [--max A] [--exact]
//  (--csv OUT | --xlsx OUT | --json) [--data DIR]`
//
// Lists the issued bills of a family that the history window lists for
// the same filters, in the window's first order, with every column of the
// table as stored (amounts as typed, dates as YYYY-MM-DD), so that a
// script can reconcile issued cheques. --party filters the second party
// of the family (the payee; the waybill's receiver); --exact compares
// whole values instead of containment. OUT "-" is standard output; --json
// always writes there.
#pragma once

#include <QIODevice>
#include <QStringList>
#include <QTextStream>

namespace billprint {

// `args` are the words after "history"; `dataFolder` a --data given
// before the command. Returns 0 when the list was written; 2 with one line
// on `err` for a bad command line, a data folder without a database, a
// database error or an output that cannot be written.
int runHistoryCommand(const QStringList &args, const QString &dataFolder, QIODevice &out, QTextStream &err);

} // namespace billprint
