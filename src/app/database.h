#pragma once

#include "app/database_url.h"
#include "app/sql_dialect.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

namespace billprint {

// Owns the program's one connection to its database: the SQLite file
// Data/EPData.ini of the data root, or a PostgreSQL database an office
// shares (openShared).
//
// A file that does not exist yet (or is empty) is created with the
// delivered schema and first rows. A database this program created earlier
// is brought up to the current schema version, each step in a transaction.
// A database that an earlier version wrote (tables, but no schema version
// of ours) is opened as it is; the data upgrade brings it to the current
// schema through adoptEarlierVersionData().
class Database
{
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens the database at `path`. On failure returns null and sets
    // `error` to a message for the user; the file is then left untouched.
    static std::unique_ptr<Database> open(const QString &path, QString *error);
    // Opens the shared database at `url`. With `create`, a database
    // without our tables gets the schema and the delivered rows; without,
    // such a database is refused (a wrong address must not gain tables).
    static std::unique_ptr<Database> openShared(const DatabaseUrl &url, bool create, QString *error);

    // The scripts that build the delivered database, in version order.
    static QStringList migrationScripts();
    static int latestSchemaVersion();

    QSqlDatabase connection() const;
    // The statement forms of the engine behind the connection.
    const SqlDialect &dialect() const { return m_dialect; }
    // The file, or the shared database's address.
    const QString &path() const { return m_path; }
    bool isShared() const { return m_dialect.engine() == SqlEngine::Postgres; }
    bool wasCreated() const { return m_created; }
    int schemaVersion() const;

    // Tables, but no schema version of ours: data of an earlier version.
    bool holdsEarlierVersionData() const;
    // Runs this program's schema scripts on data of an earlier version
    // (after the data upgrade has added the tables and columns they need)
    // and marks it with the latest schema version. Scripts holding the
    // line "-- skipped by the data upgrade:" (the delivered rows of a new
    // database) only advance the version. Each script is a savepoint, so
    // inside the caller's transaction a failure undoes everything.
    bool adoptEarlierVersionData(QString *error) const;

    // A query on this connection with `sql` prepared; values are bound
    // with addBindValue/bindValue by the caller.
    QSqlQuery prepare(const QString &sql) const;
    // Prepares, binds `values` in order and executes. `error` receives the
    // database message on failure.
    bool exec(const QString &sql, const QVariantList &values = {}, QString *error = nullptr,
              int *rowsAffected = nullptr) const;
    // Prepares `sql` on `q` (a query on this connection), binds `values`
    // in order and executes. `error` receives the database message on
    // failure.
    bool run(QSqlQuery &q, const QString &sql, const QVariantList &values = {}, QString *error = nullptr) const;
    // First column of the first row, or an invalid QVariant.
    QVariant scalar(const QString &sql, const QVariantList &values = {}) const;

    // Runs `work` in one transaction: committed when it returns true,
    // rolled back when it returns false or the commit fails.
    bool transaction(const std::function<bool()> &work, QString *error = nullptr) const;

    bool tableExists(const QString &table) const;
    QStringList columnNames(const QString &table) const;

    // The id of the row `insert` (an executed insert on this connection)
    // made; an invalid QVariant when there is none.
    QVariant lastInsertedId(const QSqlQuery &insert) const;
    // After a table was emptied: its next row gets id 1 again. Run it in
    // the transaction that emptied the table.
    bool resetIdSequence(const QString &table, const QString &idColumn, QString *error = nullptr) const;

    // After rows were written with their own ids: the next id of every
    // table follows the largest stored one.
    bool syncIdSequences(QString *error = nullptr) const;

private:
    explicit Database(QString path);
    bool openConnection(QString *error);
    bool openServerConnection(const DatabaseUrl &url, QString *error);
    // A shared database whose server went away or restarted: one new
    // connection is tried before the statement is given up.
    bool reconnectAfter(const QSqlQuery &failed) const;
    bool prepareFor(QSqlQuery &q, const QString &sql) const;
    bool migrate(bool fresh, QString *error);
    bool applyScripts(int current, bool adopting, QString *error) const;
    bool runScript(const QString &script, QString *error) const;
    bool writeSchemaVersion(int version, QString *error) const;

    QString m_path;
    QString m_connectionName;
    SqlDialect m_dialect{SqlEngine::Sqlite};
    bool m_created = false;
    mutable int m_transactionDepth = 0;
};

// Splits an SQL script into statements at semicolons outside quotes and
// comments. Comments are dropped.
QStringList splitSqlScript(const QString &script);

// Double-quotes a table or column name for use in statement text.
QString quoteIdentifier(const QString &name);

} // namespace billprint
