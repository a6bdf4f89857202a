#include "bills/bill_record.h"

#include "app/database.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace billprint {

QString billDateText(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

QDate parseBillDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QDate();
    QDate d = QDate::fromString(t.left(10), Qt::ISODate);
    if (d.isValid())
        return d;
    const QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
    if (dt.isValid())
        return dt.date();
    const QString datePart = t.section(QLatin1Char(' '), 0, 0);
    for (const char *format : {"yyyy/M/d", "yyyy-M-d", "yyyy.M.d"}) {
        d = QDate::fromString(datePart, QLatin1String(format));
        if (d.isValid())
            return d;
    }
    return QDate();
}

// ---- BillRecord -------------------------------------------------------

QString BillRecord::keyOf(const QString &column) const
{
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
        if (it.key().compare(column, Qt::CaseInsensitive) == 0)
            return it.key();
    return QString();
}

bool BillRecord::has(const QString &column) const
{
    return !keyOf(column).isEmpty();
}

QString BillRecord::text(const QString &column) const
{
    const QString key = keyOf(column);
    if (key.isEmpty())
        return QString();
    const QVariant &v = m_values[key];
    if (v.isNull())
        return QString();
    if (v.metaType().id() == QMetaType::QDate)
        return billDateText(v.toDate());
    return v.toString();
}

QDate BillRecord::date(const QString &column) const
{
    const QString key = keyOf(column);
    if (key.isEmpty())
        return QDate();
    const QVariant &v = m_values[key];
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate();
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return parseBillDate(v.toString());
}

void BillRecord::set(const QString &column, const QVariant &value)
{
    const QString key = keyOf(column);
    m_values.insert(key.isEmpty() ? column : key, value);
}

void BillRecord::remove(const QString &column)
{
    const QString key = keyOf(column);
    if (!key.isEmpty())
        m_values.remove(key);
}

BillRecord BillRecord::fromRow(const QSqlRecord &row)
{
    BillRecord r;
    for (int i = 0; i < row.count(); ++i) {
        const QString name = row.fieldName(i);
        if (name.compare(BillColumn::Serial, Qt::CaseInsensitive) == 0)
            r.serial = row.value(i).toInt();
        else
            r.m_values.insert(name, row.value(i));
    }
    return r;
}

// ---- BillRecordStore ----------------------------------------------------

BillRecordStore::BillRecordStore(const Database &db, QString table) : m_db(db), m_table(std::move(table)) {}

