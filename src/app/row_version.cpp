#include "app/row_version.h"

#include "app/alert.h"
#include "app/database.h"

#include <QSqlQuery>

namespace billprint {

namespace {

// Reads what `expression` gives for the row into `value`: invalid when
// there is no row. False when the row could not be read, with the
// database's message in `error`: on PostgreSQL a failed statement ends the
// transaction, so the caller must stop there and report this message.
bool readStoredVersion(const Database &db, const VersionedRow &row, QVariant *value, QString *error,
                       const QString &expression = QStringLiteral("coalesce(RowVersion, 0)"))
{
    QSqlQuery q(db.connection());
    if (!db.run(q,
                QStringLiteral("select %1 from %2 where %3 = ?")
                    .arg(expression, quoteIdentifier(row.table), quoteIdentifier(row.keyColumn)),
                {row.key}, error))
        return false;
    *value = q.next() ? q.value(0) : QVariant();
    return true;
}

} // namespace

VersionStep raiseRowVersion(const Database &db, const VersionedRow &row, int readVersion, bool overwrite,
                            int *newVersion, QString *error)
{
    // Data of an earlier version, not upgraded yet, has no versions: its
    // rows are written as they always were.
    QVariant version;
    if (!db.columnNames(row.table).contains(kRowVersionColumn, Qt::CaseInsensitive)) {
        if (!readStoredVersion(db, row, &version, error, QStringLiteral("1")))
            return VersionStep::Failed;
        return version.isValid() ? VersionStep::Raised : VersionStep::NoRow;
    }
    QString sql = QStringLiteral("update %1 set %2 = coalesce(%2, 0) + 1 where %3 = ?")
                      .arg(quoteIdentifier(row.table), kRowVersionColumn, quoteIdentifier(row.keyColumn));
    QVariantList values{row.key};
    if (!overwrite) {
        sql += QStringLiteral(" and coalesce(%1, 0) = ?").arg(kRowVersionColumn);
        values << readVersion;
    }
    int rows = 0;
    if (!db.exec(sql, values, error, &rows))
        return VersionStep::Failed;
    if (!readStoredVersion(db, row, &version, error))
        return VersionStep::Failed;
    if (rows == 1 && !version.isValid()) {
        if (error)
            *error = QStringLiteral("无法读取记录版本：") + row.table;
        return VersionStep::Failed;
    }
    if (rows == 1) {
        if (newVersion)
            *newVersion = version.toInt();
        return VersionStep::Raised;
    }
    return version.isValid() ? VersionStep::ChangedElsewhere : VersionStep::NoRow;
}

RowSave saveAskingBeforeOverwrite(const std::function<RowSave(bool overwrite)> &save)
{
    const RowSave first = save(false);
    if (first != RowSave::ChangedElsewhere)
        return first;
    if (!askYesNo(kChangedElsewhereQuestion, QStringLiteral("提示")))
        return RowSave::ChangedElsewhere;
    return save(true);
}

} // namespace billprint
