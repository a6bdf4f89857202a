#include "app/database.h"

#include "app/delivered_resources.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>

namespace billprint {

namespace {

QAtomicInt connectionCounter;

// A database file starts with this header; anything else is not ours to open.
bool looksLikeSqlite(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

QString readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// A script holding this comment line is left out when a database of an
// earlier version is brought to the current schema.
const QString kSkippedByDataUpgrade = QStringLiteral("\n-- skipped by the data upgrade:");

int scriptVersion(const QString &fileName)
{
    static const QRegularExpression number(QStringLiteral("^(\\d+)_"));
    const auto match = number.match(fileName);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

} // namespace

QStringList splitSqlScript(const QString &script)
{
    QStringList statements;
    QString current;
    QChar quote;
    for (int i = 0; i < script.size(); ++i) {
        const QChar c = script.at(i);
        if (!quote.isNull()) {
            current += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < script.size() && script.at(i + 1) == QLatin1Char('-')) {
            while (i < script.size() && script.at(i) != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            current += c;
            continue;
        }
        if (c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                statements << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

QString quoteIdentifier(const QString &name)
{
    QString inner = name;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

Database::Database(QString path)
    : m_path(std::move(path)),
      m_connectionName(QStringLiteral("billprint-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
}

Database::~Database()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QStringList Database::migrationScripts()
{
    registerDeliveredResources();
    QStringList names = QDir(QStringLiteral(":/schema")).entryList({QStringLiteral("*.sql")},
                                                                    QDir::Files, QDir::Name);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return scriptVersion(a) < scriptVersion(b);
    });
    QStringList paths;
    for (const QString &name : names)
        paths << QStringLiteral(":/schema/") + name;
    return paths;
}

int Database::latestSchemaVersion()
{
    const QStringList scripts = migrationScripts();
    return scripts.isEmpty() ? 0 : scriptVersion(QFileInfo(scripts.last()).fileName());
}

std::unique_ptr<Database> Database::open(const QString &path, QString *error)
{
    const QFileInfo info(path);
    const bool fresh = !info.exists() || info.size() == 0;
    if (!fresh && !looksLikeSqlite(path)) {
        if (error)
            *error = QStringLiteral("数据库文件 %1 不是有效的数据库，或无法读取。")
                         .arg(QDir::toNativeSeparators(path));
        return nullptr;
    }
    if (fresh && !QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = QStringLiteral("无法创建数据文件夹：%1")
                         .arg(QDir::toNativeSeparators(info.absolutePath()));
        return nullptr;
    }
    std::unique_ptr<Database> db(new Database(path));
    if (!db->openConnection(error) || !db->migrate(fresh, error))
        return nullptr;
    return db;
}

std::unique_ptr<Database> Database::openShared(const DatabaseUrl &url, bool create, QString *error)
{
    std::unique_ptr<Database> db(new Database(url.toString()));
    if (!db->openServerConnection(url, error))
        return nullptr;
    const bool fresh = db->scalar(db->m_dialect.tableCount()).toInt() == 0;
    if (fresh && !create) {
        if (error)
            *error = QStringLiteral("数据库 %1 中还没有本程序的数据表，请先运行 billprint db init。").arg(url.toString());
        return nullptr;
    }
    if (!db->migrate(fresh, error))
        return nullptr;
    return db;
}

bool Database::openServerConnection(const DatabaseUrl &url, QString *error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
    if (!db.isValid()) {
        if (error)
            *error = QStringLiteral("无法连接数据库 %1：本机缺少 PostgreSQL 数据库驱动（libqt6sql6-psql）。")
                         .arg(m_path);
        return false;
    }
    m_dialect = SqlDialect::forDriver(db.driverName());
    db.setDatabaseName(url.databaseName);
    db.setUserName(url.user);
    db.setHostName(url.host);
    if (url.port > 0)
        db.setPort(url.port);
    // The password comes from ~/.pgpass, PGPASSWORD or a service file,
    // read by the client library itself.
    db.setConnectOptions(QStringLiteral("connect_timeout=10;application_name=billprint"));
    if (!db.open()) {
        if (error)
            *error = QStringLiteral("无法连接数据库 %1：%2").arg(m_path, db.lastError().text().trimmed());
        return false;
    }
    // Messages of the server in the clerks' language where it has them;
    // dates and numbers are always written by the program itself.
    QSqlQuery(db).exec(QStringLiteral("set client_min_messages = warning"));
    return true;
}

bool Database::reconnectAfter(const QSqlQuery &failed) const
{
    // Inside a transaction the work so far is lost with the connection:
    // the caller's transaction fails as a whole and is tried again then.
    if (!isShared() || m_transactionDepth > 0 || !failed.lastError().isValid())
        return false;
    // The server tells a cut connection in several ways (an administrator
    // ended it, it restarted, the network dropped); a statement that cannot
    // run even "select 1" is on a connection that is gone.
    QSqlDatabase db = connection();
    if (QSqlQuery(db).exec(QStringLiteral("select 1")))
        return false;
    db.close();
    if (!db.open())
        return false;
    QSqlQuery(db).exec(QStringLiteral("set client_min_messages = warning"));
    return true;
}

bool Database::openConnection(QString *error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(m_path);
    m_dialect = SqlDialect::forDriver(db.driverName());
    // Another copy of the program may be writing: wait for its lock
    // instead of failing at once.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open()) {
        if (error)
            *error = QStringLiteral("无法打开数据库 %1：%2")
                         .arg(QDir::toNativeSeparators(m_path), db.lastError().text());
        return false;
    }
    // Reading the schema proves the file is a readable database now, not
    // only when the first window asks.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("select count(*) from sqlite_master"))) {
        if (error)
            *error = QStringLiteral("无法读取数据库 %1：%2")
                         .arg(QDir::toNativeSeparators(m_path), probe.lastError().text());
        return false;
    }
    // The history lists scan whole tables of issued bills; a page cache of
    // up to 64 MB keeps them in memory instead of reading the file for
    // every page of every scan.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA cache_size = -65536"));
    return true;
}

bool Database::migrate(bool fresh, QString *error)
{
    const int current = schemaVersion();
    if (current < 0) {
        if (error)
            *error = QStringLiteral("无法读取数据库版本：%1").arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    if (!fresh && holdsEarlierVersionData()) {
        // A file with tables but without our version mark was written by
        // another program (or an earlier version): open it as it is; the
        // data upgrade brings it up to date when the user asks.
        return true;
    }
    if (current == 0) {
        for (const QString &statement : m_dialect.schemaPrelude()) {
            QString preludeError;
            if (!exec(statement, {}, &preludeError)) {
                if (error)
                    *error = QStringLiteral("数据库升级失败：%1").arg(preludeError);
                return false;
            }
        }
    }
    if (!applyScripts(current, false, error))
        return false;
    m_created = fresh;
    return true;
}

bool Database::holdsEarlierVersionData() const
{
    return schemaVersion() == 0
        && scalar(m_dialect.tableCount()).toInt() > 0;
}

bool Database::adoptEarlierVersionData(QString *error) const
{
    if (!holdsEarlierVersionData())
        return true;
    return applyScripts(0, true, error);
}

bool Database::applyScripts(int current, bool adopting, QString *error) const
{
    const QStringList scripts = migrationScripts();
    for (const QString &script : scripts) {
        const int version = scriptVersion(QFileInfo(script).fileName());
        if (version <= current)
            continue;
        const QString text = readResource(script);
        // Scripts that fill a new database with the delivered rows would
        // clash with the rows an earlier version's user made: such a
        // database only takes the version step.
        const bool skip = adopting && text.contains(kSkippedByDataUpgrade);
        QString stepError;
        const bool ok = transaction([&] {
            // Another desk may be running the same step: the second
            // waits here for the first and then finds the step done.
            if (isShared() && !exec(QStringLiteral("select pg_advisory_xact_lock(7460221)"), {}, &stepError))
                return false;
            // Another copy of the program may have run this step meanwhile.
            if (schemaVersion() >= version)
                return true;
            return (skip || runScript(text, &stepError))
                && syncIdSequences(&stepError)
                && writeSchemaVersion(version, &stepError);
        }, &stepError);
        if (!ok) {
            if (error)
                *error = QStringLiteral("数据库升级失败（%1）：%2").arg(QFileInfo(script).fileName(), stepError);
            return false;
        }
    }
    return true;
}

bool Database::runScript(const QString &script, QString *error) const
{
    for (const QString &statement : splitSqlScript(m_dialect.adaptSchemaScript(script))) {
        QSqlQuery q(connection());
        if (!q.exec(statement)) {
            if (error)
                *error = q.lastError().text() + QStringLiteral(" — ") + statement.left(200);
            return false;
        }
    }
    return true;
}

bool Database::writeSchemaVersion(int version, QString *error) const
{
    for (const SqlStatement &statement : m_dialect.schemaVersionWrite(version)) {
        if (!exec(statement.text, statement.values, error))
            return false;
    }
    return true;
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

int Database::schemaVersion() const
{
    // Where the mark is a table, a database without it is one we have
    // not built yet.
    const QString table = m_dialect.schemaVersionTable();
    if (!table.isEmpty() && !tableExists(table))
        return 0;
    QSqlQuery q(connection());
    if (!q.exec(m_dialect.schemaVersionRead()) || !q.next())
        return -1;
    return q.value(0).toInt();
}

QSqlQuery Database::prepare(const QString &sql) const
{
    QSqlQuery q(connection());
    prepareFor(q, sql);
    return q;
}

bool Database::prepareFor(QSqlQuery &q, const QString &sql) const
{
    if (q.prepare(m_dialect.adaptStatement(sql)))
        return true;
    if (!reconnectAfter(q))
        return false;
    q = QSqlQuery(connection());
    return q.prepare(m_dialect.adaptStatement(sql));
}

bool Database::exec(const QString &sql, const QVariantList &values, QString *error,
                    int *rowsAffected) const
{
    QSqlQuery q(connection());
    auto run = [&] {
        // A statement without values runs as it is: PostgreSQL cannot
        // prepare every kind (functions, DO blocks).
        if (values.isEmpty())
            return q.exec(m_dialect.adaptStatement(sql));
        if (!prepareFor(q, sql))
            return false;
        for (const QVariant &v : values)
            q.addBindValue(v);
        return q.exec();
    };
    if (!run() && !(reconnectAfter(q) && (q = QSqlQuery(connection()), run()))) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    if (rowsAffected)
        *rowsAffected = q.numRowsAffected();
    return true;
}

bool Database::run(QSqlQuery &q, const QString &sql, const QVariantList &values, QString *error) const
{
    bool ok = prepareFor(q, sql);
    if (ok) {
        for (const QVariant &v : values)
            q.addBindValue(v);
        ok = q.exec();
    }
    if (!ok && error)
        *error = q.lastError().text();
    return ok;
}

QVariant Database::scalar(const QString &sql, const QVariantList &values) const
{
    QSqlQuery q(connection());
    auto run = [&] {
        if (!prepareFor(q, sql))
            return false;
        for (const QVariant &v : values)
            q.addBindValue(v);
        return q.exec();
    };
    if (!run() && !(reconnectAfter(q) && (q = QSqlQuery(connection()), run())))
        return QVariant();
    if (!q.next())
        return QVariant();
    return q.value(0);
}

bool Database::transaction(const std::function<bool()> &work, QString *error) const
{
    QSqlDatabase db = connection();
    // The outermost level takes the write lock up front (BEGIN IMMEDIATE),
    // so two copies of the program never interleave their writes; inner
    // levels are savepoints, so operations can call each other.
    const int level = m_transactionDepth;
    const QString savepoint = QStringLiteral("level%1").arg(level);
    QSqlQuery begin(db);
    const QString beginText = level == 0 ? m_dialect.beginTransaction() : QStringLiteral("SAVEPOINT ") + savepoint;
    if (!begin.exec(beginText)
        && !(level == 0 && reconnectAfter(begin) && (begin = QSqlQuery(connection()), begin.exec(beginText)))) {
        if (error)
            *error = begin.lastError().text();
        return false;
    }
    ++m_transactionDepth;
    auto rollback = [&] {
        if (level == 0)
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        else {
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK TO ") + savepoint);
            QSqlQuery(db).exec(QStringLiteral("RELEASE ") + savepoint);
        }
    };
    bool ok = false;
    try {
        ok = work();
    } catch (...) {
        --m_transactionDepth;
        rollback();
        throw;
    }
    --m_transactionDepth;
    if (ok) {
        QSqlQuery end(db);
        if (end.exec(level == 0 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE ") + savepoint))
            return true;
        if (error)
            *error = end.lastError().text();
    }
    rollback();
    return false;
}

bool Database::tableExists(const QString &table) const
{
    const SqlStatement named = m_dialect.tableNamed(table);
    QSqlQuery q = prepare(named.text);
    for (const QVariant &v : named.values)
        q.addBindValue(v);
    return q.exec() && q.next() && q.value(0).toInt() > 0;
}

QStringList Database::columnNames(const QString &table) const
{
    const SqlStatement columns = m_dialect.columnNames(table);
    QStringList names;
    QSqlQuery q = prepare(columns.text);
    for (const QVariant &v : columns.values)
        q.addBindValue(v);
    if (!q.exec())
        return names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QVariant Database::lastInsertedId(const QSqlQuery &insert) const
{
    const QString query = m_dialect.lastInsertedIdQuery();
    return query.isEmpty() ? insert.lastInsertId() : scalar(query);
}

bool Database::syncIdSequences(QString *error) const
{
    const QString sync = m_dialect.syncIdSequences();
    return sync.isEmpty() || exec(sync, {}, error);
}

bool Database::resetIdSequence(const QString &table, const QString &idColumn, QString *error) const
{
    const SqlStatement reset = m_dialect.resetIdSequence(table, idColumn);
    return exec(reset.text, reset.values, error);
}

} // namespace billprint
