#include "app/sql_dialect.h"

namespace billprint {

namespace {

const QString kSqliteDriver = QStringLiteral("QSQLITE");
const QString kPostgresDriver = QStringLiteral("QPSQL");

// The tables of the schema the connection works in (PostgreSQL).
const QString kOwnTables = QStringLiteral("from information_schema.tables where table_schema = current_schema()"
                                          " and table_type = 'BASE TABLE'");

} // namespace

SqlDialect SqlDialect::forDriver(const QString &driverName, bool *known)
{
    const bool postgres = driverName == kPostgresDriver;
    if (known)
        *known = postgres || driverName == kSqliteDriver;
    return SqlDialect(postgres ? SqlEngine::Postgres : SqlEngine::Sqlite);
}

QString SqlDialect::driverName() const
{
    return m_engine == SqlEngine::Postgres ? kPostgresDriver : kSqliteDriver;
}

QString SqlDialect::schemaVersionTable() const
{
    return m_engine == SqlEngine::Postgres ? QStringLiteral("billprint_schema_version") : QString();
}

QString SqlDialect::schemaVersionRead() const
{
    if (m_engine == SqlEngine::Postgres)
        return QStringLiteral("select coalesce(max(version), 0) from billprint_schema_version");
    return QStringLiteral("PRAGMA user_version");
}

QList<SqlStatement> SqlDialect::schemaVersionWrite(int version) const
{
    if (m_engine == SqlEngine::Postgres) {
        return {{QStringLiteral("create table if not exists billprint_schema_version (version integer not null)"), {}},
                {QStringLiteral("delete from billprint_schema_version"), {}},
                {QStringLiteral("insert into billprint_schema_version (version) values (?)"), {version}}};
    }
    // A pragma takes no bound value; the number is one of our own scripts'.
    return {{QStringLiteral("PRAGMA user_version = %1").arg(version), {}}};
}

QString SqlDialect::tableCount() const
{
    if (m_engine == SqlEngine::Postgres)
        return QStringLiteral("select count(*) ") + kOwnTables;
    return QStringLiteral("select count(*) from sqlite_master where type='table'");
}

SqlStatement SqlDialect::tableNamed(const QString &table) const
{
    if (m_engine == SqlEngine::Postgres)
        return {QStringLiteral("select count(*) ") + kOwnTables + QStringLiteral(" and lower(table_name) = lower(?)"),
                {table}};
    return {QStringLiteral("select count(*) from sqlite_master where type='table' and name=? collate nocase"), {table}};
}

SqlStatement SqlDialect::columnNames(const QString &table) const
{
    if (m_engine == SqlEngine::Postgres)
        return {QStringLiteral("select column_name from information_schema.columns"
                               " where table_schema = current_schema() and lower(table_name) = lower(?)"
                               " order by ordinal_position"),
                {table}};
    return {QStringLiteral("select name from pragma_table_info(?) order by cid"), {table}};
}

SqlStatement SqlDialect::resetIdSequence(const QString &table, const QString &idColumn) const
{
    if (m_engine == SqlEngine::Postgres) {
        // Unquoted names fold to lower case in PostgreSQL; the table name
        // is read as an identifier, the column name as it is written.
        return {QStringLiteral("select setval(pg_get_serial_sequence(?, ?), 1, false)"),
                {table, idColumn.toLower()}};
    }
    return {QStringLiteral("delete from sqlite_sequence where name=?"), {table}};
}

QString SqlDialect::lastInsertedIdQuery() const
{
    // Qt's PostgreSQL driver reports an object id, which our tables do
    // not have; the session's last sequence value is the new row's id.
    return m_engine == SqlEngine::Postgres ? QStringLiteral("select lastval()") : QString();
}

QString SqlDialect::equalsIgnoringCase(const QString &expression) const
{
    if (m_engine == SqlEngine::Postgres)
        return QStringLiteral("lower(%1) = lower(?)").arg(expression);
    return expression + QStringLiteral(" = ? collate nocase");
}

QString SqlDialect::dayNumber(const QString &expression) const
{
    if (m_engine == SqlEngine::Postgres) {
        // A text that names no day gives null, which no range holds.
        return QStringLiteral("(select m[1]::integer * 10000 + m[2]::integer * 100 + m[3]::integer"
                              " from regexp_match(replace(%1, '/', '-'), '^ *([0-9]+)-([0-9]+)-([0-9]+)') as r(m))")
            .arg(expression);
    }
    // SQLite reads the leading number of a text cast to integer, so year,
    // month and day are the numbers after 0, 1 and 2 dashes.
    const QString dashed = QStringLiteral("replace(%1, '/', '-')").arg(expression);
    const QString afterYear = QStringLiteral("substr(%1, 6)").arg(dashed);
    return QStringLiteral("(cast(%1 as integer) * 10000 + cast(%2 as integer) * 100"
                          " + cast(substr(%1, 6 + instr(%2, '-')) as integer))")
        .arg(dashed, afterYear);
}

} // namespace billprint
