// Printing, the tool bar commands and storing of a bill window.
#include "bills/ui/tfm_bill_base.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/ini_file.h"
#include "app/lookups.h"
#include "templates/check_ini_cache.h"
#include "printing/print_run.h"
#include "bills/ui/amount_entry_controller.h"
#include "printing/ui/bill_printer.h"
#include "bills/ui/control_value.h"
#include "bills/ui/form_layout.h"
#include "printing/ui/printer_output.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QToolBar>

namespace billprint {

namespace {

const QString kCaption = QStringLiteral("提示");
const QString kOffsetCommand = QStringLiteral("打印整体偏移调整(&M)");
const QString kPrintOne = QStringLiteral("单张打印(&P)");
const QString kPrintAndSave = QStringLiteral("打印并保存");
const QString kPrintRepeated = QStringLiteral("重复打印");

} // namespace

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

BillSaveResult TfmBillBase::saveCommand()
{
    if (!commitTypedInput())
        return BillSaveResult::Failed;
    if (m_history) {
        tell(m_family.historyNoSave, kCaption);
        return BillSaveResult::Declined;
    }
    if (m_saved) {
        tell(QStringLiteral("没有改动,无需保存~"), kCaption);
        return BillSaveResult::AlreadySaved;
    }
    const BillSaveResult result = save();
    setCopyEnabled(true);
    m_announce = true;
    return result;
}

void TfmBillBase::newBill()
{
    m_serial = -1;
    setInComp(QString());
    MustSavechange();
    setFieldText(remarkField(), QString());
    m_history = false;
    updateCaption(QStringLiteral("新建"));
    if (newBillClearsAmount())
        setJEXX(QString());
    clearPurpose();
    setBillDate(QDate::currentDate());
    setCopyEnabled(false);
    markClean();
}

void TfmBillBase::copyBill()
{
    if (m_serial <= 0) {
        if (!unsavedCopyMessage().isEmpty())
            tell(unsavedCopyMessage(), kCaption);
        return;
    }
    if (!commitTypedInput())
        return;
    m_history = false;
    m_serial = -1;
    MustSavechange();
    if (!copyKeepsBillNumber())
        clearBillNumber();
    updateCaption(QStringLiteral("已复制保存过的单据为一张新单"));
}

void TfmBillBase::clearBillNumber(bool)
{
    setFieldText(QStringLiteral("zdPJBH"), QString());
}

void TfmBillBase::openHistory()
{
    m_host.runCommand(m_family.historyCommand);
}

void TfmBillBase::rememberOptions()
{
    if (m_checkTypeId <= 0)
        return;
    const SystemSettings &settings = m_ctx.settings();
    QString error;
    const bool stored = m_ctx.db().transaction(
        [&] {
            for (const auto &[name, rule] : std::as_const(m_remembered)) {
                const QCheckBox *box = option(name);
                if (box && !settings.setCheckConfigByName(m_checkTypeId, name,
                                                          box->isChecked() ? QStringLiteral("1") : QStringLiteral("0")))
                    return false;
            }
            for (const auto &[name, value] : rememberedValues())
                if (!settings.setCheckConfigByName(m_checkTypeId, name, value))
                    return false;
            if (m_moneyType && !m_moneyType->currentText().isEmpty()
                && !settings.setCheckConfigByName(m_checkTypeId, QStringLiteral("cfgDefaultMoney"),
                                                  m_moneyType->currentText()))
                return false;
            return true;
        },
        &error);
    if (!stored) {
        tell(QStringLiteral("记住选项失败！") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    // The window reads its options from the cache: only a rebuilt cache
    // makes them remembered.
    const CheckIniCache cache(m_ctx);
    if (!cache.buildCheckIniFile(m_checkTypeId, &error)) {
        tell(QStringLiteral("记住选项失败！模板缓存无法重建：") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    m_ini = cache.OpenCheckInif(m_checkTypeId);
    tell(QStringLiteral("打印勾选及选项已记住！"), kCaption);
}

void TfmBillBase::placeToolBar(bool bottom)
{
    m_toolBarBottom = bottom;
    m_layout->removeWidget(m_toolBar);
    if (bottom)
        m_layout->addWidget(m_toolBar);
    else
        m_layout->insertWidget(0, m_toolBar);
    // Qt draws captions under or beside a picture, not above it: at the
    // bottom the captions stand beside the pictures.
    m_toolBar->setToolButtonStyle(bottom ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextUnderIcon);
    if (m_sideAction) {
        m_sideAction->setText(bottom ? QStringLiteral("上") : QStringLiteral("下"));
        m_sideAction->setIcon(style()->standardIcon(bottom ? QStyle::SP_ArrowUp : QStyle::SP_ArrowDown));
    }
}

void TfmBillBase::toggleToolBarSide()
{
    placeToolBar(!m_toolBarBottom);
}

void TfmBillBase::wholePrintOffset()
{
    m_ctx.currentCheckTypeId = m_checkTypeId;
    m_host.runCommand(kOffsetCommand);
}

void TfmBillBase::designModeCommand()
{
    m_host.designMode();
    reLayout();
}

void TfmBillBase::reLayout()
{
    m_ini = CheckIniCache(m_ctx).OpenCheckInif(m_checkTypeId);
    setFormControlsPosition(m_ctx.db(), m_family.family, this, m_ini.get());
    reapplySuppressions();
    fitAllFieldFonts();
}

void TfmBillBase::printerSetup()
{
    showPrinterSetup(m_ctx, this);
}

void TfmBillBase::pictureClicked()
{
    if (m_selDate->isVisible())
        m_selDate->setFocus(Qt::MouseFocusReason);
    else if (m_cbTypes->isVisible())
        m_cbTypes->setFocus(Qt::MouseFocusReason);
    else if (QWidget *print = m_toolBar->widgetForAction(m_commands.value(kPrintOne)))
        print->setFocus(Qt::MouseFocusReason);
    inputJEXXExit();
}

// ---- Storing -------------------------------------------------------------------

QString TfmBillBase::saveGuard(const BillRecord &) const
{
    return QString();
}

void TfmBillBase::writeSharedColumns(BillRecord &record) const
{
    record.set(BillColumn::TemplateName, templateListText());
    record.set(BillColumn::Options, getItemCheckTitle());
    record.set(BillColumn::Remark, fieldText(remarkField()));
    // A user-defined field the template hides leaves its column as it was.
    for (int i = 1; i <= 5; ++i) {
        const QString name = QStringLiteral("zdDef") + QString::number(i);
        if (isFieldShown(name))
            record.set(BillColumn::custom(i), fieldText(name));
    }
    if (m_amount) {
        record.set(BillColumn::Currency, m_moneyType ? m_moneyType->currentText() : moneyName());
        record.set(BillColumn::Amount, amountText());
        record.set(BillColumn::Date, billDate());
    }
}

void TfmBillBase::readSharedColumns(const BillRecord &record)
{
    setItemCheckTitle(record.text(BillColumn::Options));
    if (m_amount) {
        setMoneyName(record.text(BillColumn::Currency));
        setFieldText(QStringLiteral("inputJEXX"), record.text(BillColumn::Amount));
        inputJEXXExit();
    }
    setFieldText(remarkField(), record.text(BillColumn::Remark));
    const QDate date = record.date(BillColumn::Date);
    if (date.isValid())
        setBillDate(date);
    else
        renderDate();
    for (int i = 1; i <= 5; ++i)
        setFieldText(QStringLiteral("zdDef") + QString::number(i), record.text(BillColumn::custom(i)));
}

BillSaveResult TfmBillBase::save()
{
    if (!commitTypedInput())
        return BillSaveResult::Failed;
    if (m_history) {
        if (!askYesNo(QStringLiteral("该单据来自历史单据，历史单据不能修改！\n另存为新单据吗？"),
                      QStringLiteral("单据保存")))
            return BillSaveResult::Declined;
        m_serial = -1;
        if (billDate() != QDate::currentDate()
            && askYesNo(QStringLiteral("票据的日期与当前日期不符！\n修正为当前日期吗？(修正后日期：") + today()
                            + QStringLiteral(")"),
                        QStringLiteral("单据保存")))
            setBillDate(QDate::currentDate());
        MustSavechange();
    }
    if (m_saved) {
        tell(QStringLiteral("已经保存过了！"), kCaption);
        return BillSaveResult::AlreadySaved;
    }
    BillRecord record;
    record.serial = m_serial;
    writeSharedColumns(record);
    writeColumns(record);
    QString message;
    const BillSaveOutcome outcome = BillRecordStore(m_ctx.db(), m_family.historyTable)
                                        .save(record, [this](const BillRecord &stored) { return saveGuard(stored); },
                                              &message);
    if (outcome == BillSaveOutcome::Refused) {
        tell(message, kCaption);
        return BillSaveResult::Failed;
    }
    if (outcome == BillSaveOutcome::Failed) {
        tell(QStringLiteral("保存失败！\n") + message, QStringLiteral("错误"), AlertIcon::Error);
        return BillSaveResult::Failed;
    }
    m_serial = record.serial;
    m_lastSavedSerial = record.serial;
    if (m_announce)
        tell(outcome == BillSaveOutcome::Updated ? m_family.savedEditedMessage : m_family.savedNewMessage, kCaption);
    m_history = false;
    afterSave();
    setSaved(true);
    updateCaption();
    return BillSaveResult::Written;
}

bool TfmBillBase::BrowseOldCheck(const QString &templateName, const QString &serialText)
{
    m_serial = serialText.trimmed().toInt();
    if (templateName != templateListText()) {
        const int id = templateName.isEmpty()
                           ? m_checkTypeId
                           : Lookups(m_ctx.db()).loadCheckTypeIDByFirstAndLastName(m_family.family, templateName);
        if (id > 0) {
            setCurrentCheckType(templateName);
            m_laidOutId = -1;
            m_checkTypeId = id;
            templateChanged();
        }
    }
    bool loaded = true;
    bool issued = false;
    if (m_serial > 0) {
        m_loading = true;
        QString error;
        const std::optional<BillRecord> row =
            BillRecordStore(m_ctx.db(), m_family.historyTable).load(m_serial, &error);
        if (row) {
            readSharedColumns(*row);
            readColumns(*row);
            issued = storedAsIssued(*row);
        }
        m_loading = false;
        if (!error.isEmpty()) {
            loaded = false;
            tell(QStringLiteral("调出历史数据失败！"), kCaption);
        }
    }
    if (issued) {
        setSaved(true);
        m_history = true;
        updateCaption(QStringLiteral("历史"));
    } else {
        setSaved(false);
        m_history = false;
        updateCaption(QStringLiteral("新"));
    }
    setCopyEnabled(m_saved);
    markClean();
    bringToFront();
    return loaded;
}

bool TfmBillBase::storedAsIssued(const BillRecord &row) const
{
    const QString status = row.text(BillColumn::Status).trimmed();
    return !status.isEmpty() && status != BillStatus::Unused;
}

void TfmBillBase::bringToFront()
{
    QWidget *frame = frameWidget();
    frame->show();
    frame->raise();
    if (auto *sub = qobject_cast<QMdiSubWindow *>(frame); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
}

void TfmBillBase::updateCaption(const QString &tag)
{
    QString title = m_family.family + QStringLiteral("(") + templateListText() + QStringLiteral(")-ID=")
                    + QString::number(m_serial);
    if (!tag.isEmpty())
        title += QStringLiteral("[") + tag + QStringLiteral("]");
    setWindowTitle(title);
}

} // namespace billprint
