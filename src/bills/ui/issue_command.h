// `billprint print --family 支票|进账单|缴款单 [--template ID|NAME] [--amount A]
//  [--date YYYY-MM-DD] [--payee NAME] [--drawer NAME] [--set FIELD=VALUE]...
//  (--pdf OUT | --printer NAME) [--save] [--data DIR]`
//
// Issues a bill without the desktop, for scripts and integrations: the
// family's entry window is filled offscreen through its own operations (the
// amount as typed, the date through the date picker, the payee by name, the
// drawer through the address book) and printed through the same print run,
// so the paper shows exactly what the desktop would print. With --save the
// bill is also stored in the family's history table and its serial number
// printed.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace billprint {

// `args` are the words after "print"; `dataFolder` a --data given before
// the command. Needs a QApplication. Returns 0 when printed (and saved when
// asked), the window's messages then going to `err` as warnings; 2 with
// one line on `err` when nothing was printed or saved (a bad command line:
// unknown field, bad amount or date, unknown template; or a print that
// failed); 3 when the bill was printed but could not be saved.
int runIssueCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err);

} // namespace billprint
