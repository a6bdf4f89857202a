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
#include "maintenance/ui/tfrm_up2_new_version.h"
#include "printing/ui/install_printer_settings.h"
#include "maintenance/ui/web_links.h"
#include "refdata/ui/install_reference_data.h"
#include "designers/ui/install_designers.h"
#include "designers/ui/install_templates.h"
#include "templates/delivered_pictures.h"

#include <QApplication>
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
        } else if (!optionsEnded && arg.startsWith(QLatin1Char('-'))) {
            options.error = QStringLiteral("unknown option: ") + arg;
            return options;
        } else {
            options.subcommand = arg;
        }
    }
    return options;
}

QString usageText()
{
    return QStringLiteral(
        "Usage: billprint [--data DIR] [--quit-after-startup]\n"
        "       billprint [--data DIR] COMMAND [ARGS...]\n"
        "\n"
        "Prints Chinese business bills (cheques, deposit slips, cash payment slips,\n"
        "express waybills) on pre-printed forms.\n"
        "\n"
        "Options:\n"
        "  --data DIR            use DIR as the data folder (database, settings, pictures)\n"
        "  --quit-after-startup  start, show the main window, then exit (smoke test)\n"
        "  --version             print the version and exit\n"
        "  --help                print this help and exit\n"
        "  --                    end of options\n"
        "\n"
        "Commands:\n"
        "  convert capitals AMOUNT             amount in Chinese capitals\n"
        "  convert digits AMOUNT BOXES MODE    amount spread over digit boxes\n"
        "  convert date TEXT                   date number in Chinese capitals\n"
        "  convert normalize TEXT              amount text normalised\n"
        "  convert break WIDTH TEXT            text broken into pieces of WIDTH\n"
        "  print-sample --template ID [--calibrate] (--pdf OUT | --printer NAME) [--data DIR]\n"
        "                                      print a template's sample bill to check\n"
        "                                      the alignment on plain paper\n"
        "  print --family 支票|进账单|缴款单 [--template NAME] [--amount A] [--date YYYY-MM-DD]\n"
        "        [--payee NAME] [--drawer NAME] [--set FIELD=VALUE]... (--pdf OUT | --printer NAME)\n"
        "        [--save] [--data DIR]\n"
        "  print --family 快递单 [--sender NAME] [--receiver NAME] [--set FIELD=VALUE]...\n"
        "        (--pdf OUT | --printer NAME) [--save] [--data DIR]\n"
        "                                      fill a bill in its entry window unseen and\n"
        "                                      print it; --save also stores it and prints\n"
        "                                      its serial number. --amount takes what the\n"
        "                                      window takes (digits, \",\", one \".\"), --date\n"
        "                                      1900-01-01 to 2099-12-31. Exit 0: printed\n"
        "                                      (and saved), messages are warnings on\n"
        "                                      stderr; 2: nothing printed or saved; 3:\n"
        "                                      printed but not saved (do not run again)\n"
        "  batch --template ID|NAME --csv FILE [--sender NAME] (--pdf OUT | --printer NAME)\n"
        "        [--data DIR]                  print a waybill for every receiver of a CSV\n"
        "                                      file (UTF-8 or GBK, titles in the first row)\n"
        "                                      in one document; prints the page count.\n"
        "                                      Exit 0: printed; 2: nothing printed\n"
        "  import FILE --into addressbook|batch [--sheet NAME]\n"
        "        [--no-duplicates contact,name,phone] [--data DIR]\n"
        "                                      store the rows of an xlsx, xls, ods, csv or\n"
        "                                      txt file in the address book or the batch\n"
        "                                      list, columns matched by their titles; the\n"
        "                                      log goes to ImportLog.txt in the data folder.\n"
        "                                      Exit 0: imported (result on stdout); 2:\n"
        "                                      nothing stored (unreadable file, nothing\n"
        "                                      to match, the database failed at once); 3:\n"
        "                                      the database failed after some rows were\n"
        "                                      stored (stderr says how many)\n"
        "  history FAMILY [--number N] [--party TEXT] [--from YYYY-MM-DD]\n"
        "        [--to YYYY-MM-DD] [--min A] [--max A] [--exact]\n"
        "        (--csv OUT | --xlsx OUT | --json) [--data DIR]\n"
        "                                      list the issued bills of a family that the\n"
        "                                      history window lists for the same filters\n"
        "                                      (--party: payee or receiver; OUT - is\n"
        "                                      standard output). Exit 0: listed; 2: bad\n"
        "                                      command line, no database or a failure\n"
        "  package export --template ID[,ID...] OUT.tpk [--data DIR]\n"
        "  package import FILE.tpk [--template NAME]... [--data DIR]\n"
        "                                      move templates between installations;\n"
        "                                      prints the (new) template ids. Exit 0:\n"
        "                                      done; 2: refused, nothing changed\n"
        "  parse-address [--data DIR]          split receiver texts into waybill fields:\n"
        "                                      reads JSON lines {\"id\":..,\"text\":\"..\"}\n"
        "                                      on stdin, writes one JSON line of fields per\n"
        "                                      line (bad lines get an \"error\"). Exit 0\n"
        "  user add NAME --role ROLE [--remark TEXT] [--data DIR]\n"
        "  user passwd NAME [--data DIR]      add an operator (empty password), or set an\n"
        "                                      operator's password read from the first line\n"
        "                                      of standard input. Exit 0: done; 2: nothing\n"
        "                                      done (bad command line, no database, no such\n"
        "                                      user, name already present, empty password)\n"
        "  upgrade [--data DIR]                bring a database of an earlier version up to\n"
        "                                      date (columns, tables, dictionary rows, the\n"
        "                                      empty template package), printing each step;\n"
        "                                      a copy is kept as EPData.ini.before-VERSION.\n"
        "                                      Exit 0: upgraded or already current; 2:\n"
        "                                      nothing changed (no database, a failure)\n");
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

void installAllParts(Tfm_Main &mainWindow)
{
    installWebInformation(mainWindow);
    installReferenceData(mainWindow);
    installPrinterSettings(mainWindow);
    installAddressBook(mainWindow);
    installSpreadsheetImport(mainWindow);
    installChequeEntry(mainWindow);
    installWaybillEntry(mainWindow);
    installBatchPrintList(mainWindow);
    installBankSlipEntries(mainWindow);
    installHistory(mainWindow);
    installTemplateCatalogue(mainWindow);
    installDesigners(mainWindow);
    installUsers(mainWindow);
    installDataUpgrade(mainWindow);
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
    std::unique_ptr<AppContext> context = AppContext::open(root, &error);
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
    return QApplication::exec();
}

} // namespace billprint
