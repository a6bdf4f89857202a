// `billprint convert ...`: the text conversions for scripts, one result per
// call, printed as UTF-8 with a final newline.
//
//   convert capitals AMOUNT            amount in financial capitals
//   convert digits AMOUNT BOXES MODE   amount spread over digit boxes
//   convert date TEXT                  year, month or day in capitals
//   convert normalize TEXT             typed amount cleaned to a number text
//   convert break WIDTH TEXT           text broken by width, one piece a line
//
// The first "--" is dropped, and every word from the conversion on is
// taken as it stands, so a value may begin with "-"; `convert --help`
// prints the usage. Returns the exit code: 0 on
// success; 2 with a one-line message on err for an unknown command, a
// missing, extra or non-numeric argument, or an amount out of range.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace billprint {

// args are the words after "convert".
int runConvertCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace billprint
