#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QPrinter;
class QWidget;

namespace billprint {

class AppContext;

// The printer the bills go to. Like the desktop's own printing there is
// one for the whole program: setDefaultPrinter and the printer dialog
// change it, and the print runs print through it.
class BillPrinter
{
public:
    // The installed printers in the print system's order. Tests put a list
    // of their own in place; an empty source means the print system.
    using PrinterSource = std::function<QStringList()>;
    static QStringList installedPrinters();
    static PrinterSource setPrinterSource(PrinterSource source);
    // The print system's default printer; empty when there is none.
    static QString systemDefaultPrinter();

    // The printer selected for bills; empty while the system's default
    // printer is used.
    static QString selectedName();
    static void select(const QString &installedName);
    static void clearSelection();

    // The shared printer object, created on first use and freed when the
    // application ends. The printer dialog edits it.
    static QPrinter &printer();
};

// Selects the bill printer: `name`, or when that is blank the locked one
// (setting "DefaultPrinter"), among the installed printers of the main
// window's list, compared without regard to letter case. Nothing to
// select leaves the system's default printer; a name that is not
// installed leaves the selection as it was. True when a printer was
// selected.
bool setDefaultPrinter(AppContext &context, const QString &name);

// Fills the main window's printer list from the print system and selects
// the locked bill printer.
void initPrinterList(AppContext &context);

// The printer dialog shown before a print run and by "打印机设置 (&C)".
enum class PrinterSetupResult {
    Confirmed,  // print-ready flag on
    Cancelled,  // print-ready flag off: the run asking prints nothing
    NoPrinter,  // nothing installed; told, flag unchanged
    Failed,     // the dialog could not be shown; told, flag unchanged
};
// Runs the dialog on `printer`: returns QDialog::Accepted, Rejected, or
// -1 when it cannot be shown. Tests put their own in place; an empty
// runner means the desktop's printer dialog.
using PrinterDialogRunner = std::function<int(QPrinter &printer, QWidget *parent)>;
PrinterDialogRunner setPrinterDialogRunner(PrinterDialogRunner runner);

PrinterSetupResult showPrinterSetup(AppContext &context, QWidget *parent);

} // namespace billprint
