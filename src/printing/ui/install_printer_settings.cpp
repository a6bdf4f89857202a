#include "printing/ui/install_printer_settings.h"

#include "app/app_context.h"
#include "app/ui/tfm_main.h"
#include "printing/print_run.h"
#include "printing/ui/bill_printer.h"
#include "printing/ui/tfm_lock_printer.h"
#include "printing/ui/tfrm_print_offset.h"

namespace billprint {

void installPrinterSettings(Tfm_Main &mainWindow)
{
    AppContext &context = mainWindow.context();
    Tfm_Main *main = &mainWindow;

    mainWindow.setCommandHandler(QString::fromUtf8(PrinterCommand::InitPrinterList),
                                 [&context] { initPrinterList(context); });
    mainWindow.setCommandHandler(QString::fromUtf8(PrinterCommand::Offsets), [main, &context] {
        bool design = false;
        {
            TfrmPrintOffset window(context, context.currentCheckTypeId, main);
            window.exec();
            design = window.designRequested();
        }
        // The designer opens once the offset window is gone.
        if (design)
            main->runCommand(QString::fromUtf8(PrinterCommand::Designer));
    });
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
