// Printing a bill window: the print run through the bill printer or an
// output set instead, and the print commands of the tool bar.
#include "bills/ui/tfm_bill_base.h"

#include "app/app_context.h"
#include "bills/ui/bill_window_parts.h"
#include "bills/ui/control_value.h"
#include "printing/form_picture.h"
#include "printing/preview_print_output.h"
#include "printing/print_run.h"
#include "printing/ui/bill_printer.h"
#include "printing/ui/print_preview_dialog.h"
#include "printing/ui/printer_output.h"

#include <QAction>
#include <QComboBox>

namespace billprint {

using namespace bill_window;

// ---- Print ---------------------------------------------------------------------

PrintOutput &TfmBillBase::printOutput()
{
    if (m_outputOverride)
        return *m_outputOverride;
    if (!m_printerOutput) {
        auto output = std::make_unique<PrinterOutput>(BillPrinter::printer());
        output->setDialogParent(this);
        m_printerOutput = std::move(output);
    }
    return *m_printerOutput;
}

void TfmBillBase::setPrintOutput(PrintOutput *output)
{
    m_run.reset();  // a run holds on to the output it was made for
    m_outputOverride = output;
}

void TfmBillBase::printThrough(PrintOutput &output, const std::function<void()> &steps)
{
    PrintOutput *own = m_outputOverride;
    setPrintOutput(&output);
    steps();
    setPrintOutput(own);
}

std::unique_ptr<PreviewPrintOutput> TfmBillBase::makePreviewOutput()
{
    // Without an installed printer the bill printer is a stand-in whose
    // margins would mean nothing.
    const bool noPrinter = !m_outputOverride && m_ctx.printerNames.isEmpty();
    return std::make_unique<PreviewPrintOutput>(noPrinter ? nullptr : &printOutput());
}

bool TfmBillBase::skipPrintItem(const QString &) const
{
    return false;
}

void TfmBillBase::makeRun()
{
    m_run = std::make_unique<PrintRun>(m_ctx, printOutput(), PrintFamily::forFamily(m_family.family));
    m_run->showTemplateList = [this] {
        m_cbTypes->setVisible(true);
        m_templateRow->setVisible(true);
    };
    if (!m_outputOverride)
        m_run->printerDialog = [this] { return showPrinterSetup(m_ctx, this) == PrinterSetupResult::Confirmed; };
}

bool TfmBillBase::PrintPrepare()
{
    // Without a printer nothing else is worth saying; with one, what is
    // still typed in the amount input is committed before it is printed.
    makeRun();
    if (!m_run->checkPrinterInstalled() || !commitTypedInput()) {
        // The steps that follow do nothing without a run.
        m_run.reset();
        return false;
    }
    return m_run->PrintPrepare(m_checkTypeId, templateListText());
}

void TfmBillBase::PrinterTransBegin(int copies)
{
    if (!m_run)
        return;
    m_run->PrinterTransBegin(copies);
    // The fields stay as they are until the document ends.
    if (m_run->ready())
        m_printLookup = std::make_unique<ControlLookup>(m_panel);
    else
        m_printLookup.reset();
}

void TfmBillBase::SendCheckToPrinter()
{
    WidgetValueSource source = m_printLookup ? WidgetValueSource(m_ctx, m_printLookup.get())
                                             : WidgetValueSource(m_ctx, m_panel);
    source.tidy = [this] { tidyBeforePrint(); };
    source.currency = [this] { return getMoneyCode(); };
    source.skip = [this](const QString &name) { return skipPrintItem(name); };
    if (m_run)
        m_run->SendCheckToPrinter(source);
    else
        source.beforeSend();
}

void TfmBillBase::tidyBeforePrint()
{
    // The payee's starting text is no payee.
    if (fieldText(QStringLiteral("zdInComp")) == kPayeeStartText)
        setInComp(QString());
}

void TfmBillBase::NewCheckPage()
{
    if (m_run)
        m_run->NewCheckPage();
}

bool TfmBillBase::PrinterTransEnd()
{
    m_printLookup.reset();
    return m_run && m_run->PrinterTransEnd();
}

void TfmBillBase::AbortPrint()
{
    m_printLookup.reset();
    if (m_run)
        m_run->AbortPrint();
}

// ---- Commands ------------------------------------------------------------------

bool TfmBillBase::printOne()
{
    QAction *button = m_commands.value(kPrintOne);
    button->setEnabled(false);
    PrintPrepare();
    PrinterTransBegin(1);
    SendCheckToPrinter();
    const bool printed = PrinterTransEnd();
    button->setEnabled(true);
    return printed;
}

int TfmBillBase::repeatPrint()
{
    makeRun();
    if (!m_run->checkPrinterInstalled())
        return 0;
    if (!commitTypedInput())
        return 0;
    const QString answer = m_host.askValue(QStringLiteral("输入重复打印的张数"), QStringLiteral("1"),
                                           QStringLiteral("integer"), this);
    const QList<QAction *> buttons{m_commands.value(kPrintOne), m_commands.value(kPrintAndSave),
                                   m_commands.value(kPrintRepeated)};
    for (QAction *b : buttons)
        b->setEnabled(false);
    WidgetValueSource source(m_ctx, m_panel);
    source.tidy = [this] { tidyBeforePrint(); };
    source.currency = [this] { return getMoneyCode(); };
    source.skip = [this](const QString &name) { return skipPrintItem(name); };
    const int printed = m_run->printRepeatedFromAnswer(source, m_checkTypeId, templateListText(), answer);
    for (QAction *b : buttons)
        b->setEnabled(true);
    return printed;
}

PrintPreviewDialog *TfmBillBase::printPreview()
{
    const std::unique_ptr<PreviewPrintOutput> output = makePreviewOutput();
    bool made = false;
    printThrough(*output, [this, &made] {
        PrintPrepare();
        PrinterTransBegin(1);
        SendCheckToPrinter();
        made = PrinterTransEnd();
    });
    if (!made)
        return nullptr;  // the run told why
    PrintPreview preview = output->takePreview();
    preview.form = templateFormPicture(m_ctx, m_checkTypeId);
    return openPrintPreview(std::move(preview), templateListText(), this, [this] { printOne(); });
}

BillSaveResult TfmBillBase::printAndSave()
{
    m_announce = false;
    QAction *button = m_commands.value(kPrintAndSave);
    button->setEnabled(false);
    BillSaveResult result = BillSaveResult::NotPrinted;
    // A bill that did not reach the paper is not recorded as issued.
    if (printOne()) {
        result = saveCommand();
        if (result == BillSaveResult::Written) {
            m_announce = false;  // the copy that follows is part of this command
            clearBillNumber(true);
            copyBill();
            setCopyEnabled(false);
            // The window holds the copy of a bill that is stored as printed:
            // nothing in it is unsaved until the user changes something, so
            // closing asks nothing and saving it unchanged adds no second row.
            setSaved(true);
        }
    }
    button->setEnabled(true);
    m_announce = true;
    return result;
}

} // namespace billprint
