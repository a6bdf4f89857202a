#include "bills/ui/issue_command.h"

#include "addressbook/default_drawer.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "app/data_root.h"
#include "bills/amount_entry.h"
#include "bills/bill_record.h"
#include "printing/pdf_print_output.h"
#include "bills/ui/party_frame.h"
#include "printing/ui/printer_output.h"
#include "bills/ui/tfm_check_jkd.h"
#include "bills/ui/tfm_check_jzd.h"
#include "bills/ui/tfm_check_kdd.h"
#include "bills/ui/tfm_check_zp.h"
#include "templates/delivered_pictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QRegularExpression>

#include "app/one_line.h"

namespace billprint {

namespace {

struct IssueRequest
{
    QString family;
    QString templateName;
    std::optional<QString> amount;
    std::optional<QDate> date;
    std::optional<QString> payee;
    std::optional<QString> sender;    // address-book names
    std::optional<QString> receiver;
    std::optional<QString> drawer;
    QList<QPair<QString, QString>> fields;  // --set FIELD=VALUE, in order
    QString pdfPath;
    QString printerName;
    bool toPdf = false;
    bool toPrinter = false;
    bool save = false;
    QString dataFolder;
    QString error;
};

bool needsValue(const QString &arg)
{
    static const QStringList withValue{QStringLiteral("--family"), QStringLiteral("--template"),
                                       QStringLiteral("--amount"),  QStringLiteral("--date"),
                                       QStringLiteral("--payee"),   QStringLiteral("--drawer"),
                                       QStringLiteral("--set"),
                                       QStringLiteral("--pdf"),     QStringLiteral("--printer"),
                                       QStringLiteral("--data"),    QStringLiteral("--sender"),
                                       QStringLiteral("--receiver")};
    return withValue.contains(arg);
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

IssueRequest parse(const QStringList &args, const QString &dataFolder)
{
    IssueRequest r;
    r.dataFolder = dataFolder;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--save")) {
            r.save = true;
            continue;
        }
        if (!needsValue(arg)) {
            r.error = QStringLiteral("unknown argument: ") + arg;
            return r;
        }
        if (i + 1 >= args.size()) {
            r.error = arg + QStringLiteral(" needs a value");
            return r;
        }
        const QString value = args.at(++i);
        if (arg == QLatin1String("--family")) {
            r.family = value.trimmed();
        } else if (arg == QLatin1String("--template")) {
            r.templateName = value.trimmed();
        } else if (arg == QLatin1String("--amount")) {
            r.amount = value.trimmed();
            r.error = checkAmount(*r.amount);
        } else if (arg == QLatin1String("--date")) {
            static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
            const QDate d = QDate::fromString(value.trimmed(), Qt::ISODate);
            if (!iso.match(value.trimmed()).hasMatch() || !BillDates::contains(d))
                r.error = QStringLiteral("--date needs a date YYYY-MM-DD from %1 to %2: ")
                              .arg(BillDates::earliest().toString(Qt::ISODate),
                                   BillDates::latest().toString(Qt::ISODate))
                          + value;
            r.date = d;
        } else if (arg == QLatin1String("--payee")) {
            r.payee = value;
        } else if (arg == QLatin1String("--sender")) {
            r.sender = value.trimmed();
        } else if (arg == QLatin1String("--receiver")) {
            r.receiver = value.trimmed();
        } else if (arg == QLatin1String("--drawer")) {
            r.drawer = value;
        } else if (arg == QLatin1String("--set")) {
            const int eq = value.indexOf(QLatin1Char('='));
            if (eq <= 0)
                r.error = QStringLiteral("--set needs FIELD=VALUE: ") + value;
            else
                r.fields.append({value.left(eq).trimmed(), value.mid(eq + 1)});
        } else if (arg == QLatin1String("--pdf")) {
            r.pdfPath = value;
            r.toPdf = true;
        } else if (arg == QLatin1String("--printer")) {
            r.printerName = value;
            r.toPrinter = true;
        } else {
            r.dataFolder = value;
        }
        if (!r.error.isEmpty())
            return r;
    }
    if (r.family.isEmpty())
        r.error = QStringLiteral("--family is required");
    else if (r.toPdf == r.toPrinter)
        r.error = QStringLiteral("give either --pdf OUT or --printer NAME");
    else if (r.toPdf && r.pdfPath.trimmed().isEmpty())
        r.error = QStringLiteral("--pdf needs a file name");
    return r;
}

// Exit codes: 0 printed (and saved when asked), with any message of the
// window as a warning; 2 nothing printed, nothing saved (the command may be
// run again once the cause is mended); 3 printed but not saved (running it
// again would print a second bill).
constexpr int kNothingDone = 2;
constexpr int kPrintedNotSaved = 3;

int failWith(QTextStream &err, const QString &message, int code = kNothingDone)
{
    err << "billprint: print: " << oneLine(message) << "\n";
    err.flush();
    return code;
}

void warn(QTextStream &err, const QStringList &messages)
{
    for (const QString &message : messages)
        err << "billprint: print: warning: " << oneLine(message) << "\n";
    err.flush();
}

// The last name of a template given by its last or full name.
QString lastNameOf(const QString &name)
{
    const int open = name.indexOf(QStringLiteral("（"));
    if (open >= 0 && name.endsWith(QStringLiteral("）")))
        return name.mid(open + 1, name.size() - open - 2);
    return name;
}

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

} // namespace

int runIssueCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err)
{
    const IssueRequest request = parse(args, dataFolder);
    if (!request.error.isEmpty())
        return failWith(err, request.error);
    if (!issuesFromCommandLine(request.family)) {
        if (BillFamilyInfo::find(request.family))
            return failWith(err, QStringLiteral("the window of family ") + request.family
                                     + QStringLiteral(" cannot issue bills from the command line yet"));
        return failWith(err, QStringLiteral("unknown family: ") + request.family);
    }

    const DataRoot root = DataRoot::resolve(request.dataFolder, QCoreApplication::applicationDirPath());
    QString error;
    std::unique_ptr<AppContext> context = AppContext::open(root, &error);
    if (!context)
        return failWith(err, error);
    ensureDeliveredPictures(root.imageFolder());
    context->printerNames = QPrinterInfo::availablePrinterNames();
    context->popPrinterDialog = false;  // nobody is there to answer it
    context->defaultDrawerOn = context->settings().isOn(SettingKey::DefaultDrawerOn);
    reloadDefaultDrawer(*context);

    // The window tells its troubles as message boxes; here they end the
    // command with its error line, and questions are answered No.
    CollectedAlerts alerts;
    QStringList &told = alerts.messages();

    // Made before the window, which prints through it until it is gone.
    std::unique_ptr<PrintOutput> output =
        request.toPrinter ? std::unique_ptr<PrintOutput>(std::make_unique<PrinterOutput>(request.printerName))
                          : std::unique_ptr<PrintOutput>(std::make_unique<PdfPrintOutput>(request.pdfPath));
    BillWindowHost host;
    host.pickPerson = [](const QString &, const QString &, QWidget *) { return std::optional<TPerson>(); };
    host.savePerson = [](const std::optional<TPerson> &, QWidget *) { return std::optional<TPerson>(); };
    host.askValue = [](const QString &, const QString &, const QString &, QWidget *) { return QString(); };
    const std::unique_ptr<TfmBillBase> made = makeWindow(request.family, *context, host);
    TfmBillBase &window = *made;
    if (!window.isUsable() || !told.isEmpty())
        return failWith(err, told.value(0, QStringLiteral("the family has no template")));

    if (!request.templateName.isEmpty() && !window.chooseTemplate(lastNameOf(request.templateName)))
        return failWith(err, QStringLiteral("unknown template: ") + request.templateName);
    if (request.date)
        window.datePicker()->setDate(*request.date);
    if (request.amount && !window.amountEntry())
        return failWith(err, QStringLiteral("the family ") + request.family
                                 + QStringLiteral(" has no amount; use --set"));
    if (request.amount)
        window.setJEXX(*request.amount);
    for (const auto &[name, isReceiver] : {std::pair{request.sender, false}, std::pair{request.receiver, true}}) {
        if (!name)
            continue;
        const std::optional<TPerson> person = TPerson::findByName(context->db(), *name);
        if (!person)
            return failWith(err, QStringLiteral("no address-book entry named ") + *name);
        isReceiver ? window.setReceiver(person) : window.setSender(person);
    }
    if (request.payee)
        window.setInComp(*request.payee);
    if (request.drawer) {
        if (!window.field(QStringLiteral("zdOutComp")))
            return failWith(err, QStringLiteral("the family ") + request.family + QStringLiteral(" has no drawer"));
        window.setOutComp(*request.drawer);
        window.drawerFieldLeft();  // bank and account from the address book
    }
    for (const auto &[name, value] : request.fields) {
        const QString refusal = setField(window, name, value);
        if (!refusal.isEmpty())
            return failWith(err, refusal);
    }
    if (!told.isEmpty())
        return failWith(err, told.first());

    window.setPrintOutput(output.get());
    const QString target = request.toPrinter ? request.printerName : request.pdfPath;
    const QString templateName = window.templateListText();

    // What the window says from here on is about a bill that may already
    // be on paper: it ends the command only when nothing was printed.
    if (request.save) {
        const BillSaveResult result = window.printAndSave();
        if (result == BillSaveResult::NotPrinted)
            return failWith(err, told.value(0, QStringLiteral("nothing was printed")));
        out << request.family << "（" << templateName << "） -> " << target << "\n";
        out.flush();
        if (result != BillSaveResult::Written) {
            // The save's own word comes last, after any about the print.
            const QString why = told.isEmpty() ? QStringLiteral("nothing saved") : told.takeLast();
            warn(err, told);
            return failWith(err, QStringLiteral("printed to ") + target + QStringLiteral(" but not saved: ") + why,
                            kPrintedNotSaved);
        }
        out << "serial " << window.lastSavedSerial() << "\n";
        warn(err, told);
        return 0;
    }
    if (!window.printOne())
        return failWith(err, told.value(0, QStringLiteral("nothing was printed")));
    out << request.family << "（" << templateName << "） -> " << target << "\n";
    warn(err, told);
    return 0;
}

} // namespace billprint
