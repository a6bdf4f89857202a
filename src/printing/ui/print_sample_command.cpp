#include "printing/ui/print_sample_command.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/data_root.h"
#include "printing/calibration_sheet.h"
#include "printing/pdf_print_output.h"
#include "printing/print_sample.h"
#include "printing/ui/printer_output.h"

#include <QCoreApplication>
#include <QPrinterInfo>

#include "app/one_line.h"

namespace billprint {

namespace {

struct SampleRequest
{
    int templateId = 0;
    QString pdfPath;
    QString printerName;
    bool toPrinter = false;
    bool calibrate = false;  // the calibration sheet: grid, boxes and names under the sample values
    QString dataFolder;
    QString error;
};

SampleRequest parse(const QStringList &args, const QString &dataFolder)
{
    SampleRequest request;
    request.dataFolder = dataFolder;
    bool haveTemplate = false;
    bool havePdf = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--calibrate")) {
            request.calibrate = true;
            continue;
        }
        const bool known = arg == QLatin1String("--template") || arg == QLatin1String("--pdf")
                           || arg == QLatin1String("--printer") || arg == QLatin1String("--data");
        if (!known) {
            request.error = QStringLiteral("unknown argument: ") + arg;
            return request;
        }
        if (i + 1 >= args.size()) {
            request.error = arg + QStringLiteral(" needs a value");
            return request;
        }
        const QString value = args.at(++i);
        if (arg == QLatin1String("--template")) {
            bool ok = false;
            request.templateId = value.toInt(&ok);
            if (!ok || request.templateId <= 0) {
                request.error = QStringLiteral("--template needs a template id (a whole number above 0): ") + value;
                return request;
            }
            haveTemplate = true;
        } else if (arg == QLatin1String("--pdf")) {
            request.pdfPath = value;
            havePdf = true;
        } else if (arg == QLatin1String("--printer")) {
            request.printerName = value;
            request.toPrinter = true;
        } else {
            request.dataFolder = value;
        }
    }
    if (!haveTemplate)
        request.error = QStringLiteral("--template ID is required");
    else if (havePdf == request.toPrinter)
        request.error = QStringLiteral("give either --pdf OUT or --printer NAME");
    else if (havePdf && request.pdfPath.trimmed().isEmpty())
        request.error = QStringLiteral("--pdf needs a file name");
    return request;
}

int failWith(QTextStream &err, const QString &message)
{
    err << "billprint: print-sample: " << message << "\n";
    err.flush();
    return 2;
}

} // namespace

int runPrintSampleCommand(const QStringList &args, const QString &dataFolder, QTextStream &out,
                          QTextStream &err)
{
    const SampleRequest request = parse(args, dataFolder);
    if (!request.error.isEmpty())
        return failWith(err, request.error);

    const DataRoot root = DataRoot::resolve(request.dataFolder, QCoreApplication::applicationDirPath());
    QString error;
    std::unique_ptr<AppContext> context = AppContext::open(root, &error);
    if (!context)
        return failWith(err, oneLine(error));
    context->printerNames = QPrinterInfo::availablePrinterNames();

    // The run tells its troubles as message boxes; here they are the
    // command's error line.
    CollectedAlerts alerts;
    const QStringList &told = alerts.messages();
    std::unique_ptr<PrintOutput> output =
        request.toPrinter ? std::unique_ptr<PrintOutput>(std::make_unique<PrinterOutput>(request.printerName))
                          : std::unique_ptr<PrintOutput>(std::make_unique<PdfPrintOutput>(request.pdfPath));
    const bool printed = request.calibrate
                             ? printCalibrationSheet(*context, request.templateId, *output, &error)
                             : printSampleBill(*context, request.templateId, *output, &error);

    if (!printed || !told.isEmpty())
        return failWith(err, oneLine(!error.isEmpty() ? error : told.value(0, QStringLiteral("打印失败"))));
    out << "template " << request.templateId << " -> "
        << (request.toPrinter ? request.printerName : request.pdfPath) << "\n";
    return 0;
}

} // namespace billprint
