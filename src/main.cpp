// billprint: the desktop program, and its headless commands.
#include "app/convert_command.h"
#include "shell/ui/startup.h"
#include "app/version.h"
#include "bills/ui/issue_command.h"
#include "batch/import_command.h"
#include "batch/address_command.h"
#include "batch/xls_worker.h"
#include "batch/ui/batch_command.h"
#include "history/history_command.h"
#include "maintenance/db_command.h"
#include "maintenance/upgrade_command.h"
#include "printing/ui/print_sample_command.h"
#include "templates/package_command.h"
#include "users/user_command.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTextStream>
#include <cstdio>

using namespace billprint;

namespace {

QStringList rawArguments(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// Commands that draw (fonts, pages) need the GUI layer, but no screen.
int runDrawingCommand(const StartupOptions &options, int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runPrintSampleCommand(options.subcommandArgs, options.dataFolder, out, err);
}

// Issuing a bill fills its entry window, unseen: widgets, but no screen.
int runWindowCommand(const StartupOptions &options, int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The same texts as the desktop: Chinese number and date formats.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (options.subcommand == QLatin1String("batch"))
        return runBatchCommand(options.subcommandArgs, options.dataFolder, out, err);
    return runIssueCommand(options.subcommandArgs, options.dataFolder, out, err);
}

int runHeadless(const StartupOptions &options, int argc, char **argv)
{
    if (options.subcommand == QLatin1String("print-sample"))
        return runDrawingCommand(options, argc, argv);
    if (options.subcommand == QLatin1String("print") || options.subcommand == QLatin1String("batch"))
        return runWindowCommand(options, argc, argv);
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (options.subcommand == QLatin1String("convert"))
        return runConvertCommand(options.subcommandArgs, out, err);
    if (options.subcommand == QLatin1String("history")) {
        QFile stdoutFile;
        stdoutFile.open(stdout, QIODevice::WriteOnly);
        return runHistoryCommand(options.subcommandArgs, options.dataFolder, stdoutFile, err);
    }
    if (options.subcommand == QLatin1String("import"))
        return runImportCommand(options.subcommandArgs, options.dataFolder, out, err);
    if (options.subcommand == QLatin1String("package"))
        return runPackageCommand(options.subcommandArgs, options.dataFolder, out, err);
    if (options.subcommand == QLatin1String("upgrade"))
        return runUpgradeCommand(options.subcommandArgs, options.dataFolder, out, err);
    if (options.subcommand == QLatin1String("db"))
        return runDbCommand(options.subcommandArgs, options.dataFolder, out, err);
    if (options.subcommand == QLatin1String("parse-address")) {
        QTextStream in(stdin);
        return runParseAddressCommand(options.subcommandArgs, options.dataFolder, in, out, err);
    }
    if (options.subcommand == QLatin1String("user")) {
        QTextStream in(stdin);
        return runUserCommand(options.subcommandArgs, options.dataFolder, in, out, err);
    }
    err << "billprint: unknown command: " << options.subcommand << "\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (const int workerExit = runXlsWorkerIfAsked(argc, argv); workerExit >= 0)
        return workerExit;
    // One per-user data folder for the desktop and the commands
    // (~/.local/share/HeShuo/billprint when the program is installed).
    QCoreApplication::setOrganizationName(QStringLiteral("HeShuo"));
    const StartupOptions options = parseCommandLine(rawArguments(argc, argv));
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "billprint: %s\n%s", options.error.toUtf8().constData(),
                     usageText().toUtf8().constData());
        return 2;
    }
    if (options.showHelp) {
        std::fputs(usageText().toUtf8().constData(), stdout);
        return 0;
    }
    if (options.showVersion) {
        std::printf("%s\n", getFileVersionText(2).toUtf8().constData());
        return 0;
    }
    if (!options.subcommand.isEmpty())
        return runHeadless(options, argc, argv);

    QApplication app(argc, argv);
    return runDesktop(options);
}
