#include "test_database.h"

#include "app/database.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace billprint::test {

namespace {

QAtomicInt scratchCounter;

QString serverAddress()
{
    return qEnvironmentVariable("BILLPRINT_TEST_PG_URL");
}

// The name of the database holding the current schema: built once, then
// copied for every test. Scripts changed since give another name.
QString schemaTemplateName()
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QString &script : Database::migrationScripts()) {
        QFile file(script);
        if (file.open(QIODevice::ReadOnly))
            hash.addData(file.readAll());
    }
    return QStringLiteral("billprint_schema_") + QString::fromLatin1(hash.result().toHex().left(16));
}

// A connection to the server's maintenance database, for creating and
// dropping the test databases.
class AdminConnection
{
public:
    AdminConnection()
        : m_name(QStringLiteral("test-admin-%1").arg(scratchCounter.fetchAndAddRelaxed(1)))
    {
        QString error;
        const DatabaseUrl url = DatabaseUrl::parse(serverAddress(), &error);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        db.setDatabaseName(url.databaseName);
        db.setUserName(url.user);
        db.setHostName(url.host);
        if (url.port > 0)
            db.setPort(url.port);
        if (!db.open())
            m_error = db.lastError().text();
    }
    ~AdminConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    bool run(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        bool ok = values.isEmpty() ? q.exec(sql) : (q.prepare(sql), [&] {
            for (const QVariant &v : values)
                q.addBindValue(v);
            return q.exec();
        }());
        if (!ok)
            m_error = q.lastError().text();
        return ok;
    }
    bool exists(const QString &databaseName)
    {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        q.prepare(QStringLiteral("select 1 from pg_database where datname = ?"));
        q.addBindValue(databaseName);
        return q.exec() && q.next();
    }
    const QString &error() const { return m_error; }

private:
    QString m_name;
    QString m_error;
};

// Builds the schema database once for all test programs of the run; the
// advisory lock makes the others wait while one builds it.
bool ensureSchemaTemplate(AdminConnection &admin, const QString &name)
{
    if (!admin.run(QStringLiteral("select pg_advisory_lock(7460222)")))
        return false;
    bool ok = true;
    if (!admin.exists(name)) {
        const QString building = name + QStringLiteral("_building");
        ok = admin.run(QStringLiteral("drop database if exists %1 with (force)").arg(building))
            && admin.run(QStringLiteral("create database %1").arg(building));
        if (ok) {
            QString error;
            ok = Database::openShared(DatabaseUrl::parse(testServerUrl(building), &error), true, &error) != nullptr;
            if (!ok)
                ADD_FAILURE() << "cannot build the schema on the test server: " << error.toStdString();
        }
        ok = ok && admin.run(QStringLiteral("alter database %1 rename to %2").arg(building, name));
    }
    admin.run(QStringLiteral("select pg_advisory_unlock(7460222)"));
    return ok;
}

} // namespace

bool testsOnSharedDatabase()
{
    return qEnvironmentVariable("BILLPRINT_TEST_ENGINE") == QLatin1String("postgres");
}

QString testServerUrl(const QString &name)
{
    QUrl url(serverAddress());
    url.setPath(QLatin1Char('/') + name);
    return url.toString();
}

ScratchServerDatabase::ScratchServerDatabase()
    : m_name(QStringLiteral("billprint_test_%1_%2")
                 .arg(QCoreApplication::applicationPid())
                 .arg(scratchCounter.fetchAndAddRelaxed(1)))
{
    AdminConnection admin;
    const QString schema = schemaTemplateName();
    if (!admin.error().isEmpty() || !ensureSchemaTemplate(admin, schema)
        || !admin.run(QStringLiteral("create database %1 template %2").arg(m_name, schema))) {
        ADD_FAILURE() << "cannot make a test database on the server: " << admin.error().toStdString();
        return;
    }
    m_url = testServerUrl(m_name);
}

ScratchServerDatabase::~ScratchServerDatabase()
{
    if (m_url.isEmpty())
        return;
    AdminConnection admin;
    admin.run(QStringLiteral("drop database if exists %1 with (force)").arg(m_name));
}

bool refuseChanges(const Database &db, const QString &name, const QString &event, const QString &table,
                   const QString &message)
{
    if (!db.isShared()) {
        const QString action = message.isEmpty()
            ? QStringLiteral("select raise(ignore)")
            : QStringLiteral("select raise(abort, '%1')").arg(QString(message).replace('\'', QStringLiteral("''")));
        return db.exec(QStringLiteral("create trigger %1 before %2 on %3 begin %4; end").arg(name, event, table, action));
    }
    const QString body = message.isEmpty()
        ? QStringLiteral("return null;")
        : QStringLiteral("raise exception '%1';").arg(QString(message).replace('\'', QStringLiteral("''")));
    return db.exec(QStringLiteral("create function %1_refusal() returns trigger language plpgsql as $$ begin %2 end $$")
                       .arg(name, body))
        && db.exec(QStringLiteral("create trigger %1 before %2 on %3 for each row execute function %1_refusal()")
                       .arg(name, event, table));
}

bool refuseChangesWhen(const Database &db, const QString &name, const QString &event, const QString &table,
                       const QString &condition, const QString &message, bool endsTransaction)
{
    const QString text = QString(message).replace('\'', QStringLiteral("''"));
    if (!db.isShared()) {
        return db.exec(QStringLiteral("create trigger %1 before %2 on %3 when %4 begin select raise(%5, '%6'); end")
                           .arg(name, event, table, condition,
                                endsTransaction ? QStringLiteral("rollback") : QStringLiteral("abort"), text));
    }
    const QString body = QStringLiteral("begin if %1 then raise exception using message = '%2', errcode = '%3'; end if;"
                                        " if tg_op = 'DELETE' then return old; end if; return new; end")
                             .arg(condition, text, endsTransaction ? QStringLiteral("disk_full") : QStringLiteral("P0001"));
    return db.exec(QStringLiteral("create function %1_refusal() returns trigger language plpgsql as $$ %2 $$")
                       .arg(name, body))
        && db.exec(QStringLiteral("create trigger %1 before %2 on %3 for each row execute function %1_refusal()")
                       .arg(name, event, table));
}

bool dropRefusal(const Database &db, const QString &name, const QString &table)
{
    if (!db.isShared())
        return db.exec(QStringLiteral("drop trigger %1").arg(name));
    return db.exec(QStringLiteral("drop trigger %1 on %2").arg(name, table))
        && db.exec(QStringLiteral("drop function %1_refusal()").arg(name));
}

void SharedDatabaseEnvironment::SetUp()
{
    if (!testsOnSharedDatabase())
        return;
    if (serverAddress().isEmpty())
        GTEST_SKIP() << "no PostgreSQL server for the tests (BILLPRINT_TEST_PG_URL is not set)";
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        GTEST_SKIP() << "Qt's PostgreSQL driver is not installed";
    AdminConnection admin;
    if (!admin.error().isEmpty())
        GTEST_SKIP() << "the PostgreSQL server for the tests does not answer: " << admin.error().toStdString();
}

} // namespace billprint::test
