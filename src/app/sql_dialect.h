#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace billprint {

enum class SqlEngine { Sqlite, Postgres };

// The statement texts that differ between the engines the program keeps
// its data in: the embedded SQLite file of one desk, or a PostgreSQL
// database an office shares. Everything else the program writes is plain
// SQL both understand; a statement that needs one of these pieces asks
// the Database's dialect instead of spelling out one engine's form.
//
// A statement with the values its placeholders take, in order.
struct SqlStatement
{
    QString text;
    QVariantList values;
};

class SqlDialect
{
public:
    explicit SqlDialect(SqlEngine engine) : m_engine(engine) {}
    // The dialect of a Qt driver name ("QSQLITE", "QPSQL"); any other
    // driver is refused with an empty result in `known`.
    static SqlDialect forDriver(const QString &driverName, bool *known = nullptr);

    SqlEngine engine() const { return m_engine; }
    QString driverName() const;

    // The version mark of our schema. SQLite keeps it in the file header
    // (user_version); PostgreSQL in a one-row table (schemaVersionTable),
    // missing in a database we have not built yet: version 0 then.
    QString schemaVersionRead() const;
    QList<SqlStatement> schemaVersionWrite(int version) const;
    // The table holding the version mark; empty where the engine keeps it
    // elsewhere.
    QString schemaVersionTable() const;

    // How many tables the database holds.
    QString tableCount() const;
    // How many tables are named like `table` (letter case ignored).
    SqlStatement tableNamed(const QString &table) const;
    // The column names of `table`, in order, one a row.
    SqlStatement columnNames(const QString &table) const;
    // A table name of ours as the engine keeps it, for the Qt calls that
    // look a table up by the name given (QSqlTableModel::setTable):
    // PostgreSQL folded our unquoted names to lower case.
    QString storedTableName(const QString &table) const;

    // Makes the next row of `table`, once emptied, get id 1 again.
    SqlStatement resetIdSequence(const QString &table, const QString &idColumn) const;
    // The query for the id the last insert on this connection made, for
    // engines whose Qt driver does not report it; empty when it does.
    QString lastInsertedIdQuery() const;

    // `expression` compared with one bound value, ignoring letter case,
    // as the address book, currencies and history always compared names.
    QString equalsIgnoringCase(const QString &expression) const;

    // `expression` holding one bound LIKE pattern (escaped with '\'),
    // ignoring letter case as SQLite's LIKE always did.
    QString likeIgnoringCase(const QString &expression) const;

    // The day a stored date text names as one number yyyymmdd, for
    // "2024-03-05" as this program writes dates and "2024/3/5" as earlier
    // versions did, either possibly followed by a time.
    QString dayNumber(const QString &expression) const;

    // The number a stored amount text holds, as SQLite's cast to real
    // reads it: its leading number, 0 for a text without one. The history
    // indexes are built on this very expression.
    QString number(const QString &expression) const;

    // The order rows were stored in, as near as the engine keeps it: the
    // last tie-break of lists whose table has no id of its own.
    QString storedOrder() const;

    // `expression` equal to one bound value, null equal to null.
    QString isSameAs(const QString &expression) const;

    // The statement that opens the outermost transaction. SQLite takes the
    // write lock up front, so two programs never interleave their writes.
    QString beginTransaction() const;

    // A statement of ours in this engine's form. PostgreSQL folds unquoted
    // names to lower case, and our tables were created with unquoted
    // names, so a quoted name is folded the same way.
    QString adaptStatement(const QString &sql) const;
    // A schema script (written in SQLite's form) in this engine's form:
    // auto-increment keys become identity columns, letter-case-blind index
    // columns lower(), amounts read as numbers number().
    QString adaptSchemaScript(const QString &script) const;
    // Run once before the first script on a new database: the functions
    // the scripts and statements rely on.
    QStringList schemaPrelude() const;
    // After rows were written with their own ids (the delivered rows, a
    // copy of a desk's data): the id each table hands out next follows the
    // largest one stored. Empty where the engine does it itself.
    QString syncIdSequences() const;

private:
    SqlEngine m_engine;
};

} // namespace billprint
