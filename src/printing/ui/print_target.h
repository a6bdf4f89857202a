// Where a headless command prints: `--pdf OUT` or `--printer NAME`.
#pragma once

#include "printing/print_output.h"

#include <QString>
#include <memory>

namespace billprint {

class CommandLine;

// Declares --pdf and --printer on `line`.
void addPrintTarget(CommandLine &line);
// Why the options name no single target; empty when they do.
QString checkPrintTarget(const CommandLine &line);
// The output the options name (after checkPrintTarget) and its name for
// the command's result line.
std::unique_ptr<PrintOutput> makePrintOutput(const CommandLine &line);
QString printTargetName(const CommandLine &line);

} // namespace billprint
