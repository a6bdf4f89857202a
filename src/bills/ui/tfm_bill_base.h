// The bill entry window shared by the four families: the user fills one
// bill over the picture of its pre-printed form, prints it, saves it to the
// family's history table and reopens it from there.
//
// The window does not know where anything sits: the chosen template says
// which fields show, where (Temp/CheckIni cache) and where and how each is
// printed. This class owns the data flow around the fields: the template
// row (common-template tabs and the list of all templates of the family),
// the bill panel over the form picture, the option bar, the date, the
// amount, the parties, the print run, saving, copying and reloading.
//
// A family window derives from it, adds its own fields and options in its
// constructor and then calls openWindow(); it overrides the hooks for its
// columns, its save guard, its skip rules and what else its family does
// differently.
//
// The class is spread over files by what the code does: the window's life
// (tfm_bill_base.cpp), building it (_build), its fields, amount and date
// (_fields), the template and layout (_template), printing (_printing),
// storing (_storing), the other tool bar commands (_commands) and the
// parties (_parties).
#pragma once

#include "addressbook/person.h"
#include "bills/amount_entry.h"
#include "bills/bill_family.h"
#include "bills/bill_record.h"
#include "bills/ui/bill_window_host.h"
#include "bills/ui/bill_window_limits.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;
class QTabBar;
class QToolBar;
class QVBoxLayout;

namespace billprint {

class ControlLookup;

class AmountEntryController;
class AppContext;
class IniFile;
class PartyFrame;
class PrintOutput;
class PrintRun;
class PreviewPrintOutput;
class PrintPreviewDialog;

// How a save ended.
enum class BillSaveResult {
    Written,       // the row was appended or rewritten
    Declined,      // the user chose not to save over history
    AlreadySaved,  // nothing changed since the last save
    Failed,        // refused by the family's guard or the database; told
    NotPrinted,    // print and save: the print did not happen, nothing saved
};

class TfmBillBase : public QWidget
{
    Q_OBJECT
public:
    ~TfmBillBase() override;

    AppContext &context() const { return m_ctx; }
    const BillFamilyInfo &familyInfo() const { return m_family; }
    const QString &family() const { return m_family.family; }
    const BillWindowHost &host() const { return m_host; }

    // False when the family has no usable template: the window closed as
    // it opened and is to be thrown away.
    bool isUsable() const { return m_usable; }

    // ---- State -------------------------------------------------------
    int checkTypeId() const { return m_checkTypeId; }
    int serial() const { return m_serial; }
    bool isSaved() const { return m_saved; }
    bool isHistory() const { return m_history; }
    // True while the window holds a typed bill that closing would offer to save.
    bool hasUnsavedBill() const { return !m_saved && worthAsking(); }
    // True when a field of the bill holds something else than when the bill
    // was opened, started anew, loaded or saved.
    bool changedSinceClean() const { return billContent() != m_cleanContent; }
    bool isLoading() const { return m_loading; }
    // The fill-in flag: while on, handlers that look things up stay quiet.
    void setLoading(bool on) { m_loading = on; }
    bool announces() const { return m_announce; }
    // The serial number the last successful save gave or kept (the bill
    // may have been copied into a new one since).
    int lastSavedSerial() const { return m_lastSavedSerial; }
    QString templateListText() const;
    const std::optional<TPerson> &sender() const { return m_sender; }
    const std::optional<TPerson> &receiver() const { return m_receiver; }
    const IniFile *checkIni() const { return m_ini.get(); }
    // The template's tick boxes (DEFCHECK0, ...), in caption order.
    const QList<QCheckBox *> &tickBoxes() const { return m_tickBoxes; }

    // ---- Template ----------------------------------------------------
    void initFormType();
    // Places the fields again from the template's layout cache (after a
    // designer changed the template); what the user typed stays.
    void reLayout();
    // Selects `name` in the template list (true when it was found there
    // and selected now) and brings the tab strip in step.
    bool setCurrentCheckType(const QString &name);
    // Runs the change of the template list, as if the user had chosen the
    // name it shows.
    void templateChanged();
    // Chooses a template by its last name, as the user would in the list;
    // false when the list has no such name.
    bool chooseTemplate(const QString &lastName);
    void loadParam(int checkTypeId, const QString &name);
    void loadCheckBox(const QString &captions);
    void loadCheckBoxsConfig();
    QString getItemCheckTitle() const;
    void setItemCheckTitle(const QString &text);
    BillWindowLimits sizeLimits() const { return m_limits; }

