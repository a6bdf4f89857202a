#include "shell/ui/startup.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/system_pictures.h"
#include "app/ui/dialog_buttons.h"
#include "app/ui/message_box_alert.h"
#include "shell/ui/tfm_boot.h"
#include "addressbook/ui/address_book_commands.h"
#include "batch/ui/tfrm_import.h"
#include "shell/ui/tfm_main.h"
#include "batch/ui/install_batch_list.h"
#include "bills/ui/install_bank_slips.h"
#include "bills/ui/install_cheque_entry.h"
#include "bills/ui/install_waybill_entry.h"
#include "history/ui/install_history.h"
#include "users/ui/install_users.h"
#include "maintenance/ui/tfrm_system_settings.h"
#include "maintenance/ui/tfrm_up2_new_version.h"
#include "printing/ui/install_printer_settings.h"
#include "maintenance/ui/web_links.h"
#include "refdata/ui/install_reference_data.h"
#include "designers/ui/install_designers.h"
#include "designers/ui/install_templates.h"
#include "templates/delivered_pictures.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QPixmap>
#include <QLocale>
#include <QTranslator>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdio>

namespace billprint {

namespace {

// A file manager opens a template package with the program (the desktop
// entry's %f); no command's name ends in .tpk.
bool isPackageFile(const QString &arg)
{
    return arg.endsWith(QLatin1String(".tpk"), Qt::CaseInsensitive);
}

} // namespace

StartupOptions parseCommandLine(const QStringList &arguments)
{
    StartupOptions options;
    bool optionsEnded = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (!options.subcommand.isEmpty()) {
            options.subcommandArgs << arg;  // the subcommand reads its own words
            continue;
        }
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == QLatin1String("--help") || arg == QLatin1String("-h"))) {
            options.showHelp = true;
        } else if (!optionsEnded && arg == QLatin1String("--version")) {
            options.showVersion = true;
        } else if (!optionsEnded && arg == QLatin1String("--quit-after-startup")) {
            options.quitAfterStartup = true;
        } else if (!optionsEnded && arg == QLatin1String("--data")) {
            if (i + 1 >= arguments.size()) {
                options.error = QStringLiteral("--data needs a folder");
                return options;
            }
            options.dataFolder = arguments.at(++i);
        } else if (!optionsEnded && arg.startsWith(QLatin1String("--data="))) {
            options.dataFolder = arg.mid(7);
        } else if (!optionsEnded && arg == QLatin1String("--database")) {
            if (i + 1 >= arguments.size()) {
                options.error = QStringLiteral("--database needs an address");
                return options;
            }
            options.databaseUrl = arguments.at(++i);
        } else if (!optionsEnded && arg.startsWith(QLatin1String("--database="))) {
            options.databaseUrl = arg.mid(11);
        } else if (!optionsEnded && arg.startsWith(QLatin1Char('-'))) {
            options.error = QStringLiteral("unknown option: ") + arg;
            return options;
        } else if (isPackageFile(arg)) {
            options.packageFile = arg;
        } else {
            options.subcommand = arg;
        }
    }
    // A command reads the shared database's address among its own words.
    if (!options.subcommand.isEmpty() && !options.databaseUrl.isEmpty())
        options.subcommandArgs = QStringList{QStringLiteral("--database"), options.databaseUrl} + options.subcommandArgs;
    return options;
}

QString usageText()
{
    return QStringLiteral(
        "Usage: billprint [--data DIR] [--database URL] [--quit-after-startup] [PACKAGE.tpk]\n"
        "       billprint [--data DIR] [--database URL] COMMAND [ARGS...]\n"
        "\n"
        "Prints Chinese business bills (cheques, deposit slips, cash payment slips,\n"
        "express waybills) on pre-printed forms.\n"
        "\n"
        "Options:\n"
        "  --data DIR            use DIR as the data folder (database, settings, pictures)\n"
        "  --database URL        use the shared database postgresql://USER@HOST[:PORT]/DBNAME\n"
        "                        (default: Config.ini [Database] Url, else the data folder's own);\n"
        "                        the password comes from ~/.pgpass or PGPASSWORD\n"
        "  --quit-after-startup  start, show the main window, then exit (smoke test)\n"
        "  --version             print the version and exit\n"
        "  --help                print this help and exit\n"
        "  --                    end of options\n"
        "  PACKAGE.tpk           open the template package in the package import window\n"
        "\n"
        "Commands (billprint COMMAND --help tells each one's options and exit codes):\n"
        "  convert        amounts and dates in Chinese capitals, digit boxes, line breaks\n"
        "  print          fill a bill (支票, 进账单, 缴款单, 快递单) unseen and print it, --save\n"
        "                 also stores it\n"
        "  print-sample   print a template's sample bill to check the alignment\n"
        "  batch          print a waybill for every receiver of a CSV file\n"
        "  import         store the rows of a spreadsheet in the address book or batch list\n"
        "  history        list the issued bills of a family as CSV, xlsx or JSON\n"
        "  package        export or import templates between installations\n"
        "  parse-address  split receiver texts (JSON lines) into waybill fields\n"
        "  user           add an operator or set an operator's password\n"
        "  upgrade        bring a database of an earlier version up to date\n"
        "  db             set up a shared database (init) and copy a desk's data into it\n"
        "                 or back into a data folder (copy)\n"
        "\n"
        "A template is named by its id or its name. Errors are one line on stderr,\n"
        "\"billprint COMMAND: ...\", with exit code 2.\n");
}

