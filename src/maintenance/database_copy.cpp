#include "maintenance/database_copy.h"

#include "addressbook/person.h"
#include "app/database.h"
#include "bills/bill_family.h"
#include "templates/template_picture_store.h"

#include <QSqlError>
#include <QSqlQuery>

namespace billprint {

namespace {

QString columnList(const QStringList &columns)
{
    QStringList quoted;
    for (const QString &column : columns)
        quoted << quoteIdentifier(column);
    return quoted.join(QStringLiteral(", "));
}

qint64 rowCount(const Database &db, const QString &table)
{
    const QVariant count = db.scalar(QStringLiteral("select count(*) from ") + quoteIdentifier(table));
    return count.isValid() ? count.toLongLong() : -1;
}

// `name` in `names`, letter case ignored (PostgreSQL keeps our names in
// lower case, SQLite as the scripts wrote them); empty when missing.
QString findName(const QStringList &names, const QString &name)
{
    for (const QString &candidate : names)
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    return QString();
}

QStringList missingFrom(const QStringList &names, const QStringList &others)
{
    QStringList missing;
    for (const QString &name : names)
        if (findName(others, name).isEmpty())
            missing << name;
    return missing;
}

// The table's name for messages: as the scripts spell it (the SQLite
// side), not folded to lower case by the server.
QString shownName(const QString &sourceTable, const QString &targetTable)
{
    return sourceTable != sourceTable.toLower() ? sourceTable : targetTable;
}

} // namespace

QStringList ownTables(const Database &db)
{
    const QString versionTable = db.dialect().schemaVersionTable();
    QStringList tables;
    for (const QString &table : db.connection().tables(QSql::Tables)) {
        // Tables of other schemas come as schema.table; the engine's own
        // bookkeeping (sqlite_sequence) is not data.
        if (table.contains(QLatin1Char('.')) || table.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive)
            || (!versionTable.isEmpty() && table.compare(versionTable, Qt::CaseInsensitive) == 0))
            continue;
        tables << table;
    }
    tables.sort(Qt::CaseInsensitive);
    return tables;
}

bool holdsBillsOrUnits(const Database &db)
{
    QStringList tables;
    for (const BillFamilyInfo *family : {&BillFamilyInfo::cheque(), &BillFamilyInfo::depositSlip(),
                                         &BillFamilyInfo::cashSlip(), &BillFamilyInfo::waybill()})
        tables << family->historyTable;
    tables << kPersonTable;
    for (const QString &table : tables)
        if (db.tableExists(table) && rowCount(db, table) != 0)
            return true;
    return false;
}

QList<DatabaseCopy::TablePlan> DatabaseCopy::plan(QStringList *log) const
{
    const QStringList sourceTables = ownTables(m_source);
    const QStringList targetTables = ownTables(m_target);
    for (const QString &table : missingFrom(sourceTables, targetTables))
        *log << QStringLiteral("left out: table %1 (the target has no such table)").arg(table);
    QList<TablePlan> plans;
    for (const QString &targetTable : targetTables) {
        const QString sourceTable = findName(sourceTables, targetTable);
        if (sourceTable.isEmpty()) {
            *log << QStringLiteral("kept as delivered: table %1 (the source has no such table)").arg(targetTable);
            continue;
        }
        TablePlan table{sourceTable, targetTable, {}, {}};
        const QStringList sourceColumns = m_source.columnNames(sourceTable);
        const QStringList targetColumns = m_target.columnNames(targetTable);
        for (const QString &column : targetColumns) {
            const QString sourceColumn = findName(sourceColumns, column);
            if (sourceColumn.isEmpty())
                continue;
            table.sourceColumns << sourceColumn;
            table.targetColumns << column;
        }
        if (const QStringList left = missingFrom(sourceColumns, targetColumns); !left.isEmpty())
            *log << QStringLiteral("left out: %1 columns the target lacks: %2").arg(targetTable, left.join(", "));
        if (const QStringList empty = missingFrom(targetColumns, sourceColumns); !empty.isEmpty())
            *log << QStringLiteral("left empty: %1 columns the source lacks: %2").arg(targetTable, empty.join(", "));
        plans << table;
    }
    return plans;
}

