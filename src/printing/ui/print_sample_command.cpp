#include "printing/ui/print_sample_command.h"

#include "app/app_context.h"
#include "app/command_context.h"
#include "app/command_line.h"
#include "printing/calibration_sheet.h"
#include "printing/print_sample.h"
#include "printing/ui/print_target.h"
#include "templates/named_template.h"

#include <QPrinterInfo>

namespace billprint {

namespace {

CommandLine printSampleCommandLine()
{
    CommandLine line(QStringLiteral("print-sample"),
                     {QStringLiteral("--template ID|NAME [--calibrate]\n"
                                     "(--pdf OUT | --png OUT.png [--dpi N] [--with-form] | --printer NAME) [--data DIR]")},
                     QStringLiteral("Prints a template's sample bill (every print item with its sample value) to\n"
                                    "check the alignment on plain paper.\n"
                                    "Exit 0: printed; 2: nothing printed (bad command line, unknown template,\n"
                                    "a run that failed)."));
    line.option(QStringLiteral("template"), QStringLiteral("ID|NAME"),
                QStringLiteral("the template by id, full name or last name"))
        .flag(QStringLiteral("calibrate"), QStringLiteral("add a millimetre grid and every item's box and name"));
    addPrintTarget(line, PictureTarget::File);
    return line;
}

QString checkRequest(const CommandLine &line)
{
    if (!line.isSet(QStringLiteral("template")))
        return QStringLiteral("--template ID|NAME is required");
    return checkPrintTarget(line);
}

} // namespace

int runPrintSampleCommand(const QStringList &args, const QString &dataFolder, QTextStream &out,
                          QTextStream &err)
{
    CommandLine line = printSampleCommandLine();
    CommandContext command(line, dataFolder, err);
    if (const std::optional<int> done = command.start(args, out))
        return *done;
    if (const QString refusal = checkRequest(line); !refusal.isEmpty())
        return command.fail(refusal);
    AppContext *context = command.openContext();
    if (!context)
        return kNothingDone;
    QString error;
    const std::optional<TCheckType> type =
        findNamedTemplate(context->db(), line.value(QStringLiteral("template")), QString(), &error);
    if (!type)
        return command.fail(error);
    context->printerNames = QPrinterInfo::availablePrinterNames();

    // The run tells its troubles as message boxes; here they are the
    // command's error line.
    const QStringList &told = command.collectAlerts();
    const std::unique_ptr<PrintOutput> output = makePrintOutput(line);
    if (const QString refusal = useFormPicture(*output, line, *context, type->CheckTypeID); !refusal.isEmpty())
        return command.fail(refusal);
    const bool printed = line.isSet(QStringLiteral("calibrate"))
                             ? printCalibrationSheet(*context, type->CheckTypeID, *output, &error)
                             : printSampleBill(*context, type->CheckTypeID, *output, &error);
    if (!printed || !told.isEmpty())
        return command.fail(!error.isEmpty() ? error : told.value(0, QStringLiteral("打印失败")));
    out << "template " << type->CheckTypeID << " -> " << printTargetName(line) << "\n";
    return 0;
}

} // namespace billprint
