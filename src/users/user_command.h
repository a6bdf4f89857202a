#pragma once

#include <QStringList>
#include <QTextStream>

namespace billprint {

// `billprint user add NAME --role ROLE [--remark TEXT] [--data DIR]`
// `billprint user passwd NAME [--data DIR]`
//
// Lets an administrator without a desktop add an operator (with an empty
// password, as the management window does) or set an operator's password.
// The password is read as the first line of `in` and never taken from
// the command line, where other users of the machine could see it.
// Returns 0 when done; 2 with one line on `err` when nothing was done.
int runUserCommand(const QStringList &args, const QString &dataFolder, QTextStream &in, QTextStream &out,
                   QTextStream &err);

} // namespace billprint
