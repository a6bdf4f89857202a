#include "batch/import_command.h"

#include "app/app_context.h"
#include "app/command_context.h"
#include "app/command_line.h"
#include "app/one_line.h"
#include "batch/import_run.h"
#include "batch/import_session.h"
#include "batch/match_column_store.h"

namespace billprint {

namespace {

CommandLine importCommandLine()
{
    CommandLine line(QStringLiteral("import"),
                     {QStringLiteral("FILE --into addressbook|batch [--sheet NAME] [--no-duplicates contact,name,phone]")},
                     QStringLiteral("Stores the rows of an xlsx, xls, ods, csv or txt file in the address book or\n"
                                    "the batch list, columns matched by their titles as the import window matches\n"
                                    "them; the log goes to ImportLog.txt in the data folder.\n"
                                    "Exit 0: imported (result on stdout); 2: nothing stored (unreadable file,\n"
                                    "nothing to match, the database failed at once); 3: the database failed\n"
                                    "after some rows were stored (stderr says how many)."));
    line.word(QStringLiteral("FILE"), QStringLiteral("the file to import"))
        .option(QStringLiteral("into"), QStringLiteral("addressbook|batch"), QStringLiteral("where the rows go"))
        .option(QStringLiteral("sheet"), QStringLiteral("NAME"), QStringLiteral("the sheet (default: the active one)"))
        .option(QStringLiteral("no-duplicates"), QStringLiteral("contact,name,phone"),
                QStringLiteral("skip a row when a stored one has the same values in these"));
    return line;
}

// The columns that tell a duplicate, or why they cannot.
QString readDuplicateBases(const CommandLine &line, QStringList *bases)
{
    if (!line.isSet(QStringLiteral("no-duplicates")))
        return QString();
    for (const QString &part : line.value(QStringLiteral("no-duplicates")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString base = part.trimmed();
        if (base != QLatin1String("contact") && base != QLatin1String("name") && base != QLatin1String("phone"))
            return QStringLiteral("--no-duplicates takes contact, name and phone, not ") + base;
        *bases << base;
    }
    if (bases->isEmpty())
        return QStringLiteral("--no-duplicates needs at least one of contact, name, phone");
    return QString();
}

QString checkRequest(const CommandLine &line, QStringList *bases)
{
    if (const QString refusal = readDuplicateBases(line, bases); !refusal.isEmpty())
        return refusal;
    const QString into = line.value(QStringLiteral("into"));
    if (line.words().isEmpty())
        return QStringLiteral("FILE is required");
    if (into != QLatin1String("addressbook") && into != QLatin1String("batch"))
        return QStringLiteral("--into addressbook|batch is required");
    return QString();
}

// The sheet the user named, else the one active when the file was saved;
// -1 after the error line.
int chooseSheet(CommandContext &command, ImportSession &session, const QString &name)
{
    if (name.isEmpty())
        return session.activeSheet();
    const int sheet = session.sheetNames().indexOf(name);
    if (sheet < 0)
        command.fail(QStringLiteral("no sheet named ") + name + QStringLiteral(" (sheets: ")
                     + session.sheetNames().join(QStringLiteral(", ")) + QLatin1Char(')'));
    return sheet;
}

} // namespace

int runImportCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err)
{
    CommandLine line = importCommandLine();
    CommandContext command(line, dataFolder, err);
    if (const std::optional<int> done = command.start(args, out))
        return *done;
    QStringList bases;
    if (const QString refusal = checkRequest(line, &bases); !refusal.isEmpty())
        return command.fail(refusal);
    const AppContext *context = command.openContext();
    if (!context)
        return kNothingDone;
    const Database &db = context->db();
    QString error;
    if (!MatchColumnStore(db).ensureReady(&error))
        return command.fail(error);

    const QString file = line.words().first();
    ImportSession session;
    if (!session.open(file, &error))
        return command.fail(error);
    const int sheet = chooseSheet(command, session, line.value(QStringLiteral("sheet")));
    if (sheet < 0)
        return kNothingDone;
    if (!session.chooseSheet(sheet, &error))
        return command.fail(error);

    ImportOptions options;
    options.target = line.value(QStringLiteral("into")) == QLatin1String("batch") ? ImportTarget::BatchList
                                                                                 : ImportTarget::AddressBook;
    options.columns = session.autoMatch(options.target, db);
    options.checkDuplicates = !bases.isEmpty();
    options.byContact = bases.contains(QStringLiteral("contact"));
    options.byName = bases.contains(QStringLiteral("name"));
    options.byPhone = bases.contains(QStringLiteral("phone"));
    const QString missing = SpreadsheetImport::missingKeyColumns(options);
    if (!missing.isEmpty())
        return command.fail(missing);

    const QStringList &told = command.collectAlerts();
    SpreadsheetImport import(db, command.dataRoot().folder() + QStringLiteral("/ImportLog.txt"));
    const ImportResult result = import.run(file, session.rows(), options, session.readNotes());
    for (const QString &message : told)
        command.note(message);
    if (result.failed) {
        // 3 tells a script that rows are stored: running it again would
        // store them twice.
        return command.fail(result.message, result.stored > 0 ? 3 : kNothingDone);
    }
    out << oneLine(result.message) << "\n";
    out.flush();
    return 0;
}

} // namespace billprint
