// Where a headless command prints: `--pdf OUT`, `--printer NAME` and, for
// the commands that offer it, pictures: `--png OUT.png` (one page) or
// `--png-dir DIR` (a picture per page), with `--dpi N` and `--with-form`.
#pragma once

#include "printing/print_output.h"

#include <QString>
#include <memory>

namespace billprint {

class AppContext;
class CommandLine;

// The picture option a command offers besides --pdf and --printer.
enum class PictureTarget { None, File, Folder };

// Declares --pdf and --printer on `line`, and the picture options `pictures`
// names with --dpi and --with-form.
void addPrintTarget(CommandLine &line, PictureTarget pictures = PictureTarget::None);
// Why the options name no single target or a bad resolution; empty when
// they are right.
QString checkPrintTarget(const CommandLine &line);
// The output the options name (after checkPrintTarget) and its name for
// the command's result line.
std::unique_ptr<PrintOutput> makePrintOutput(const CommandLine &line);
QString printTargetName(const CommandLine &line);
// With --with-form, puts the form picture of template `checkTypeId` under
// the pictures `output` draws. Why it cannot be read; empty when done or
// not asked.
QString useFormPicture(PrintOutput &output, const CommandLine &line, const AppContext &context, int checkTypeId);

} // namespace billprint
