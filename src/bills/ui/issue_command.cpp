#include "bills/ui/issue_command.h"

#include "addressbook/person_store.h"
#include "addressbook/default_drawer.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "app/command_context.h"
#include "app/command_line.h"
#include "bills/amount_entry.h"
#include "bills/bill_record.h"
#include "bills/ui/party_frame.h"
#include "printing/ui/print_target.h"
#include "bills/ui/tfm_check_jkd.h"
#include "bills/ui/tfm_check_jzd.h"
#include "bills/ui/tfm_check_kdd.h"
#include "bills/ui/tfm_check_zp.h"
#include "templates/delivered_pictures.h"
#include "templates/named_template.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QRegularExpression>

namespace billprint {

namespace {

CommandLine issueCommandLine()
{
    CommandLine line(QStringLiteral("print"),
                     {QStringLiteral("--family 支票|进账单|缴款单 [--template ID|NAME] [--amount A] [--date YYYY-MM-DD]\n"
                                     "[--payee NAME] [--drawer NAME] [--set FIELD=VALUE]...\n"
                                     "(--pdf OUT | --png OUT.png | --printer NAME) [--dpi N] [--with-form] [--save]"),
                      QStringLiteral("--family 快递单 [--template ID|NAME] [--sender NAME] [--receiver NAME]\n"
                                     "[--set FIELD=VALUE]...\n"
                                     "(--pdf OUT | --png OUT.png | --printer NAME) [--dpi N] [--with-form] [--save]")},
                     QStringLiteral("Fills a bill in its entry window unseen and prints it through the desktop's\n"
                                    "print run; --save also stores it and prints its serial number.\n"
                                    "Exit 0: printed (and saved), messages are warnings on stderr; 2: nothing\n"
                                    "printed or saved; 3: printed but not saved (do not run it again)."));
    line.option(QStringLiteral("family"), QStringLiteral("FAMILY"), QStringLiteral("支票, 进账单, 缴款单 or 快递单"))
        .option(QStringLiteral("template"), QStringLiteral("ID|NAME"),
                QStringLiteral("the family's template by id, full or last name"))
        .option(QStringLiteral("amount"), QStringLiteral("A"), QStringLiteral("as the window takes it (digits, \",\", one \".\")"))
        .option(QStringLiteral("date"), QStringLiteral("YYYY-MM-DD"),
                QStringLiteral("from %1 to %2").arg(BillDates::earliest().toString(Qt::ISODate),
                                                   BillDates::latest().toString(Qt::ISODate)))
        .option(QStringLiteral("payee"), QStringLiteral("NAME"), QStringLiteral("the payee"))
        .option(QStringLiteral("drawer"), QStringLiteral("NAME"),
                QStringLiteral("the drawer; bank and account from the address book"))
        .option(QStringLiteral("sender"), QStringLiteral("NAME"), QStringLiteral("the waybill's sender (address book)"))
        .option(QStringLiteral("receiver"), QStringLiteral("NAME"),
                QStringLiteral("the waybill's receiver (address book)"))
        .option(QStringLiteral("set"), QStringLiteral("FIELD=VALUE"), QStringLiteral("any field of the window"))
        .flag(QStringLiteral("save"), QStringLiteral("also store the bill and print its serial number"));
    addPrintTarget(line, PictureTarget::File);
    return line;
}

// The amount input of the window reads the amount with the same function,
// so the command takes exactly what the window takes.
QString checkAmount(const QString &text)
{
    qint64 cents = 0;
    switch (parseEnteredAmount(text, &cents)) {
    case AmountStatus::NotANumber:
        return QStringLiteral("--amount is not a number (digits, \",\" and one \".\"): ") + text;
    case AmountStatus::OutOfRange:
        return QStringLiteral("--amount must be from 0 up to, not including, 1000000000: ") + text;
    default:
        return QString();
    }
}

QString checkDate(const QString &text)
{
    static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (iso.match(text.trimmed()).hasMatch() && BillDates::contains(QDate::fromString(text.trimmed(), Qt::ISODate)))
        return QString();
    return QStringLiteral("--date needs a date YYYY-MM-DD from %1 to %2: ")
               .arg(BillDates::earliest().toString(Qt::ISODate), BillDates::latest().toString(Qt::ISODate))
           + text;
}

// The --set FIELD=VALUE pairs in order; an error text for one without "=".
QList<QPair<QString, QString>> readFields(const CommandLine &line, QString *error)
{
    QList<QPair<QString, QString>> fields;
    for (const QString &value : line.values(QStringLiteral("set"))) {
        const int eq = value.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            *error = QStringLiteral("--set needs FIELD=VALUE: ") + value;
            break;
        }
        fields.append({value.left(eq).trimmed(), value.mid(eq + 1)});
    }
    return fields;
}

QString checkRequest(const CommandLine &line)
{
    if (line.isSet(QStringLiteral("amount")))
        if (const QString refusal = checkAmount(line.value(QStringLiteral("amount")).trimmed()); !refusal.isEmpty())
            return refusal;
    if (line.isSet(QStringLiteral("date")))
        if (const QString refusal = checkDate(line.value(QStringLiteral("date"))); !refusal.isEmpty())
            return refusal;
    QString error;
    readFields(line, &error);
    if (!error.isEmpty())
        return error;
    if (line.value(QStringLiteral("family")).trimmed().isEmpty())
        return QStringLiteral("--family is required");
    return checkPrintTarget(line);
}

// Exit code of a bill on paper that is not stored: running the command
// again would print a second bill.
constexpr int kPrintedNotSaved = 3;

std::optional<bool> parseSwitch(const QString &value)
{
    const QString v = value.trimmed().toLower();
    if (v == QLatin1String("1") || v == QLatin1String("yes") || v == QLatin1String("true") || v == QLatin1String("on")
        || v == QStringLiteral("√"))
        return true;
    if (v == QLatin1String("0") || v == QLatin1String("no") || v == QLatin1String("false") || v == QLatin1String("off")
        || v.isEmpty())
        return false;
    return std::nullopt;
}

bool isAmountField(const QString &upper)
{
    if (upper == QLatin1String("INPUTJEXX") || upper == QLatin1String("ZDJEXX") || upper == QLatin1String("CGJEXX")
        || upper == QLatin1String("ZDJEDX"))
        return true;
    for (const QString &box : digitBoxNames())
        if (upper == box.toUpper())
            return true;
    return false;
}

bool isDateField(const QString &upper)
{
    static const QStringList dateFields{QStringLiteral("SELDATE"), QStringLiteral("ZDNIAN"), QStringLiteral("ZDYUE"),
                                        QStringLiteral("ZDRI"),    QStringLiteral("CGNIAN"), QStringLiteral("CGYUE"),
                                        QStringLiteral("CGRI"),    QStringLiteral("ZDNIANYUERI")};
    return dateFields.contains(upper);
}

// Fills one --set field the way the user fills it on the window.
QString setField(TfmBillBase &window, const QString &name, const QString &value)
{
    QWidget *f = window.field(name);
    const bool onPanel = f && f->parentWidget() == window.billPanel();
    const bool isOption = f && f->objectName().startsWith(QLatin1String("cfg"), Qt::CaseInsensitive);
    if (!f || (!onPanel && !isOption) || qobject_cast<PartyFrame *>(f) || f == static_cast<QWidget *>(window.pictureLabel()))
        return QStringLiteral("unknown field: ") + name;
    const QString upper = f->objectName().toUpper();
    if (isAmountField(upper))
        return QStringLiteral("field ") + name + QStringLiteral(" follows the amount; use --amount");
    if (isDateField(upper))
        return QStringLiteral("field ") + name + QStringLiteral(" follows the date; use --date");
    if (auto *box = qobject_cast<QCheckBox *>(f)) {
        const std::optional<bool> on = parseSwitch(value);
        if (!on)
            return QStringLiteral("field ") + name + QStringLiteral(" takes 1 or 0: ") + value;
        if (box->isChecked() != *on)
            box->click();
        return QString();
    }
    if (auto *list = qobject_cast<QComboBox *>(f); list && !list->isEditable()) {
        const int at = list->findText(value);
        if (at < 0)
            return QStringLiteral("field ") + name + QStringLiteral(" has no choice ") + value;
        list->setCurrentIndex(at);
        return QString();
    }
    if (auto *edit = qobject_cast<QLineEdit *>(f); edit && edit->isReadOnly())
        return QStringLiteral("field ") + name + QStringLiteral(" is filled by the window");
    auto *cheque = qobject_cast<TfmCheckZP *>(&window);
    auto *waybill = qobject_cast<TfmCheckKDD *>(&window);
    if (waybill && upper == QLatin1String("ZDSKRXS")) {
        window.setFieldText(name, value);
        waybill->receiverCityChanged();
    } else if (waybill && upper == QLatin1String("ZDJEDX1")) {
        window.setFieldText(name, value);
        if (!waybill->amountInWordsLeft())
            return QStringLiteral("field ") + name + QStringLiteral(" takes a number: ") + value;
    } else if (upper == QLatin1String("ZDINCOMP")) {
        window.setInComp(value);
    } else if (upper == QLatin1String("ZDOUTCOMP")) {
        window.setOutComp(value);
        window.drawerFieldLeft();  // bank and account from the address book
    } else if (cheque && upper == QLatin1String("ZDYT")) {
        cheque->setYongTu(value);
    } else if (cheque && upper == QLatin1String("ZDPJBH")) {
        window.setFieldText(name, value);
        if (cheque->offeredNumbers().contains(value))
            cheque->numberPicked(value);
    } else if (qobject_cast<QPlainTextEdit *>(f)) {
        QString text = value;
        window.setFieldText(name, text.replace(QStringLiteral("\\n"), QStringLiteral("\n")));
    } else {
        window.setFieldText(name, value);
    }
    return QString();
}

bool issuesFromCommandLine(const QString &family)
{
    return family == BillFamilyInfo::cheque().family || family == BillFamilyInfo::depositSlip().family
           || family == BillFamilyInfo::cashSlip().family || family == BillFamilyInfo::waybill().family;
}

std::unique_ptr<TfmBillBase> makeWindow(const QString &family, AppContext &context, const BillWindowHost &host)
{
    if (family == BillFamilyInfo::depositSlip().family)
        return std::make_unique<TfmCheckJZD>(context, host);
    if (family == BillFamilyInfo::cashSlip().family)
        return std::make_unique<TfmCheckJKD>(context, host);
    if (family == BillFamilyInfo::waybill().family)
        return std::make_unique<TfmCheckKDD>(context, host);
    return std::make_unique<TfmCheckZP>(context, host);
}

// The parties named on the command line, from the address book; an error
// text for a name the book does not hold.
QString fillParties(TfmBillBase &window, const CommandLine &line, const Database &db)
{
    for (const auto &[option, isReceiver] : {std::pair{QStringLiteral("sender"), false},
                                             std::pair{QStringLiteral("receiver"), true}}) {
        if (!line.isSet(option))
            continue;
        const QString name = line.value(option).trimmed();
        const std::optional<TPerson> person = TPerson::findByName(db, name);
        if (!person)
            return QStringLiteral("no address-book entry named ") + name;
        isReceiver ? window.setReceiver(person) : window.setSender(person);
    }
    return QString();
}

// Fills the window the way a user would; an error text for what it does
// not take.
QString fillWindow(TfmBillBase &window, const CommandLine &line, const AppContext &context)
{
    const QString family = line.value(QStringLiteral("family")).trimmed();
    if (line.isSet(QStringLiteral("template"))) {
        QString error;
        const std::optional<TCheckType> type =
            findNamedTemplate(context.db(), line.value(QStringLiteral("template")), family, &error);
        if (!type)
            return error;
        if (!window.chooseTemplate(type->TypeDescribe))
            return QStringLiteral("unknown template: ") + line.value(QStringLiteral("template"));
    }
    if (line.isSet(QStringLiteral("date")))
        window.datePicker()->setDate(QDate::fromString(line.value(QStringLiteral("date")).trimmed(), Qt::ISODate));
    if (line.isSet(QStringLiteral("amount")) && !window.amountEntry())
        return QStringLiteral("the family ") + family + QStringLiteral(" has no amount; use --set");
    if (line.isSet(QStringLiteral("amount")))
        window.setJEXX(line.value(QStringLiteral("amount")).trimmed());
    if (const QString refusal = fillParties(window, line, context.db()); !refusal.isEmpty())
        return refusal;
    if (line.isSet(QStringLiteral("payee")))
        window.setInComp(line.value(QStringLiteral("payee")));
    if (line.isSet(QStringLiteral("drawer"))) {
        if (!window.field(QStringLiteral("zdOutComp")))
            return QStringLiteral("the family ") + family + QStringLiteral(" has no drawer");
        window.setOutComp(line.value(QStringLiteral("drawer")));
        window.drawerFieldLeft();  // bank and account from the address book
    }
    QString error;
    for (const auto &[name, value] : readFields(line, &error))
        if (const QString refusal = setField(window, name, value); !refusal.isEmpty())
            return refusal;
    return QString();
}

// Prints (and with --save stores) the filled bill. What the window says
// from here on is about a bill that may already be on paper: it ends the
// command only when nothing was printed.
int printBill(CommandContext &command, TfmBillBase &window, QStringList &told, QTextStream &out)
{
    const CommandLine &line = command.line();
    const QString printed = line.value(QStringLiteral("family")).trimmed() + QStringLiteral("（")
                            + window.templateListText() + QStringLiteral("） -> ") + printTargetName(line);
    if (!line.isSet(QStringLiteral("save"))) {
        if (!window.printOne())
            return command.fail(told.value(0, QStringLiteral("nothing was printed")));
        out << printed << "\n";
        command.warn(told);
        return 0;
    }
    const BillSaveResult result = window.printAndSave();
    if (result == BillSaveResult::NotPrinted)
        return command.fail(told.value(0, QStringLiteral("nothing was printed")));
    out << printed << "\n";
    out.flush();
    if (result != BillSaveResult::Written) {
        // The save's own word comes last, after any about the print.
        const QString why = told.isEmpty() ? QStringLiteral("nothing saved") : told.takeLast();
        command.warn(told);
        return command.fail(QStringLiteral("printed to ") + printTargetName(line) + QStringLiteral(" but not saved: ") + why,
                            kPrintedNotSaved);
    }
    out << "serial " << window.lastSavedSerial() << "\n";
    command.warn(told);
    return 0;
}

} // namespace

int runIssueCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err)
{
    CommandLine line = issueCommandLine();
    CommandContext command(line, dataFolder, err);
    if (const std::optional<int> done = command.start(args, out))
        return *done;
    if (const QString refusal = checkRequest(line); !refusal.isEmpty())
        return command.fail(refusal);
    const QString family = line.value(QStringLiteral("family")).trimmed();
    if (!issuesFromCommandLine(family)) {
        if (BillFamilyInfo::find(family))
            return command.fail(QStringLiteral("the window of family ") + family
                                + QStringLiteral(" cannot issue bills from the command line yet"));
        return command.fail(QStringLiteral("unknown family: ") + family);
    }

    AppContext *context = command.openContext();
    if (!context)
        return kNothingDone;
    ensureDeliveredPictures(command.dataRoot().imageFolder());
    context->printerNames = QPrinterInfo::availablePrinterNames();
    context->popPrinterDialog = false;  // nobody is there to answer it
    context->defaultDrawerOn = context->settings().isOn(SettingKey::DefaultDrawerOn);
    reloadDefaultDrawer(*context);

    // The window tells its troubles as message boxes; here they end the
    // command with its error line, and questions are answered No.
    QStringList &told = command.collectAlerts();
    // Made before the window, which prints through it until it is gone.
    const std::unique_ptr<PrintOutput> output = makePrintOutput(line);
    const std::unique_ptr<TfmBillBase> window = makeWindow(family, *context, BillWindowHost::unattended());
    if (!window->isUsable() || !told.isEmpty())
        return command.fail(told.value(0, QStringLiteral("the family has no template")));
    if (const QString refusal = fillWindow(*window, line, *context); !refusal.isEmpty())
        return command.fail(refusal);
    if (!told.isEmpty())
        return command.fail(told.first());
    if (const QString refusal = useFormPicture(*output, line, *context, window->checkTypeId()); !refusal.isEmpty())
        return command.fail(refusal);
    window->setPrintOutput(output.get());
    return printBill(command, *window, told, out);
}

} // namespace billprint