QString BillRecordStore::columnOf(const QString &name, const QStringList &columns) const
{
    for (const QString &c : columns)
        if (c.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return QString();
}

std::optional<BillRecord> BillRecordStore::first(const QString &where, const QVariant &value, QString *error) const
{
    QSqlQuery q = m_db.prepare(QStringLiteral("select * from %1 where %2 = ? order by %3 limit 1")
                                   .arg(quoteIdentifier(m_table), where, quoteIdentifier(BillColumn::Serial)));
    q.addBindValue(value);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    return BillRecord::fromRow(q.record());
}

std::optional<BillRecord> BillRecordStore::load(int serial, QString *error) const
{
    if (serial <= 0)
        return std::nullopt;
    return first(quoteIdentifier(BillColumn::Serial), serial, error);
}

std::optional<BillRecord> BillRecordStore::findByNumber(const QString &number, const QString &preferStatus,
                                                        QString *error) const
{
    QSqlQuery q = m_db.prepare(QStringLiteral("select * from %1 where %2 = ? order by case when %3 = ? then 0 else 1 end, %4 "
                                              "limit 1")
                                   .arg(quoteIdentifier(m_table), quoteIdentifier(BillColumn::Number),
                                        quoteIdentifier(BillColumn::Status), quoteIdentifier(BillColumn::Serial)));
    q.addBindValue(number);
    q.addBindValue(preferStatus);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    return BillRecord::fromRow(q.record());
}

QString BillRecordStore::takenMeanwhileMessage(const BillRecord &record)
{
    return QStringLiteral("票据号码“") + record.text(BillColumn::Number)
           + QStringLiteral("”已被其他用户使用，保存失败！");
}

bool BillRecordStore::rewrite(const BillRecord &record, const QStringList &names, const QVariantList &values,
                              QString *error) const
{
    if (names.isEmpty())
        return true;
    QStringList sets;
    for (const QString &n : names)
        sets << n + QStringLiteral(" = ?");
    QVariantList bound = values;
    bound << record.serial;
    QString sql = QStringLiteral("update %1 set %2 where %3 = ?")
                      .arg(quoteIdentifier(m_table), sets.join(QStringLiteral(", ")),
                           quoteIdentifier(BillColumn::Serial));
    if (!record.takenFromStatus.isEmpty()) {
        // Taking the row and marking it are one statement: a desk that
        // marked it first leaves nothing for this one to change.
        sql += QStringLiteral(" and %1 = ?").arg(quoteIdentifier(BillColumn::Status));
        bound << record.takenFromStatus;
    }
    int rows = 0;
    if (!m_db.exec(sql, bound, error, &rows))
        return false;
    return rows == 1;
}

BillSaveOutcome BillRecordStore::save(BillRecord &record, const Guard &guard, QString *message) const
{
    const QStringList columns = m_db.columnNames(m_table);
    if (columns.isEmpty()) {
        if (message)
            *message = QStringLiteral("找不到数据表") + m_table;
        return BillSaveOutcome::Failed;
    }
    QStringList names;
    QVariantList values;
    for (auto it = record.values().cbegin(); it != record.values().cend(); ++it) {
        const QString column = columnOf(it.key(), columns);
        if (column.isEmpty()) {
            // A column the table lacks is a programming error, never data to drop silently.
            if (message)
                *message = QStringLiteral("数据表") + m_table + QStringLiteral("没有字段") + it.key();
            return BillSaveOutcome::Failed;
        }
        names << quoteIdentifier(column);
        const QVariant &v = it.value();
        values << (v.metaType().id() == QMetaType::QDate ? QVariant(billDateText(v.toDate())) : v);
    }

    BillSaveOutcome outcome = BillSaveOutcome::Failed;
    QString why;
    const int serialBefore = record.serial;
    const bool committed = m_db.transaction(
        [&] {
            QString readError;
            const std::optional<BillRecord> stored = load(record.serial, &readError);
            if (!readError.isEmpty()) {
                why = readError;
                return false;
            }
            if (stored && guard) {
                const QString refusal = guard(*stored);
                if (!refusal.isEmpty()) {
                    why = refusal;
                    outcome = BillSaveOutcome::Refused;
                    return false;
                }
            }
            if (stored) {
                if (!rewrite(record, names, values, &why)) {
                    if (!why.isEmpty())
                        return false;
                    why = takenMeanwhileMessage(record);
                    outcome = BillSaveOutcome::Refused;
                    return false;
                }
                outcome = BillSaveOutcome::Updated;
                return true;
            }
            const QString sql =
                names.isEmpty()
                    ? QStringLiteral("insert into %1 default values").arg(quoteIdentifier(m_table))
                    : QStringLiteral("insert into %1 (%2) values (%3)")
                          .arg(quoteIdentifier(m_table), names.join(QStringLiteral(", ")),
                               QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
            QSqlQuery q = m_db.prepare(sql);
            for (const QVariant &v : values)
                q.addBindValue(v);
            if (!q.exec()) {
                why = q.lastError().text();
                return false;
            }
            const int serial = m_db.lastInsertedId(q).toInt();
            if (serial <= 0) {
                why = QStringLiteral("新记录没有流水号");
                return false;
            }
            record.serial = serial;
            outcome = BillSaveOutcome::Appended;
            return true;
        },
        &why);
    if (!committed) {
        record.serial = serialBefore;  // a rolled-back append has no row
        if (outcome != BillSaveOutcome::Refused)
            outcome = BillSaveOutcome::Failed;
        if (message)
            *message = why;
        return outcome;
    }
    return outcome;
}

} // namespace billprint