    // ---- Amount (money bills) ------------------------------------------
    AmountStatus setJEXX(const QString &text);
    void WriteToJEGrid(const QString &code, qint64 cents);
    void setMoneyName(const QString &name);
    QString moneyName() const;
    QString getMoneyCode();
    // Commits what was typed into the amount input.
    void inputJEXXExit();
    // Commits what is still being typed (the floating amount input: tool
    // bar buttons take no focus, so it may still be open) before the bill
    // is printed, saved, copied or converted. False when the typed text was
    // refused (the user has been told); the caller then stops, so no print
    // or save uses a text the fields do not show. A family with inputs of
    // its own extends it.
    virtual bool commitTypedInput();
    // The amount as the bill stores it (the accepted text of inputJEXX).
    QString amountText() const;
    AmountEntryController *amountEntry() const { return m_amount; }

    // ---- Date ---------------------------------------------------------
    QDate billDate() const;
    // Sets the date picker (rendering follows, as when the user picks).
    void setBillDate(const QDate &date);
    virtual void renderDate();

    // ---- Parties (cheque names; the families map them) ----------------
    virtual void setSender(const std::optional<TPerson> &person);
    virtual void setReceiver(const std::optional<TPerson> &person);
    // The payee typed or chosen by name.
    virtual void setInComp(const QString &name);
    virtual void setOutComp(const QString &text);
    virtual void setOutBank(const QString &text);
    virtual void setOutBankAcct(const QString &text);
    // The drawer's or payee's address-book record, kept without touching
    // the fields (a conversion found the unit behind the typed text).
    void keepSender(const std::optional<TPerson> &person) { m_sender = person; }
    void keepReceiver(const std::optional<TPerson> &person) { m_receiver = person; }
    // The payee's text, "" while it shows the starting text.
    QString payeeText() const;
    // Leaving the drawer field: its bank and account from the address book.
    void drawerFieldLeft();
    // Enter in the payee field: the unit of that mnemonic code.
    void payeeCodeEntered();
    // Picking a name in the payee list.
    void payeePicked();
    virtual void pickSender();
    virtual void pickReceiver();
    // "存收款人": lets the user store the payee in the address book.
    void savePayee();

    // ---- Fields -----------------------------------------------------
    QWidget *billPanel() const;
    QLabel *pictureLabel() const { return m_bgImage; }
    QComboBox *templateList() const { return m_cbTypes; }
    QTabBar *templateTabs() const { return m_tabs; }
    QToolBar *toolBar() const { return m_toolBar; }
    QDateEdit *datePicker() const { return m_selDate; }
    // A named control of the window (letter case ignored).
    QWidget *field(const QString &name) const;
    QCheckBox *option(const QString &name) const;
    QString fieldText(const QString &name) const;
    void setFieldText(const QString &name, const QString &text);
    bool isFieldShown(const QString &name) const;
    // Fills a dictionary or party list the way entering it does.
    virtual void fillListOnEntry(const QString &name);
    // A tool bar command by its caption.
    QAction *command(const QString &caption) const;

    // ---- Print --------------------------------------------------------
    // Prints through `output` instead of the bill printer (PDF files, the
    // headless command, tests); null returns to the bill printer. The
    // output must outlive the window or be taken back with null.
    void setPrintOutput(PrintOutput *output);
    // Runs `steps` (the print steps below) with the print run going to
    // `output`, then puts the window's own output back.
    void printThrough(PrintOutput &output, const std::function<void()> &steps);
    // A preview output for the printer this window prints on.
    std::unique_ptr<PreviewPrintOutput> makePreviewOutput();
    bool PrintPrepare();
    void PrinterTransBegin(int copies);
    void SendCheckToPrinter();
    void NewCheckPage();
    bool PrinterTransEnd();
    void AbortPrint();

    // ---- Commands (tool bar) ------------------------------------------
    bool printOne();                // "单张打印(&P)"; true when printed
    int repeatPrint();              // "重复打印"; bills printed
    // "打印预览": the bill as the print run sends it to the printer, in a
    // window of its own whose "打印" prints it ("单张打印"). Null when the
    // run could not make the page (and told why).
    PrintPreviewDialog *printPreview();
    BillSaveResult printAndSave();  // "打印并保存"
    BillSaveResult saveCommand();   // "保存(&S)"
    virtual void newBill();         // "新建(&N)"
    virtual void copyBill();        // "复制(&C)"
    void openHistory();             // "打开(&O)"
    void rememberOptions();         // "【记住选项】"
    void toggleToolBarSide();       // "下" / "上"
    void wholePrintOffset();        // "整体偏移"
    void designModeCommand();       // "设计模式"
    void printerSetup();            // "打印机设置"
    void pictureClicked();
    bool toolBarAtBottom() const { return m_toolBarBottom; }

