#include "batch/ui/batch_command.h"

#include "addressbook/person_store.h"
#include "app/app_context.h"
#include "app/command_context.h"
#include "app/command_line.h"
#include "batch/csv_file.h"
#include "batch/receiver_columns.h"
#include "batch/receiver_list.h"
#include "batch/ui/batch_print_run.h"
#include "bills/ui/tfm_check_kdd.h"
#include "printing/ui/print_target.h"
#include "templates/named_template.h"
#include "templates/delivered_pictures.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPrinterInfo>

namespace billprint {

namespace {

CommandLine batchCommandLine()
{
    CommandLine line(QStringLiteral("batch"),
                     {QStringLiteral("--template ID|NAME --csv FILE [--sender NAME]\n"
                                     "(--pdf OUT | --png-dir DIR [--dpi N] [--with-form] | --printer NAME)")},
                     QStringLiteral("Prints a waybill for every receiver of a CSV file (UTF-8 or GBK, titles in\n"
                                    "the first row, matched as the import matches them) in one document and\n"
                                    "prints the page count. The desktop's batch list is left as it is.\n"
                                    "Exit 0: printed; 2: nothing printed."));
    line.option(QStringLiteral("template"), QStringLiteral("ID|NAME"),
                QStringLiteral("the waybill template by id, full name or last name"))
        .option(QStringLiteral("csv"), QStringLiteral("FILE"), QStringLiteral("the receivers"))
        .option(QStringLiteral("sender"), QStringLiteral("NAME"), QStringLiteral("the sender from the address book"));
    addPrintTarget(line, PictureTarget::Folder);
    return line;
}

QString checkRequest(const CommandLine &line)
{
    if (line.value(QStringLiteral("template")).trimmed().isEmpty())
        return QStringLiteral("--template ID|NAME is required");
    if (line.value(QStringLiteral("csv")).isEmpty())
        return QStringLiteral("--csv FILE is required");
    return checkPrintTarget(line);
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

// The sender named on the command line, if any; false after the error line.
bool findSender(CommandContext &command, const Database &db, std::optional<TPerson> *sender)
{
    if (!command.line().isSet(QStringLiteral("sender")))
        return true;
    const QString name = command.line().value(QStringLiteral("sender")).trimmed();
    *sender = TPerson::findByName(db, name);
    if (!*sender)
        command.fail(QStringLiteral("no address-book entry named ") + name);
    return sender->has_value();
}

// The rows leave the list when the run is over, however it ends.
struct DropGroup
{
    const Database &db;
    QString group;
    ~DropGroup() { db.exec(QStringLiteral("delete from ReceiverList where \"批打分组\"=?"), {group}); }
};

} // namespace

int runBatchCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err)
{
    CommandLine line = batchCommandLine();
    CommandContext command(line, dataFolder, err);
    if (const std::optional<int> done = command.start(args, out))
        return *done;
    if (const QString refusal = checkRequest(line); !refusal.isEmpty())
        return command.fail(refusal);
    AppContext *context = command.openContext();
    if (!context)
        return kNothingDone;
    QString error;
    const std::optional<TCheckType> type = findNamedTemplate(context->db(), line.value(QStringLiteral("template")),
                                                             BillFamilyInfo::waybill().family, &error);
    if (!type)
        return command.fail(error);
    const QString csvPath = line.value(QStringLiteral("csv"));
    QList<QStringList> csv;
    if (!readCsvFile(csvPath, &csv, &error))
        return command.fail(error);
    if (csv.size() < 2)
        return command.fail(csvPath + QStringLiteral(" has titles but no receivers"));
    std::optional<TPerson> sender;
    if (!findSender(command, context->db(), &sender))
        return kNothingDone;

    ensureDeliveredPictures(command.dataRoot().imageFolder());
    context->printerNames = QPrinterInfo::availablePrinterNames();
    context->popPrinterDialog = false;  // nobody is there to answer it
    QStringList &told = command.collectAlerts();

    // A group of this run alone: the desktop list shows only rows of no
    // group, and the rows leave the table when the run is over.
    const QString group = QStringLiteral("batch-%1-%2")
                              .arg(QCoreApplication::applicationPid())
                              .arg(QDateTime::currentMSecsSinceEpoch());
    const ReceiverList list(context->db());
    QSet<QString> shown;
    if (!list.addAll(receiverRows(csv, context->db(), group, &shown), &error))
        return command.fail(error);
    csv = {};  // the rows are in the list now; the pages reuse the memory
    const DropGroup drop{context->db(), group};
    ReceiverQuery query;
    query.group = group;
    QList<int> ids;
    if (!list.query(query, &ids, &error))
        return command.fail(error);

    const std::unique_ptr<PrintOutput> output = makePrintOutput(line);
    TfmCheckKDD window(*context, BillWindowHost::unattended());
    if (!window.isUsable() || !told.isEmpty())
        return command.fail(told.value(0, QStringLiteral("the waybill window cannot open")));
    if (!window.chooseTemplate(type->TypeDescribe))
        return command.fail(QStringLiteral("unknown 快递单 template: ") + line.value(QStringLiteral("template")));
    if (sender)
        window.setSender(sender);
    if (const QString refusal = useFormPicture(*output, line, *context, type->CheckTypeID); !refusal.isEmpty())
        return command.fail(refusal);
    window.setPrintOutput(output.get());

    BatchPrintRun run(window, list, shown);
    const int pages = run.print(ids);
    window.setPrintOutput(nullptr);
    // A batch that stopped at an unreadable row is not the batch asked for.
    if (!run.problem().isEmpty())
        return command.fail(run.problem() + QStringLiteral(" (%1 pages printed before it)").arg(pages));
    if (pages == 0)
        return command.fail(told.value(0, QStringLiteral("nothing was printed")));
    out << pages << " pages -> " << printTargetName(line) << "\n";
    command.warn(told);
    return 0;
}

} // namespace billprint
