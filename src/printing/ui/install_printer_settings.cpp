#include "printing/ui/install_printer_settings.h"

#include "app/app_context.h"
#include "app/ui/main_frame.h"
#include "printing/print_run.h"
#include "printing/ui/bill_printer.h"
#include "printing/ui/tfm_lock_printer.h"
#include "printing/ui/tfrm_print_offset.h"

namespace billprint {

void openPrintOffsets(MainFrame &mainWindow, int checkTypeId, QWidget *parent)
{
    bool design = false;
    {
        TfrmPrintOffset window(mainWindow.context(), checkTypeId, parent);
        window.exec();
        design = window.designRequested();
    }
    if (design)
        mainWindow.runCommand(QString::fromUtf8(PrinterCommand::Designer));
}

void installPrinterSettings(MainFrame &mainWindow)
{
    AppContext &context = mainWindow.context();
    MainFrame *main = &mainWindow;

    mainWindow.setCommandHandler(QString::fromUtf8(PrinterCommand::InitPrinterList),
                                 [&context] { initPrinterList(context); });
    mainWindow.setCommandHandler(QString::fromUtf8(PrinterCommand::Offsets),
                                 [main, &context] { openPrintOffsets(*main, context.currentCheckTypeId, main); });
    mainWindow.setCommandHandler(QString::fromUtf8(PrinterCommand::LockPrinter), [main, &context] {
        // Without a printer there is nothing to lock: the message is all.
        if (!requireInstalledPrinter(context))
            return;
        TfmLockPrinter window(context, main);
        window.exec();
    });
    mainWindow.setCommandHandler(QString::fromUtf8(PrinterCommand::PrinterSetup),
                                 [main, &context] { showPrinterSetup(context, main); });
}

} // namespace billprint