    // ---- Storing -----------------------------------------------------
    BillSaveResult save();
    void MustSavechange();
    // Shows a stored bill; false when it could not be read.
    bool BrowseOldCheck(const QString &templateName, const QString &serialText);
    // The window title for a moment of the bill's life ("" after a save or
    // a template change, "新建", "历史", "新", or the copy tag); a family
    // may title its window its own way.
    virtual void updateCaption(const QString &tag = QString());
    // Shows the window (its MDI frame too) on top of the others.
    void bringToFront();

signals:
    void savedChanged(bool saved);

protected:
    TfmBillBase(AppContext &context, const BillFamilyInfo &family, const BillWindowHost &host,
                QWidget *parent = nullptr);

    // The opening steps; the family constructor calls it once its fields
    // and options exist.
    void openWindow();

    // ---- Building the window ---------------------------------------------
    QLineEdit *addEdit(const QString &name, const QString &hint = QString(), int maxLength = 0);
    QLineEdit *addReadOnly(const QString &name, const QString &hint = QString());
    QComboBox *addList(const QString &name, const QString &hint = QString(), int maxLength = 0);
    QPlainTextEdit *addMemo(const QString &name, const QString &hint = QString());
    PartyFrame *addFrame(const QString &name, const QString &hint, Qt::PenStyle style);
    // An option box of the option bar. A remembered one is stored per
    // template by "记住选项"; `onUnlessZero` boxes are on unless "0" is
    // stored, the others only when "1" is.
    enum class Remember { No, OnWhenOne, OnUnlessZero };
    QCheckBox *addOption(const QString &name, const QString &caption, Remember remember,
                         const QString &hint = QString());
    QAction *addCommand(const QString &caption, const QString &hint, const std::function<void()> &run,
                        int standardIcon = -1);
    // The fields and options every money bill (cheque, deposit slip, cash
    // payment slip) has.
    void addMoneyBillFields();
    void addMoneyBillOptions();
    // Places a control of the family's own in the option bar.
    void addToOptionBar(QWidget *widget);
    QWidget *optionBar() const { return m_optionBar; }
    // The do-not-print options (the drawer's only with `withDrawer`) and
    // the currency list, for a family with option captions of its own.
    void addNoPrintOptions(bool withDrawer);
    void addCurrencyOption();
    // Double-clicking selects the whole text of these fields.
    void selectAllOnDoubleClick(QWidget *field);

    // ---- Family hooks ----------------------------------------------------
    // The family's own lists, filled when the window opens.
    virtual void fillFamilyLists() {}
    // Dictionary lists emptied after a template change, refilled on entry.
    virtual QStringList dictionaryLists() const;
    // Fields hidden while a do-not-print option is on.
    virtual QStringList suppressedFields(const QString &option) const;
    // The family's columns, written after and read after the shared ones.
    virtual void writeColumns(BillRecord &record) const = 0;
    virtual void readColumns(const BillRecord &record) = 0;
    // A message refusing to save over the stored row, or "".
    virtual QString saveGuard(const BillRecord &stored) const;
    // After a successful save (the cheque takes its number out of the list).
    virtual void afterSave() {}
    virtual bool skipPrintItem(const QString &name) const;
    // The bill number field emptied by copy and by print-and-save (which
    // on the cheque also empties the number list: `withList`).
    virtual void clearBillNumber(bool withList = false);
    // Copying a saved bill keeps its bill number (the slips) or empties it.
    virtual bool copyKeepsBillNumber() const { return false; }
    // Said when an unsaved bill is copied; "" copies nothing silently.
    virtual QString unsavedCopyMessage() const { return QString(); }
    // The purpose emptied by a new bill.
    virtual void clearPurpose() {}
    // False when a new bill keeps the amount that stands.
    virtual bool newBillClearsAmount() const { return true; }
    // True when closing should ask whether to save.
    virtual bool worthAsking() const;
    virtual QString remarkField() const { return QStringLiteral("zdRemark"); }
    // Captions of the address book when a frame is clicked.
    virtual QString senderPickCaption() const { return QStringLiteral("选取付款行"); }
    virtual QString receiverPickCaption() const { return QStringLiteral("选取收款人"); }
    // After the template's layout has been applied to the fields.
    virtual void afterLayout() {}
    // True when a stored row opens as an issued bill (saved and history
    // flags on); by default a row whose status is set and not "未用".
    virtual bool storedAsIssued(const BillRecord &row) const;
    // Run before every print: empties fields that still show a starting
    // text (by default the payee's).
    virtual void tidyBeforePrint();
    // Option values other than tick boxes that "记住选项" stores, as
    // (name, value).
    virtual QList<QPair<QString, QString>> rememberedValues() const { return {}; }
    // Caption of the option bar's remember button.
    virtual QString rememberCaption() const { return QStringLiteral("记住选项"); }

