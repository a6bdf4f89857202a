#include "printing/ui/bill_printer.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "printing/print_run.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace billprint {

namespace {

BillPrinter::PrinterSource &printerSource()
{
    static BillPrinter::PrinterSource source;
    return source;
}

PrinterDialogRunner &dialogRunner()
{
    static PrinterDialogRunner runner;
    return runner;
}

QString &selected()
{
    static QString name;
    return name;
}

QPrinter *s_printer = nullptr;

// The printer object must go before the application does: the print
// system's plug-in is unloaded with it.
void freePrinter()
{
    delete s_printer;
    s_printer = nullptr;
}

int runDesktopPrintDialog(QPrinter &printer, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印机设置"));
    // The desktop dialog's confirm button reads "打印(P)", but nothing is
    // printed here: it confirms the printer and its settings.
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>())
        if (QPushButton *confirm = buttons->button(QDialogButtonBox::Ok))
            confirm->setText(QStringLiteral("确定"));
    return dialog.exec();
}

} // namespace

QStringList BillPrinter::installedPrinters()
{
    if (printerSource())
        return printerSource()();
    return QPrinterInfo::availablePrinterNames();
}

BillPrinter::PrinterSource BillPrinter::setPrinterSource(PrinterSource source)
{
    PrinterSource previous = std::move(printerSource());
    printerSource() = std::move(source);
    return previous;
}

QString BillPrinter::systemDefaultPrinter()
{
    if (printerSource()) {
        const QStringList names = printerSource()();
        return names.isEmpty() ? QString() : names.first();
    }
    return QPrinterInfo::defaultPrinterName();
}

QString BillPrinter::selectedName()
{
    return selected();
}

void BillPrinter::select(const QString &installedName)
{
    selected() = installedName;
    if (s_printer && !installedName.isEmpty() && s_printer->printerName() != installedName)
        s_printer->setPrinterName(installedName);
}

void BillPrinter::clearSelection()
{
    selected().clear();
    if (s_printer)
        s_printer->setPrinterName(QPrinterInfo::defaultPrinterName());
}

QPrinter &BillPrinter::printer()
{
    if (!s_printer) {
        s_printer = new QPrinter(QPrinter::HighResolution);
        if (!selected().isEmpty())
            s_printer->setPrinterName(selected());
        qAddPostRoutine(freePrinter);
    }
    return *s_printer;
}

bool setDefaultPrinter(AppContext &context, const QString &name)
{
    QString wanted = name.trimmed();
    if (wanted.isEmpty())
        wanted = context.settings().getConfigByname(QStringLiteral("DefaultPrinter")).trimmed();
    if (wanted.isEmpty())
        return false;  // the system's default printer stays
    for (const QString &installed : std::as_const(context.printerNames)) {
        if (installed.compare(wanted, Qt::CaseInsensitive) == 0) {
            BillPrinter::select(installed);
            return true;
        }
    }
    return false;
}

void initPrinterList(AppContext &context)
{
    context.printerNames = BillPrinter::installedPrinters();
    setDefaultPrinter(context, QString());
}

PrinterDialogRunner setPrinterDialogRunner(PrinterDialogRunner runner)
{
    PrinterDialogRunner previous = std::move(dialogRunner());
    dialogRunner() = std::move(runner);
    return previous;
}

PrinterSetupResult showPrinterSetup(AppContext &context, QWidget *parent)
{
    if (!requireInstalledPrinter(context))
        return PrinterSetupResult::NoPrinter;
    QPrinter &printer = BillPrinter::printer();
    const int answer = dialogRunner() ? dialogRunner()(printer, parent) : runDesktopPrintDialog(printer, parent);
    if (answer < 0) {
        tell(QStringLiteral("打开打印机设置对话框出错，请确认打印机是否可用！"), QStringLiteral("提示"),
             AlertIcon::Warning);
        return PrinterSetupResult::Failed;
    }
    context.printReady = answer == QDialog::Accepted;
    if (!context.printReady)
        return PrinterSetupResult::Cancelled;
    // A printer picked in the dialog is the bill printer from now on.
    const QString picked = printer.printerName();
    if (!picked.isEmpty() && picked != BillPrinter::selectedName())
        setDefaultPrinter(context, picked);
    return PrinterSetupResult::Confirmed;
}

} // namespace billprint
