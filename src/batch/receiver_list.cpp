#include "batch/receiver_list.h"

#include "app/database.h"

#include <QSqlError>
#include <QSqlQuery>

namespace billprint {

namespace {

const QString kTable = QStringLiteral("ReceiverList");

QString likePattern(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

const QStringList &ReceiverList::combinedFilters()
{
    static const QStringList list{QStringLiteral("联系人|全称|电话"), QStringLiteral("电话|手机"),
                                  QStringLiteral("省|市|镇区")};
    return list;
}

QStringList ReceiverList::columns() const
{
    if (m_columns.isEmpty())
        m_columns = m_db.columnNames(kTable);
    return m_columns;
}

bool ReceiverList::knownColumn(const QString &name, QString *error) const
{
    if (columns().contains(name, Qt::CaseInsensitive))
        return true;
    setError(error, QStringLiteral("没有这一列：") + name);
    return false;
}

bool ReceiverList::buildSelect(const ReceiverQuery &q, QString *sql, QVariantList *values, QString *error) const
{
    *sql = QStringLiteral("select * from ReceiverList where ");
    if (q.group.trimmed().isEmpty()) {
        *sql += QStringLiteral("(trim(\"批打分组\")='' or \"批打分组\" is null)");
    } else {
        *sql += QStringLiteral("\"批打分组\"=?");
        *values << q.group;
    }
    const QString key = q.key.trimmed();
    if (!key.isEmpty() && !q.filterColumns.isEmpty()) {
        QStringList pieces;
        for (const QString &column : q.filterColumns) {
            if (!knownColumn(column, error))
                return false;
            if (q.equals) {
                pieces << quoteIdentifier(column) + QStringLiteral("=?");
                *values << key;
            } else {
                pieces << m_db.dialect().likeIgnoringCase(quoteIdentifier(column));
                *values << likePattern(key);
            }
        }
        *sql += QStringLiteral(" and (") + pieces.join(QStringLiteral(" or ")) + QLatin1Char(')');
    }
    const QString order = q.orderColumn.isEmpty() ? QStringLiteral("ID") : q.orderColumn;
    if (!knownColumn(order, error))
        return false;
    *sql += QStringLiteral(" order by ") + quoteIdentifier(order)
            + (q.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    if (order.compare(QStringLiteral("ID"), Qt::CaseInsensitive) != 0)
        *sql += QStringLiteral(", ID ASC");  // a steady order among equal values
    return true;
}

bool ReceiverList::forEachRow(const ReceiverQuery &q, const std::function<bool(const QSqlRecord &)> &visit,
                              QString *error) const
{
    QString sql;
    QVariantList values;
    if (!buildSelect(q, &sql, &values, error))
        return false;
    QSqlQuery query = m_db.prepare(sql);
    query.setForwardOnly(true);
    for (const QVariant &v : values)
        query.addBindValue(v);
    if (!query.exec()) {
        setError(error, query.lastError().text());
        return false;
    }
    while (query.next()) {
        if (!visit(query.record()))
            break;
    }
    return true;
}

bool ReceiverList::query(const ReceiverQuery &q, QList<int> *ids, QString *error) const
{
    ids->clear();
    return forEachRow(q, [ids](const QSqlRecord &r) {
        ids->append(r.value(QStringLiteral("ID")).toInt());
        return true;
    }, error);
}

QSqlRecord ReceiverList::row(int id, QString *error) const
{
    QSqlQuery query = m_db.prepare(QStringLiteral("select * from ReceiverList where ID=?"));
    query.addBindValue(id);
    if (!query.exec()) {
        setError(error, query.lastError().text());
        return {};
    }
    return query.next() ? query.record() : QSqlRecord();
}

QHash<int, QSqlRecord> ReceiverList::rows(const QList<int> &ids, QString *error) const
{
    QHash<int, QSqlRecord> found;
    if (ids.isEmpty())
        return found;
    QStringList marks;
    for (qsizetype i = 0; i < ids.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery query =
        m_db.prepare(QStringLiteral("select * from ReceiverList where ID in (") + marks.join(QLatin1Char(',')) + ')');
    for (int id : ids)
        query.addBindValue(id);
    if (!query.exec()) {
        setError(error, query.lastError().text());
        return found;
    }
    found.reserve(ids.size());
    while (query.next())
        found.insert(query.value(QStringLiteral("ID")).toInt(), query.record());
    return found;
}

int ReceiverList::add(const QList<QPair<QString, QString>> &values, QString *error) const
{
    QStringList names;
    QStringList marks;
    QVariantList bound;
    for (const auto &[column, text] : values) {
        if (!knownColumn(column, error) || column.compare(QStringLiteral("ID"), Qt::CaseInsensitive) == 0) {
            setError(error, QStringLiteral("没有这一列：") + column);
            return 0;
        }
        names << quoteIdentifier(column);
        marks << QStringLiteral("?");
        bound << text;
    }
    const QString sql = names.isEmpty()
        ? QStringLiteral("insert into ReceiverList default values")
        : QStringLiteral("insert into ReceiverList (%1) values (%2)").arg(names.join(','), marks.join(','));
    QSqlQuery query = m_db.prepare(sql);
    for (const QVariant &v : bound)
        query.addBindValue(v);
    if (!query.exec()) {
        setError(error, query.lastError().text());
        return 0;
    }
    return m_db.lastInsertedId(query).toInt();
}

bool ReceiverList::addAll(const QList<QList<QPair<QString, QString>>> &rows, QString *error) const
{
    return m_db.transaction([&] {
        for (const auto &values : rows) {
            if (add(values, error) == 0)
                return false;
        }
        return true;
    }, error);
}

bool ReceiverList::remove(const QList<int> &ids, QString *error) const
{
    return m_db.transaction([&] {
        for (int id : ids) {
            if (!m_db.exec(QStringLiteral("delete from ReceiverList where ID=?"), {id}, error))
                return false;
        }
        return true;
    }, error);
}

bool ReceiverList::clear(QString *error) const
{
    return m_db.transaction([&] {
        return m_db.exec(QStringLiteral("delete from ReceiverList"), {}, error)
            && m_db.resetIdSequence(kTable, QStringLiteral("ID"), error);
    }, error);
}

bool ReceiverList::rewrite(const ColumnRewrite &rewrite, int *changed, QString *error) const
{
    *changed = 0;
    const QString target = rewrite.target.trimmed().remove(QLatin1Char('@'));
    if (target.isEmpty() || target.compare(QStringLiteral("ID"), Qt::CaseInsensitive) == 0) {
        setError(error, QStringLiteral("请选择要批量改写列~"));
        return false;
    }
    if (!knownColumn(target, error))
        return false;
    QStringList terms;
    QVariantList values;
    for (const QString &raw : rewrite.parts) {
        const QString part = raw.trimmed();
        if (part.isEmpty()) {
            terms << QStringLiteral("''");
        } else if (part.contains(QLatin1Char('@'))) {
            const QString column = QString(part).remove(QLatin1Char('@')).trimmed();
            if (!knownColumn(column, error))
                return false;
            terms << QStringLiteral("coalesce(%1,'')").arg(quoteIdentifier(column));
        } else {
            terms << QStringLiteral("?");
            values << part;
        }
    }
    const QString sql = QStringLiteral("update ReceiverList set %1=%2")
                            .arg(quoteIdentifier(target), terms.join(QStringLiteral(" || ")));
    return m_db.transaction([&] { return m_db.exec(sql, values, error, changed); }, error);
}

QString amountForCapitals(const QString &value)
{
    const QString v = value.trimmed();
    if (v.isEmpty())
        return {};
    for (const QChar c : v) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return {};
    }
    return v;
}

} // namespace billprint