namespace {

void reportStartupError(const QString &message, bool headless)
{
    if (headless) {
        std::fprintf(stderr, "billprint: %s\n", message.toUtf8().constData());
        return;
    }
    QMessageBox::critical(nullptr, QStringLiteral("错误"), message);
}

} // namespace

void openFilesGiven(MainFrame &mainWindow, const StartupOptions &options)
{
    if (!options.packageFile.isEmpty())
        openPackageFile(mainWindow, QFileInfo(options.packageFile).absoluteFilePath());
}

void installAllParts(Tfm_Main &mainWindow)
{
    installWebInformation(mainWindow);
    installReferenceData(mainWindow);
    installPrinterSettings(mainWindow);
    installAddressBook(mainWindow);
    installSpreadsheetImport(mainWindow);
    installChequeEntry(mainWindow);
    installPrintPreviewCommand(mainWindow);
    installWaybillEntry(mainWindow);
    installBatchPrintList(mainWindow);
    installBankSlipEntries(mainWindow);
    installHistory(mainWindow);
    installTemplateCatalogue(mainWindow);
    installDesigners(mainWindow);
    installUsers(mainWindow);
    installDataUpgrade(mainWindow);
    installSystemSettings(mainWindow);
}

int runDesktop(const StartupOptions &options)
{
    QApplication::setApplicationDisplayName(QStringLiteral("禾朔票据打印"));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(drawProgramIcon())));
    // Menus and dialogs in a sans CJK face, whatever other Chinese fonts
    // the machine has (a Ming face in menus reads poorly).
    if (QFontDatabase::hasFamily(QStringLiteral("Noto Sans CJK SC"))) {
        QFont font = QApplication::font();
        font.setFamilies({QStringLiteral("Noto Sans CJK SC"), font.family()});
        QApplication::setFont(font);
    }
    // The program speaks Chinese whatever the session's locale: dates,
    // numbers and the standard dialogs follow.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    // Qt's own dialogs (printer, file) in Chinese as well, when the
    // translations are installed.
    static QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);
    installEnterPressesFocusedButton();
    const bool headless = options.quitAfterStartup;
    if (!headless)
        installMessageBoxAlerts();

    const DataRoot root = DataRoot::resolve(options.dataFolder, QCoreApplication::applicationDirPath());
    QString error;
    std::unique_ptr<AppContext> context = AppContext::open(DataLocation{root, options.databaseUrl}, &error);
    if (!context) {
        reportStartupError(error, headless);
        return 1;
    }
    ensureSystemPictures(root.imageFolder());
    ensureDeliveredPictures(root.imageFolder());

    Tfm_Main mainWindow(*context, installAllParts);
    if (!mainWindow.checkNotInArchive())
        return 1;
    // Without a window manager "maximized" means nothing; fill the screen.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        mainWindow.setGeometry(screen->availableGeometry());
    mainWindow.showMaximized();
    QApplication::processEvents();

    {
        Tfm_Boot splash(root.imageFolder() + QStringLiteral("Sys_boot.jpg"));
        splash.showAndWait();
    }
    QApplication::setApplicationName(QStringLiteral("禾朔票据打印"));

    if (options.quitAfterStartup)
        QTimer::singleShot(0, &mainWindow, &QWidget::close);
    else
        QTimer::singleShot(0, &mainWindow, [&mainWindow, &options] { openFilesGiven(mainWindow, options); });
    return QApplication::exec();
}

} // namespace billprint
