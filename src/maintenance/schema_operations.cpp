#include "maintenance/schema_operations.h"

#include "app/database.h"
#include "app/lookups.h"
#include "app/system_settings.h"
#include "batch/match_column_store.h"
#include "maintenance/upgrade_progress.h"

#include <QSqlError>
#include <QSqlQuery>

namespace billprint {

namespace {

const QString kMatchColumnTable = QStringLiteral(
    "create table %1 (Id INTEGER PRIMARY KEY AUTOINCREMENT, MatchType VARCHAR(50), ItemName VARCHAR(50), "
    "SourceName VARCHAR(200), ShowOrd INTEGER DEFAULT 0)");

} // namespace

SchemaOperations::SchemaOperations(const Database &db, UpgradeProgress *progress, QString schema)
    : m_db(db), m_progress(progress), m_schema(std::move(schema))
{
}

QString SchemaOperations::qualified(const QString &table) const
{
    return quoteIdentifier(m_schema) + QLatin1Char('.') + quoteIdentifier(table);
}

bool SchemaOperations::run(const QString &sql, const QVariantList &values, QString *error) const
{
    return m_db.exec(sql, values, error);
}

bool SchemaOperations::fail(const QString &message)
{
    m_lastError = message;
    return false;
}

void SchemaOperations::grow(int step, const QString &message) const
{
    if (m_progress)
        m_progress->ProgressBarGrow(step, message);
}

bool SchemaOperations::tableExists(const QString &table) const
{
    return m_db.scalar(QStringLiteral("select count(*) from %1.sqlite_master where type='table' and name=? "
                                      "collate nocase")
                           .arg(quoteIdentifier(m_schema)),
                       {table})
               .toInt()
        > 0;
}

bool SchemaOperations::aIFExistsColumn(const QString &table, const QString &column) const
{
    QSqlQuery q(m_db.connection());
    if (!q.exec(QStringLiteral("PRAGMA %1.table_info(%2)").arg(quoteIdentifier(m_schema), quoteIdentifier(table))))
        return false;
    while (q.next()) {
        if (q.value(1).toString().compare(column, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool SchemaOperations::aAddColumn(const QString &table, const QString &column, const QString &size,
                                  const QString &type)
{
    m_lastError.clear();
    const QString sqlType = TDBTable::ColumnSqlType(size, type);
    QString error = QStringLiteral("unsupported column type: ") + type;
    const bool ok = !sqlType.isEmpty()
        && run(QStringLiteral("alter table %1 ADD column %2 %3").arg(qualified(table), quoteIdentifier(column), sqlType),
               {}, &error);
    grow(1, QStringLiteral("升级表存储结构...") + table);
    return ok || fail(QStringLiteral("修改表结构(") + column + QStringLiteral(")错误,Error=") + error);
}

bool SchemaOperations::ensureColumn(const QString &table, const QString &column, const QString &size,
                                    const QString &type)
{
    return aIFExistsColumn(table, column) || aAddColumn(table, column, size, type);
}

bool SchemaOperations::CreateTableIFNotExists(const QString &table, const QString &createStatement)
{
    m_lastError.clear();
    if (tableExists(table))
        return true;
    QString error;
    if (run(createStatement, {}, &error))
        return true;
    return fail(QStringLiteral("创建表格失败") + table + QLatin1Char(' ') + error);
}

bool SchemaOperations::CreateMatchColumnTableIFNotExists()
{
    const QString table = QStringLiteral("MatchColumn");
    if (tableExists(table))
        return true;
    return CreateTableIFNotExists(table, kMatchColumnTable.arg(qualified(table))) && writeMatchColumnDefaults();
}

bool SchemaOperations::resetMatchColumnDefaults()
{
    return CreateMatchColumnTableIFNotExists() && m_db.transaction([this] {
        QString error;
        if (!run(QStringLiteral("delete from %1").arg(qualified(QStringLiteral("MatchColumn"))), {}, &error))
            return fail(QStringLiteral("MatchColumn表格初始化数据失败!") + error);
        return writeMatchColumnDefaults();
    });
}

bool SchemaOperations::writeMatchColumnDefaults()
{
    const QString sql = QStringLiteral("insert into %1 (MatchType, ItemName, SourceName) values (?, ?, ?)")
                            .arg(qualified(QStringLiteral("MatchColumn")));
    return m_db.transaction([&] {
        for (const auto &[item, titles] : MatchColumnStore::defaultRows()) {
            QString error;
            if (!run(sql, {MatchColumnStore::scenario(), item, titles}, &error))
                return fail(QStringLiteral("MatchColumn表格初始化数据失败!") + error);
        }
        return true;
    });
}

bool SchemaOperations::initTypeFirstNameValue()
{
    m_lastError.clear();
    QSqlQuery q(m_db.connection());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select rowid, TypeName from %1 where TypeFirstName is null or TypeFirstName=''")
                    .arg(qualified(QStringLiteral("CKTypeTable")))))
        return fail(q.lastError().text());
    QList<std::pair<QVariant, QString>> named;
    while (q.next()) {
        const QString firstName = Lookups::firstNameFromFullName(q.value(1).toString());
        if (!firstName.isEmpty())
            named.append({q.value(0), firstName});
    }
    q.finish();
    for (const auto &[rowid, firstName] : named) {
        QString error;
        if (!run(QStringLiteral("update %1 set TypeFirstName=? where rowid=?").arg(qualified(QStringLiteral("CKTypeTable"))),
                 {firstName, rowid}, &error))
            return fail(error);
    }
    return true;
}

bool SchemaOperations::aInsertNameDictItemIFLost(const QString &family, const QString &label, const QString &type,
                                                 int showOrder, int printFlag, const QString &name)
{
    m_lastError.clear();
    const QString upper = name.toUpper();
    const QString table = qualified(QStringLiteral("NameDict"));
    QString error;
    QSqlQuery lookup(m_db.connection());
    bool ok = lookup.prepare(
        QStringLiteral("select count(*) from %1 where CheckTypeName=? and CtlName=? collate nocase").arg(table));
    lookup.addBindValue(family);
    lookup.addBindValue(upper);
    ok = ok && lookup.exec() && lookup.next();
    if (!ok)
        error = lookup.lastError().text();
    const int present = ok ? lookup.value(0).toInt() : 0;
    lookup.finish();
    if (ok && present == 0) {
        ok = run(QStringLiteral("insert into %1 (CheckTypeName, CtlName, CtlLabel, PrintItem, ShowOrd, CtlType) "
                                "values (?, ?, ?, ?, ?, ?)")
                     .arg(table),
                 {family, upper, label, printFlag, showOrder, type.isEmpty() ? QStringLiteral("Text") : type}, &error);
    }
    if (!ok)
        return fail(QStringLiteral("升级模型数据失败(") + family + QLatin1Char(',') + upper + QStringLiteral("):") + error);
    grow(1, QStringLiteral("升级单据模型..."));
    return true;
}

bool SchemaOperations::aUpdateColumnValue(const QString &table, const QString &column, const QString &condition,
                                          const QVariantList &conditionValues, const QString &type,
                                          const QVariant &value)
{
    m_lastError.clear();
    const QString kind = type.trimmed().toLower();
    QVariant bound;
    if (kind == QLatin1String("varchar") || kind == QLatin1String("text") || kind == QLatin1String("string"))
        bound = value.toString();
    else if (kind == QLatin1String("number") || kind == QLatin1String("integer"))
        bound = value.toLongLong();
    else if (kind == QLatin1String("numeric") || kind == QLatin1String("float"))
        bound = value.toDouble();
    else
        return fail(QStringLiteral("类型错误，不支持的类型-") + type);
    const QString where = condition.trimmed().isEmpty() ? QStringLiteral(" 1=1 ") : condition;
    QString error;
    if (!run(QStringLiteral("update %1 set %2=? where %3").arg(qualified(table), quoteIdentifier(column), where),
             QVariantList{bound} + conditionValues, &error))
        return fail(table + QStringLiteral("表升级数据失败.") + error);
    grow(5, table + QStringLiteral("升级数据"));
    return true;
}

bool SchemaOperations::CreateTemplateConfigTable(const QString &versionText)
{
    m_lastError.clear();
    const QString table = qualified(QStringLiteral("_Config"));
    QString error;
    if (!tableExists(QStringLiteral("_Config"))
        && !run(QStringLiteral("create table %1 (Id INTEGER PRIMARY KEY AUTOINCREMENT, DMName TEXT, DMValue TEXT, "
                               "CheckTypeId INTEGER)")
                    .arg(table),
                {}, &error))
        return fail(error);
    const QVariant first = m_db.scalar(
        QStringLiteral("select min(rowid) from %1 where DMName='version'").arg(table));
    const bool ok = first.isNull()
        ? run(QStringLiteral("insert into %1 (DMName, DMValue, CheckTypeId) values ('version', ?, 0)").arg(table),
              {versionText}, &error)
        : run(QStringLiteral("update %1 set DMValue=? where rowid=?").arg(table), {versionText, first}, &error);
    return ok || fail(error);
}

} // namespace billprint
