// The print run of the bill windows: prepare the template's offsets and
// paper direction, begin one document, send one bill (every print item of
// the family, in print order, through the renderer), a new page between
// bills, end. The batch print list drives the same steps over many bills.
//
// The steps after PrintPrepare do nothing while AppContext::printReady is
// off, so a caller runs them in order without testing results: a failed
// preparation, a cancelled printer dialog or a printer error prints nothing.
#pragma once

#include "printing/print_output.h"
#include "templates/name_dict.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace billprint {

class AppContext;
class PrintRenderer;

// The values of one bill as its window shows them.
class FieldValueSource
{
public:
    virtual ~FieldValueSource() = default;
    // Called first by every send, ready or not: the window tidies its values
    // (the cheque empties a payee field that still shows its starting text).
    virtual void beforeSend() {}
    // The text of field `name` (compared without regard to letter case):
    // empty for a hidden or missing field, "√" for a ticked box.
    virtual QString value(const QString &name) const = 0;
    // The code (缩写) of the bill's currency, the symbol a digit box may hold.
    virtual QString currencyCode() const { return QString(); }
    // The family's skip rules: true leaves the print item out.
    virtual bool skipPrintItem(const QString &name) const
    {
        Q_UNUSED(name)
        return false;
    }
};

// What differs between the families' runs.
struct PrintFamily
{
    QString family;             // 支票, 进账单, 缴款单, 快递单: NameDict.CheckTypeName
    QString noTemplateMessage;  // told when no template is chosen
    bool titled = true;         // the document is called "禾朔打印-" + template
    int maxCopies = 0;          // 0: no cap

    // The rules of a family word; an unknown word gets its own word and the
    // cheque's rules.
    static PrintFamily forFamily(const QString &family);
};

// True when a printer is installed (the main window's printer list is not
// empty); otherwise tells "你需要安装打印机才能打印！", the one message every
// print path gives before it does anything else, and returns false.
bool requireInstalledPrinter(const AppContext &context);

class PrintRun
{
public:
    // Prints bills of `family` through `output`, which must outlive the run.
    PrintRun(AppContext &context, PrintOutput &output, PrintFamily family);
    ~PrintRun();
    PrintRun(const PrintRun &) = delete;
    PrintRun &operator=(const PrintRun &) = delete;

    // Makes the template list visible when no template is chosen.
    std::function<void()> showTemplateList;
    // The printer dialog asked before a run when the option "打印前弹出打印机
    // 设置" is on: true when confirmed. Without it the output's own dialog
    // is asked (PrintOutput::runSetupDialog).
    std::function<bool()> printerDialog;

    // For an output that is a printer: requireInstalledPrinter. Other
    // outputs (a PDF file) need none.
    bool checkPrinterInstalled() const;

    // Checks that a printer is installed (for a printer output) and the
    // template is chosen, reads the template's whole-print offsets and paper
    // direction, sets the output up and, with the option "打印前弹出打印机
    // 设置" on, asks the printer dialog. Sets AppContext::printReady and
    // returns it.
    bool PrintPrepare(int checkTypeId, const QString &templateListText);
    // Begins the document with `copies` copies (1 below 2).
    void PrinterTransBegin(int copies);
    // Prints every print item of the family with the bill's values. When a
    // value would land outside the printer's printable area the user is
    // asked, once a document, whether to print anyway (naming the fields);
    // No drops the document.
    void SendCheckToPrinter(FieldValueSource &source);
    void NewCheckPage();
    // Ends the document and clears the ready flag. True when a document was
    // open and has been handed over whole.
    bool PrinterTransEnd();
    // Drops the document and clears the ready flag.
    void AbortPrint();

    // One bill: prepare, begin, send, end ("单张打印"). True when printed.
    bool printOne(FieldValueSource &source, int checkTypeId, const QString &templateListText);
    // `count` bills as pages of one document ("重复打印"). True when printed.
    bool printRepeated(FieldValueSource &source, int checkTypeId, const QString &templateListText,
                       int count);
    // The answer to "输入重复打印的张数": empty does nothing, a text that
    // is no whole number of at least 1 tells "输入错误的数字！", otherwise
    // that many bills are printed. Returns the number printed (0 when the
    // run failed or was cancelled).
    int printRepeatedFromAnswer(FieldValueSource &source, int checkTypeId, const QString &templateListText,
                                const QString &answer);

    bool ready() const;
    int xMove() const { return m_xMove; }
    int yMove() const { return m_yMove; }
    bool landscape() const { return m_page.landscape; }
    // The page of the prepared template (paper size and direction).
    const PrintPageSetup &page() const { return m_page; }
    int checkTypeId() const { return m_checkTypeId; }
    // Print items whose renderer call failed during the last send.
    int failedItems() const { return m_failedItems; }

private:
    // One print item's value as the bill holds it.
    struct ItemValue
    {
        QString name;
        QString label;  // the catalogue's caption, for messages
        QString value;
        QString separator;
    };
    std::vector<ItemValue> itemValues(FieldValueSource &source) const;
    // Asks once a document whether to print anyway when a value would land
    // outside the output's printable area; false when the user declines.
    bool confirmPrintableArea(const std::vector<ItemValue> &values);

    void fail(const QString &message);
    // The first line of what is told when the output fails.
    QString failureMessage() const;
    void printerError(const QString &detail);

    AppContext &m_ctx;
    PrintOutput &m_output;
    PrintFamily m_family;
    std::unique_ptr<PrintRenderer> m_renderer;
    // The family's print items, read at the first bill of a document.
    std::optional<std::vector<NameDict>> m_items;
    // The template's digit cell width, read at the first bill of a document.
    std::optional<int> m_cellWidth;
    int m_checkTypeId = 0;
    QString m_templateText;
    int m_xMove = 0;
    int m_yMove = 0;
    PrintPageSetup m_page;
    int m_failedItems = 0;
    bool m_areaAsked = false;  // this document asked about the printable area
};

} // namespace billprint
