// The cheque window's print paths with no printer installed, and the print
// options a delivered cheque template starts with.

#include "bills/ui/bill_printer.h"
#include "cheque_fixtures.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>

namespace billprint::test {
namespace {

using ChequePrinting = ChequeTest;

// Without a printer Qt makes the bill printer a PDF writer with no file;
// every print command still says the one thing that matters, before any
// other check, question or dialog.
TEST_F(ChequePrinting, WithoutAPrinterEveryPrintCommandSaysSoFirst)
{
    ctx().printerNames.clear();
    bool asked = false;
    BillWindowHost h = host();
    h.askValue = [&](const QString &, const QString &, const QString &, QWidget *) {
        asked = true;
        return QStringLiteral("2");
    };
    TfmCheckZP w(ctx(), h);
    bool dialogShown = false;
    const PrinterDialogRunner previous = setPrinterDialogRunner([&](QPrinter &, QWidget *) {
        dialogShown = true;
        return int(QDialog::Accepted);
    });
    for (const char *command : {"单张打印(&P)", "打印并保存", "重复打印", "打印机设置"}) {
        alerts.clear();
        w.command(QString::fromUtf8(command))->trigger();
        EXPECT_EQ(alerts.messages(), QStringList{QStringLiteral("你需要安装打印机才能打印！")}) << command;
    }
    setPrinterDialogRunner(previous);
    EXPECT_FALSE(asked);
    EXPECT_FALSE(dialogShown);
    EXPECT_EQ(rowCount(), 0);
}

} // namespace
} // namespace billprint::test