bool DatabaseCopy::copyTable(const TablePlan &table, QString *error) const
{
    auto failed = [&](const QSqlQuery &q) {
        *error = QStringLiteral("table %1: %2").arg(shownName(table.sourceTable, table.targetTable),
                                                    q.lastError().text().trimmed());
        return false;
    };
    QString deleteError;
    if (!m_target.exec(QStringLiteral("delete from ") + quoteIdentifier(table.targetTable), {}, &deleteError)) {
        *error = QStringLiteral("table %1: %2").arg(shownName(table.sourceTable, table.targetTable), deleteError.trimmed());
        return false;
    }
    if (table.targetColumns.isEmpty())
        return true;
    QSqlQuery read = m_source.prepare(QStringLiteral("select %1 from %2")
                                          .arg(columnList(table.sourceColumns), quoteIdentifier(table.sourceTable)));
    read.setForwardOnly(true);
    if (!read.exec())
        return failed(read);
    QStringList marks;
    for (qsizetype i = 0; i < table.targetColumns.size(); ++i)
        marks << QStringLiteral("?");
    // Prepared once; each row only binds its values.
    QSqlQuery write = m_target.prepare(QStringLiteral("insert into %1 (%2) values (%3)")
                                           .arg(quoteIdentifier(table.targetTable), columnList(table.targetColumns),
                                                marks.join(QStringLiteral(", "))));
    while (read.next()) {
        for (int i = 0; i < table.targetColumns.size(); ++i)
            write.bindValue(i, read.value(i));
        if (!write.exec())
            return failed(write);
    }
    if (read.lastError().isValid())
        return failed(read);
    return true;
}

bool DatabaseCopy::verifyCount(const TablePlan &table, QString *error) const
{
    const qint64 expected = rowCount(m_source, table.sourceTable);
    const qint64 copied = rowCount(m_target, table.targetTable);
    if (expected >= 0 && copied == expected)
        return true;
    *error = QStringLiteral("table %1: %2 rows copied, the source holds %3")
                 .arg(shownName(table.sourceTable, table.targetTable))
                 .arg(copied)
                 .arg(expected);
    return false;
}

bool DatabaseCopy::run(QStringList *log, QString *error) const
{
    const QList<TablePlan> plans = plan(log);
    return m_target.transaction([&] {
        for (const TablePlan &table : plans) {
            if (!copyTable(table, error))
                return false;
        }
        // The rows came with their ids: new rows continue after them.
        if (!m_target.syncIdSequences(error))
            return false;
        for (const TablePlan &table : plans) {
            if (!verifyCount(table, error))
                return false;
            *log << QStringLiteral("copied: %1, %2 rows")
                        .arg(shownName(table.sourceTable, table.targetTable))
                        .arg(rowCount(m_target, table.targetTable));
        }
        return true;
    }, error);
}

bool DatabaseCopy::publishDeskPictures(const QString &imageFolder, QStringList *log, QString *error) const
{
    TemplatePictureStore store(m_target, imageFolder);
    store.setShared(true);
    QStringList missing;
    if (!store.publishAll(&missing, error))
        return false;
    for (const QString &name : missing)
        *log << QStringLiteral("left out: picture %1 (not in %2)").arg(name, imageFolder);
    return true;
}

bool DatabaseCopy::fetchPicturesInto(const QString &imageFolder, QStringList *log, QString *error) const
{
    TemplatePictureStore store(m_source, imageFolder);
    store.setShared(true);
    QSqlQuery names = m_source.prepare(QStringLiteral("select FileName from TemplatePicture"));
    if (!names.exec()) {
        *error = names.lastError().text();
        return false;
    }
    int fetched = 0;
    while (names.next()) {
        if (!store.ensureLocal(names.value(0).toString(), error))
            return false;
        ++fetched;
    }
    *log << QStringLiteral("pictures: %1 written to %2").arg(fetched).arg(imageFolder);
    return true;
}


} // namespace billprint
