#include "maintenance/db_command.h"

#include "app/command_context.h"
#include "app/command_line.h"
#include "app/data_root.h"
#include "app/database.h"
#include "maintenance/database_copy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace billprint {

namespace {

const QString kInit = QStringLiteral("init");
const QString kCopy = QStringLiteral("copy");
const QString kFrom = QStringLiteral("from");
const QString kTo = QStringLiteral("to");
const QString kReplace = QStringLiteral("replace");

CommandLine dbCommandLine()
{
    CommandLine line(QStringLiteral("db"), {QStringLiteral("init [--database URL] [--data DIR]"),
                                            QStringLiteral("copy --from DIR --to URL [--replace]"),
                                            QStringLiteral("copy --from URL --to DIR")},
                     QStringLiteral(
                         "Moves an office onto a shared PostgreSQL database. init builds this program's\n"
                         "tables in an empty database (the address from --database, else Config.ini\n"
                         "[Database] Url of the data folder). copy carries a desk's data folder (its\n"
                         "Data/EPData.ini and template pictures) into an initialised shared database,\n"
                         "replacing its delivered rows, in one transaction, and compares the rows of\n"
                         "every table; or, from the shared database, writes a new database file into\n"
                         "a data folder (a backup a desk opens with --data DIR).\n"
                         "The password comes from ~/.pgpass or PGPASSWORD, never from the address.\n"
                         "Exit 0: done; 2: nothing done (no address, already initialised, a target\n"
                         "holding bills or units without --replace, an existing file, a failure)."));
    line.word(QStringLiteral("init|copy"), QStringLiteral("what to do"))
        .option(kFrom, QStringLiteral("DIR|URL"), QStringLiteral("copy from this data folder or shared database"))
        .option(kTo, QStringLiteral("URL|DIR"), QStringLiteral("copy into this shared database or new data folder"))
        .flag(kReplace, QStringLiteral("copy into a shared database that holds bills or units already"));
    return line;
}

bool isDatabaseAddress(const QString &text)
{
    return text.contains(QLatin1String("://"));
}

// What the words ask for, or why they cannot be done.
QString checkRequest(const CommandLine &line)
{
    const QStringList words = line.words();
    if (words.size() != 1 || (words[0] != kInit && words[0] != kCopy))
        return QStringLiteral("usage: db init [--database URL] | db copy --from DIR|URL --to URL|DIR");
    if (words[0] == kInit)
        return line.isSet(kFrom) || line.isSet(kTo) ? QStringLiteral("db init takes no --from or --to") : QString();
    const QString from = line.value(kFrom).trimmed();
    const QString to = line.value(kTo).trimmed();
    if (from.isEmpty() || to.isEmpty())
        return QStringLiteral("db copy needs --from and --to");
    if (isDatabaseAddress(from) == isDatabaseAddress(to))
        return QStringLiteral("db copy goes from a data folder to a database address, or back");
    return QString();
}

void printLog(QTextStream &out, const QStringList &log)
{
    for (const QString &line : log)
        out << line << "\n";
    out.flush();
}

std::unique_ptr<Database> openServer(const QString &address, bool create, QString *error)
{
    const DatabaseUrl url = DatabaseUrl::parse(address, error);
    if (!url.isValid())
        return nullptr;
    return Database::openShared(url, create, error);
}

int initialise(CommandContext &command, QTextStream &out)
{
    const QString address = command.location().sharedDatabaseUrl();
    if (address.isEmpty())
        return command.fail(QStringLiteral("no shared database named: give --database URL or [Database] Url in ")
                            + QDir::toNativeSeparators(command.dataRoot().configIniPath()));
    QString error;
    const std::unique_ptr<Database> db = openServer(address, true, &error);
    if (!db)
        return command.fail(error);
    // Only a database without tables gets the schema; one holding tables
    // is left as it is.
    if (!db->wasCreated()) {
        if (db->holdsEarlierVersionData())
            return command.fail(QStringLiteral("%1 holds tables of another program; give an empty database")
                                    .arg(db->path()));
        return command.fail(QStringLiteral("%1 is already initialised (schema version %2)")
                                .arg(db->path())
                                .arg(db->schemaVersion()));
    }
    out << QStringLiteral("initialised %1: schema version %2\n").arg(db->path()).arg(db->schemaVersion());
    out.flush();
    return 0;
}

// A shared database the copy may write into: ours, at the current schema.
QString checkSharedTarget(const Database &target, bool replace)
{
    if (target.holdsEarlierVersionData())
        return QStringLiteral("%1 is not initialised by billprint db init").arg(target.path());
    if (!replace && holdsBillsOrUnits(target))
        return QStringLiteral("%1 holds bills or units already; give --replace to overwrite them").arg(target.path());
    return QString();
}

int copyDeskIntoServer(CommandContext &command, const QString &folder, const QString &address, QTextStream &out)
{
    const DataRoot desk(QDir(folder).absolutePath());
    if (!QFileInfo(desk.databasePath()).isFile())
        return command.fail(QStringLiteral("no database in ") + QDir::toNativeSeparators(desk.folder()));
    QString error;
    const std::unique_ptr<Database> source = Database::open(desk.databasePath(), &error);
    if (!source)
        return command.fail(error);
    const std::unique_ptr<Database> target = openServer(address, false, &error);
    if (!target)
        return command.fail(error);
    if (const QString refusal = checkSharedTarget(*target, command.line().isSet(kReplace)); !refusal.isEmpty())
        return command.fail(refusal);

    const DatabaseCopy copy(*source, *target);
    QStringList log;
    // The pictures go in the same transaction as the rows: a template
    // without its picture would print blank at the other desks.
    const bool ok = target->transaction([&] {
        return copy.run(&log, &error) && copy.publishDeskPictures(desk.imageFolder(), &log, &error);
    }, &error);
    printLog(out, log);
    if (!ok)
        return command.fail(QStringLiteral("nothing copied: ") + error);
    out << QStringLiteral("copied %1 into %2\n").arg(QDir::toNativeSeparators(desk.folder()), target->path());
    out.flush();
    return 0;
}

// A file the failed copy made is removed with what SQLite kept beside it.
void removeNewDatabase(const QString &path)
{
    for (const QString &suffix : {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(path + suffix);
}

int copyServerIntoDesk(CommandContext &command, const QString &address, const QString &folder, QTextStream &out)
{
    const DataRoot desk(QDir(folder).absolutePath());
    if (QFileInfo::exists(desk.databasePath()))
        return command.fail(QStringLiteral("%1 exists already; give a folder without a database")
                                .arg(QDir::toNativeSeparators(desk.databasePath())));
    QString error;
    const std::unique_ptr<Database> source = openServer(address, false, &error);
    if (!source)
        return command.fail(error);
    std::unique_ptr<Database> target = Database::open(desk.databasePath(), &error);
    if (!target)
        return command.fail(error);

    const DatabaseCopy copy(*source, *target);
    QStringList log;
    bool ok = copy.run(&log, &error);
    if (ok && !QDir().mkpath(desk.imageFolder())) {
        error = QStringLiteral("cannot create ") + QDir::toNativeSeparators(desk.imageFolder());
        ok = false;
    }
    ok = ok && copy.fetchPicturesInto(desk.imageFolder(), &log, &error);
    printLog(out, log);
    if (!ok) {
        target.reset();
        removeNewDatabase(desk.databasePath());
        return command.fail(QStringLiteral("nothing copied: ") + error);
    }
    out << QStringLiteral("copied %1 into %2\n").arg(source->path(), QDir::toNativeSeparators(desk.databasePath()));
    out.flush();
    return 0;
}

} // namespace

int runDbCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err)
{
    CommandLine line = dbCommandLine();
    CommandContext command(line, dataFolder, err);
    if (const std::optional<int> done = command.start(args, out))
        return *done;
    if (const QString refusal = checkRequest(line); !refusal.isEmpty())
        return command.fail(refusal);
    if (line.words().at(0) == kInit)
        return initialise(command, out);
    const QString from = line.value(kFrom).trimmed();
    const QString to = line.value(kTo).trimmed();
    if (isDatabaseAddress(to))
        return copyDeskIntoServer(command, from, to, out);
    return copyServerIntoDesk(command, from, to, out);
}

} // namespace billprint
