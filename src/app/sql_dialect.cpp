#include "app/sql_dialect.h"

#include <QRegularExpression>

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

QString SqlDialect::storedTableName(const QString &table) const
{
    return m_engine == SqlEngine::Postgres ? table.toLower() : table;
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

QString SqlDialect::likeIgnoringCase(const QString &expression) const
{
    // PostgreSQL's LIKE tells letter case apart; ILIKE is its blind form.
    const QString op = m_engine == SqlEngine::Postgres ? QStringLiteral("ilike") : QStringLiteral("like");
    return QStringLiteral("%1 %2 ? escape '\\'").arg(expression, op);
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

QString SqlDialect::number(const QString &expression) const
{
    if (m_engine == SqlEngine::Postgres)
        return QStringLiteral("billprint_number(%1)").arg(expression);
    return QStringLiteral("cast(%1 as real)").arg(expression);
}

QString SqlDialect::storedOrder() const
{
    return m_engine == SqlEngine::Postgres ? QStringLiteral("ctid") : QStringLiteral("rowid");
}

QString SqlDialect::isSameAs(const QString &expression) const
{
    if (m_engine == SqlEngine::Postgres)
        return expression + QStringLiteral(" is not distinct from ?");
    return expression + QStringLiteral(" IS ?");
}

QString SqlDialect::beginTransaction() const
{
    // PostgreSQL locks rows as they are written; what must not be
    // interleaved (numbers handed out, versions checked) is written with
    // conditions that make the second writer wait or find the change.
    return m_engine == SqlEngine::Postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE");
}

namespace {

// Lower-cases the ASCII letters of every double-quoted name outside
// string literals; other letters (the Chinese column names) have no case.
QString foldQuotedNames(const QString &sql)
{
    QString out = sql;
    QChar quote;
    for (int i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        if (quote.isNull()) {
            if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
                quote = c;
            continue;
        }
        if (c == quote) {
            quote = QChar();
            continue;
        }
        if (quote == QLatin1Char('"') && c.unicode() < 128)
            out[i] = c.toLower();
    }
    return out;
}

} // namespace

QString SqlDialect::adaptStatement(const QString &sql) const
{
    if (m_engine != SqlEngine::Postgres)
        return sql;
    return foldQuotedNames(sql);
}

QString SqlDialect::adaptSchemaScript(const QString &script) const
{
    if (m_engine != SqlEngine::Postgres)
        return script;
    static const QRegularExpression autoIncrement(
        QStringLiteral("\\bINTEGER\\s+PRIMARY\\s+KEY\\s+AUTOINCREMENT\\b"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression noCase(QStringLiteral("(\"[^\"]+\"|[\\w.]+)\\s+COLLATE\\s+NOCASE\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression realCast(QStringLiteral("\\bcast\\s*\\(\\s*(\"[^\"]+\"|[\\w.]+)\\s+as\\s+real\\s*\\)"),
                                             QRegularExpression::CaseInsensitiveOption);
    // SQLite keeps any text in any column; the shared database must take
    // what a desk's file holds, so declared lengths and dates are text and
    // real numbers keep their precision.
    static const QRegularExpression varchar(QStringLiteral("\\b(VARCHAR|CHAR|NVARCHAR)\\s*\\(\\s*\\d+\\s*\\)"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression dateType(QStringLiteral("(\\s)(DATETIME|DATE)(\\s*[,)\\n]|\\s+DEFAULT)"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression realType(QStringLiteral("(\\s)(REAL|DOUBLE|FLOAT)(\\s*[,)\\n]|\\s+DEFAULT)"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression blobType(QStringLiteral("(\\s)BLOB\\b"), QRegularExpression::CaseInsensitiveOption);
    QString text = script;
    text.replace(autoIncrement, QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
    text.replace(noCase, QStringLiteral("lower(\\1)"));
    text.replace(realCast, QStringLiteral("billprint_number(\\1)"));
    text.replace(varchar, QStringLiteral("TEXT"));
    text.replace(dateType, QStringLiteral("\\1TEXT\\3"));
    text.replace(realType, QStringLiteral("\\1DOUBLE PRECISION\\3"));
    text.replace(blobType, QStringLiteral("\\1BYTEA"));
    return foldQuotedNames(text);
}

QStringList SqlDialect::schemaPrelude() const
{
    if (m_engine != SqlEngine::Postgres)
        return {};
    // The leading number of a text, 0 without one: how SQLite reads an
    // amount text as a number ("1,234" is 1, "" is 0). Immutable, so the
    // history can index it. A plain number, as the program writes amounts,
    // is read by a cast: the pattern with its groups costs six times as
    // much, and a sum reads every row.
    return {QStringLiteral(
        "create or replace function billprint_number(value text) returns double precision"
        " language sql immutable parallel safe as $$"
        " select case when value ~ '^[0-9]+(\\.[0-9]+)?$' then value::double precision"
        " else coalesce((substring(value from '^\\s*([+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?)'))"
        "::double precision, 0) end $$")};
}

QString SqlDialect::syncIdSequences() const
{
    if (m_engine != SqlEngine::Postgres)
        return QString();
    // Every identity column of our schema: its sequence continues after
    // the largest id stored (or starts at 1 in an empty table).
    return QStringLiteral(
        "do $$ declare c record; begin"
        " for c in select table_name, column_name from information_schema.columns"
        "  where table_schema = current_schema() and is_identity = 'YES' loop"
        "  execute format('select setval(pg_get_serial_sequence(%L, %L), coalesce(max(%I), 0) + 1, false) from %I',"
        "   c.table_name, c.column_name, c.column_name, c.table_name);"
        " end loop; end $$");
}

} // namespace billprint
