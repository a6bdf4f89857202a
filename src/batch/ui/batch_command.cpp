#include "batch/ui/batch_command.h"

#include "addressbook/person_store.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "app/data_root.h"
#include "app/one_line.h"
#include "batch/csv_file.h"
#include "batch/receiver_columns.h"
#include "batch/receiver_list.h"
#include "batch/ui/batch_print_run.h"
#include "bills/ui/tfm_check_kdd.h"
#include "printing/pdf_print_output.h"
#include "printing/ui/printer_output.h"
#include "templates/check_type.h"
#include "templates/delivered_pictures.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPrinterInfo>

namespace billprint {

namespace {

struct BatchRequest
{
    QString templateText;
    QString csvPath;
    std::optional<QString> sender;
    QString pdfPath;
    QString printerName;
    QString dataFolder;
    QString error;
};

BatchRequest parse(const QStringList &args, const QString &dataFolder)
{
    BatchRequest r;
    r.dataFolder = dataFolder;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        static const QStringList known{QStringLiteral("--template"), QStringLiteral("--csv"),
                                       QStringLiteral("--sender"),   QStringLiteral("--pdf"),
                                       QStringLiteral("--printer"),  QStringLiteral("--data")};
        if (!known.contains(arg)) {
            r.error = QStringLiteral("unknown option: ") + arg;
            return r;
        }
        if (i + 1 >= args.size()) {
            r.error = arg + QStringLiteral(" needs a value");
            return r;
        }
        const QString value = args[++i];
        if (arg == QLatin1String("--template"))
            r.templateText = value.trimmed();
        else if (arg == QLatin1String("--csv"))
            r.csvPath = value;
        else if (arg == QLatin1String("--sender"))
            r.sender = value.trimmed();
        else if (arg == QLatin1String("--pdf"))
            r.pdfPath = value;
        else if (arg == QLatin1String("--printer"))
            r.printerName = value;
        else
            r.dataFolder = value;
    }
    if (r.templateText.isEmpty())
        r.error = QStringLiteral("--template ID|NAME is required");
    else if (r.csvPath.isEmpty())
        r.error = QStringLiteral("--csv FILE is required");
    else if (r.pdfPath.isEmpty() == r.printerName.isEmpty())
        r.error = QStringLiteral("give exactly one of --pdf OUT and --printer NAME");
    return r;
}

int failWith(QTextStream &err, const QString &message)
{
    err << "billprint: batch: " << oneLine(message) << "\n";
    err.flush();
    return 2;
}

const QString kWaybill = QStringLiteral("快递单");

// The waybill template named by its ID, full name or last name.
std::optional<TCheckType> findTemplate(const Database &db, const QString &text)
{
    bool isId = false;
    const int id = text.toInt(&isId);
    std::optional<TCheckType> found;
    if (isId)
        found = TCheckType::findById(db, id);
    if (!found)
        found = TCheckType::findByTypeName(db, text);
    if (!found)
        found = TCheckType::findByFirstAndLastName(db, kWaybill, text);
    if (found && TCheckType::firstNameOf(found->TypeFirstName, found->TypeName) != kWaybill)
        return std::nullopt;
    return found;
}

// The CSV rows as list rows of one batch group; the matched list columns
// go to `shown`.
QList<QList<QPair<QString, QString>>> receiverRows(const QList<QStringList> &csv, const Database &db,
                                                   const QString &group, QSet<QString> *shown)
{
    const QList<ColumnMatch> matches = matchReceiverColumns(csv.first(), &db);
    for (const ColumnMatch &m : matches)
        shown->insert(m.listColumn);
    QList<QList<QPair<QString, QString>>> rows;
    rows.reserve(csv.size() - 1);
    for (int i = 1; i < csv.size(); ++i) {
        QList<QPair<QString, QString>> row{{QStringLiteral("批打分组"), group}};
        for (const ColumnMatch &m : matches) {
            if (!m.listColumn.isEmpty() && m.listColumn != QLatin1String("批打分组"))
                row << qMakePair(m.listColumn, csv[i].value(m.source).trimmed());
        }
        rows << row;
    }
    return rows;
}

} // namespace

int runBatchCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err)
{
    const BatchRequest request = parse(args, dataFolder);
    if (!request.error.isEmpty())
        return failWith(err, request.error);

    const DataRoot root = DataRoot::resolve(request.dataFolder, QCoreApplication::applicationDirPath());
    QString error;
    std::unique_ptr<AppContext> context = AppContext::open(root, &error);
    if (!context)
        return failWith(err, error);
    const std::optional<TCheckType> type = findTemplate(context->db(), request.templateText);
    if (!type)
        return failWith(err, QStringLiteral("unknown waybill template: ") + request.templateText);
    QList<QStringList> csv;
    if (!readCsvFile(request.csvPath, &csv, &error))
        return failWith(err, error);
    if (csv.size() < 2)
        return failWith(err, request.csvPath + QStringLiteral(" has titles but no receivers"));
    std::optional<TPerson> sender;
    if (request.sender) {
        sender = TPerson::findByName(context->db(), *request.sender);
        if (!sender)
            return failWith(err, QStringLiteral("no address-book entry named ") + *request.sender);
    }

    ensureDeliveredPictures(root.imageFolder());
    context->printerNames = QPrinterInfo::availablePrinterNames();
    context->popPrinterDialog = false;  // nobody is there to answer it

    CollectedAlerts alerts;
    QStringList &told = alerts.messages();

    // A group of this run alone: the desktop list shows only rows of no
    // group, and the rows leave the table when the run is over.
    const QString group = QStringLiteral("batch-%1-%2")
                              .arg(QCoreApplication::applicationPid())
                              .arg(QDateTime::currentMSecsSinceEpoch());
    const ReceiverList list(context->db());
    QSet<QString> shown;
    if (!list.addAll(receiverRows(csv, context->db(), group, &shown), &error))
        return failWith(err, error);
    csv = {};  // the rows are in the list now; the pages reuse the memory
    struct DropGroup
    {
        const Database &db;
        QString group;
        ~DropGroup() { db.exec(QStringLiteral("delete from ReceiverList where \"批打分组\"=?"), {group}); }
    } drop{context->db(), group};
    ReceiverQuery query;
    query.group = group;
    QList<int> ids;
    if (!list.query(query, &ids, &error))
        return failWith(err, error);

    std::unique_ptr<PrintOutput> output =
        request.printerName.isEmpty()
            ? std::unique_ptr<PrintOutput>(std::make_unique<PdfPrintOutput>(request.pdfPath))
            : std::unique_ptr<PrintOutput>(std::make_unique<PrinterOutput>(request.printerName));
    BillWindowHost host;
    host.pickPerson = [](const QString &, const QString &, QWidget *) { return std::optional<TPerson>(); };
    host.savePerson = [](const std::optional<TPerson> &, QWidget *) { return std::optional<TPerson>(); };
    host.askValue = [](const QString &, const QString &, const QString &, QWidget *) { return QString(); };
    TfmCheckKDD window(*context, host);
    if (!window.isUsable() || !told.isEmpty())
        return failWith(err, told.value(0, QStringLiteral("the waybill window cannot open")));
    if (!window.chooseTemplate(type->TypeDescribe))
        return failWith(err, QStringLiteral("unknown waybill template: ") + request.templateText);
    if (sender)
        window.setSender(sender);
    window.setPrintOutput(output.get());

    BatchPrintRun run(window, list, shown);
    const int pages = run.print(ids);
    window.setPrintOutput(nullptr);
    // A batch that stopped at an unreadable row is not the batch asked for.
    if (!run.problem().isEmpty())
        return failWith(err, run.problem() + QStringLiteral(" (%1 pages printed before it)").arg(pages));
    if (pages == 0)
        return failWith(err, told.value(0, QStringLiteral("nothing was printed")));
    out << pages << " pages -> " << (request.printerName.isEmpty() ? request.pdfPath : request.printerName) << "\n";
    for (const QString &message : told)
        err << "billprint: batch: warning: " << oneLine(message) << "\n";
    return 0;
}

} // namespace billprint
