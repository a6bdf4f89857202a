#include "batch/import_command.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/data_root.h"
#include "app/one_line.h"
#include "batch/import_run.h"
#include "batch/import_session.h"
#include "batch/match_column_store.h"

#include <QCoreApplication>

namespace billprint {

namespace {

struct ImportRequest
{
    QString file;
    QString into;
    QString sheet;
    QStringList bases;
    bool noDuplicates = false;
    QString dataFolder;
    QString error;
};

ImportRequest parse(const QStringList &args, const QString &dataFolder)
{
    ImportRequest r;
    r.dataFolder = dataFolder;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            if (!r.file.isEmpty()) {
                r.error = QStringLiteral("one file at a time: ") + arg;
                return r;
            }
            r.file = arg;
            continue;
        }
        static const QStringList known{QStringLiteral("--into"), QStringLiteral("--sheet"),
                                       QStringLiteral("--no-duplicates"), QStringLiteral("--data")};
        if (!known.contains(arg)) {
            r.error = QStringLiteral("unknown option: ") + arg;
            return r;
        }
        if (i + 1 >= args.size()) {
            r.error = arg + QStringLiteral(" needs a value");
            return r;
        }
        const QString value = args[++i];
        if (arg == QLatin1String("--into")) {
            r.into = value;
        } else if (arg == QLatin1String("--sheet")) {
            r.sheet = value;
        } else if (arg == QLatin1String("--data")) {
            r.dataFolder = value;
        } else {
            r.noDuplicates = true;
            r.bases = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
            for (QString &b : r.bases)
                b = b.trimmed();
            for (const QString &b : r.bases) {
                if (b != QLatin1String("contact") && b != QLatin1String("name") && b != QLatin1String("phone")) {
                    r.error = QStringLiteral("--no-duplicates takes contact, name and phone, not ") + b;
                    return r;
                }
            }
            if (r.bases.isEmpty())
                r.error = QStringLiteral("--no-duplicates needs at least one of contact, name, phone");
        }
    }
    if (r.file.isEmpty())
        r.error = QStringLiteral("FILE is required");
    else if (r.into != QLatin1String("addressbook") && r.into != QLatin1String("batch"))
        r.error = QStringLiteral("--into addressbook|batch is required");
    return r;
}

int failWith(QTextStream &err, const QString &message)
{
    err << "billprint: import: " << oneLine(message) << "\n";
    err.flush();
    return 2;
}

} // namespace

int runImportCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err)
{
    const ImportRequest request = parse(args, dataFolder);
    if (!request.error.isEmpty())
        return failWith(err, request.error);

    const DataRoot root = DataRoot::resolve(request.dataFolder, QCoreApplication::applicationDirPath());
    QString error;
    std::unique_ptr<AppContext> context = AppContext::open(root, &error);
    if (!context)
        return failWith(err, error);
    const Database &db = context->db();
    if (!MatchColumnStore(db).ensureReady(&error))
        return failWith(err, error);

    ImportSession session;
    if (!session.open(request.file, &error))
        return failWith(err, error);
    int sheet = session.activeSheet();
    if (!request.sheet.isEmpty()) {
        sheet = session.sheetNames().indexOf(request.sheet);
        if (sheet < 0)
            return failWith(err, QStringLiteral("no sheet named ") + request.sheet + QStringLiteral(" (sheets: ")
                                     + session.sheetNames().join(QStringLiteral(", ")) + QLatin1Char(')'));
    }
    if (!session.chooseSheet(sheet, &error))
        return failWith(err, error);

    ImportOptions options;
    options.target = request.into == QLatin1String("batch") ? ImportTarget::BatchList : ImportTarget::AddressBook;
    options.columns = session.autoMatch(options.target, db);
    options.checkDuplicates = request.noDuplicates;
    options.byContact = request.bases.contains(QStringLiteral("contact"));
    options.byName = request.bases.contains(QStringLiteral("name"));
    options.byPhone = request.bases.contains(QStringLiteral("phone"));
    const QString missing = SpreadsheetImport::missingKeyColumns(options);
    if (!missing.isEmpty())
        return failWith(err, missing);

    CollectedAlerts alerts;
    SpreadsheetImport import(db, root.folder() + QStringLiteral("/ImportLog.txt"));
    const ImportResult result = import.run(request.file, session.rows(), options, session.readNotes());
    for (const QString &message : alerts.messages())
        err << "billprint: import: " << oneLine(message) << "\n";
    if (result.failed) {
        // 3 tells a script that rows are stored: running it again would
        // store them twice.
        failWith(err, result.message);
        return result.stored > 0 ? 3 : 2;
    }
    out << oneLine(result.message) << "\n";
    out.flush();
    err.flush();
    return 0;
}

} // namespace billprint
