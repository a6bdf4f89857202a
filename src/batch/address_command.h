// `billprint parse-address [--data DIR] [--explain]`
//
// Reads JSON lines {"id": ..., "text": "..."} on standard input and writes
// one JSON line per input line with the fields the parser window shows
// after recognition with "含省市" unticked. A line that is no JSON object
// with a text gets an error object and the rest go on.
#pragma once

#include "addressbook/address_parser.h"

#include <QStringList>
#include <QTextStream>

namespace billprint {

// Exit 0 when every line was read; 2 with one line on `err` for a bad
// command line.
int runParseAddressCommand(const QStringList &args, const QString &dataFolder, QTextStream &in,
                           QTextStream &out, QTextStream &err);

// One output line (without its line break) for one input line; with
// `explain`, an "explain" object tells the step that set each field and
// the replacement pairs that applied to the text.
QString parseAddressLine(const QString &line, const ReplacementPairs &replacements = {}, bool explain = false);

} // namespace billprint