    // The shared columns: template, tick boxes, remark, the visible
    // user-defined fields and, on money bills, currency, amount and date.
    void writeSharedColumns(BillRecord &record) const;
    void readSharedColumns(const BillRecord &record);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

    // The control that holds the window on screen: the MDI frame around
    // it, or the window itself.
    QWidget *frameWidget();
    QString today() const;
    void setSaved(bool saved);
    // What the fields hold now is the bill as opened, started, loaded or
    // saved: changedSinceClean() compares with it.
    void markClean() { m_cleanContent = billContent(); }
    // Every field of the bill panel by name: texts, ticks ("1"/"0") and the
    // date. Lists laid over a field while it is edited are no fields.
    QHash<QString, QString> billContent() const;
    // Puts back what billContent() gave; every field changes as if the
    // program had set it.
    void restoreBillContent(const QHash<QString, QString> &content);
    void setSerial(int serial) { m_serial = serial; }
    // The bill completes the stored row `serial`, which is in `status`
    // ("未用": a number recorded in advance): the next save writes that row
    // only while it still is, so a number is issued once.
    void takeStoredRow(int serial, const QString &status);
    void setHistory(bool history) { m_history = history; }
    void setCopyEnabled(bool enabled);
    // Sets a field's text only when it differs (keeps the cursor where the
    // user types).
    static void setTextIfDifferent(QWidget *field, const QString &text);

private:
    void buildFrame();
    void buildToolBar();
    void buildTemplateRow();
    void buildOptionBar();
    void finishToolBar();
    void finishOptionBar();
    void makeRun();
    void fieldEdited();
    void connectFieldEdits();
    void placeToolBar(bool bottom);
    void tabChanged(int index);
    void applySuppression(const QString &option);
    void reapplySuppressions();
    void setDropDownRows();
    void payeeEdited(const QString &text);
    PrintOutput &printOutput();
    void restorePosition();
    void storePosition();
    int chromeHeight() const;
    void applySizeLimits();
    // The MDI frame around the window takes the window's size.
    void fitFrameToWindow();
    // Shrinks the font of an edit box whose text is wider than its box, so
    // the whole value shows on the form (the paper has its own fonts).
    void fitFieldFont(QLineEdit *edit);
    void fitAllFieldFonts();

    AppContext &m_ctx;
    const BillFamilyInfo &m_family;
    BillWindowHost m_host;
    bool m_usable = true;

    int m_checkTypeId = 0;
    int m_laidOutId = 0;
    int m_serial = -1;
    int m_lastSavedSerial = -1;
    int m_takenSerial = -1;  // see takeStoredRow
    QString m_takenStatus;
    bool m_saved = false;
    bool m_history = false;
    bool m_loading = false;
    bool m_announce = true;
    bool m_syncingTabs = false;
    bool m_toolBarBottom = false;
    bool m_positioned = false;
    bool m_closed = false;
    bool m_settingPayee = false;
    std::optional<TPerson> m_sender;
    std::optional<TPerson> m_receiver;
    std::unique_ptr<IniFile> m_ini;
    QList<QCheckBox *> m_tickBoxes;
    BillWindowLimits m_limits;
    QSize m_pictureSize;
    int m_optionCount = 0;

    QVBoxLayout *m_layout = nullptr;
    QToolBar *m_toolBar = nullptr;
    QAction *m_sideAction = nullptr;
    QHash<QString, QAction *> m_commands;  // caption -> tool bar command
    QWidget *m_templateRow = nullptr;
    QTabBar *m_tabs = nullptr;
    QComboBox *m_cbTypes = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_panel = nullptr;
    QLabel *m_bgImage = nullptr;
    QWidget *m_optionBar = nullptr;
    QComboBox *m_moneyType = nullptr;
    QDateEdit *m_selDate = nullptr;
    AmountEntryController *m_amount = nullptr;
    QList<QPair<QString, Remember>> m_remembered;  // option name, rule
    QStringList m_filledLists;                      // lists filled on entry (upper case)
    QHash<QString, QString> m_cleanContent;         // billContent() when last clean

    PrintOutput *m_outputOverride = nullptr;
    std::unique_ptr<PrintOutput> m_printerOutput;
    std::unique_ptr<PrintRun> m_run;
    // The fields the print items are read from, found once per document.
    std::unique_ptr<ControlLookup> m_printLookup;
    // Fields found by name (upper case), checked again at every use.
    mutable QHash<QString, QPointer<QWidget>> m_fieldCache;
};

} // namespace billprint
