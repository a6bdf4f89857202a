#include "history/history_store.h"

#include "app/database.h"
#include "bills/bill_record.h"

#include <QSqlError>
#include <QSqlQuery>

namespace billprint {

namespace {

// SQLite takes many more bound values; smaller statements stay cheap.
constexpr int kKeysPerStatement = 500;

QString placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1Char(','));
}

bool readSummary(QSqlQuery &q, HistorySummary *summary)
{
    HistorySummary s;
    if (q.next()) {
        s.rows = q.value(0).toInt();
        s.sumCents = qRound64(q.value(1).toDouble());
    }
    if (summary)
        *summary = s;
    return true;
}

} // namespace

QString HistorySummary::sumText() const
{
    const qint64 whole = sumCents / 100;
    const qint64 cents = qAbs(sumCents % 100);
    const QString sign = sumCents < 0 && whole == 0 ? QStringLiteral("-") : QString();
    return sign + QString::number(whole) + QLatin1Char('.') + QStringLiteral("%1").arg(cents, 2, 10, QLatin1Char('0'));
}

QStringList HistoryStore::columns() const
{
    return m_db.columnNames(m_family.table());
}

bool HistoryStore::summarize(const HistoryStatement &statement, HistorySummary *summary, QString *error) const
{
    QSqlQuery q(m_db.connection());
    q.setForwardOnly(true);
    if (!m_db.run(q, statement.summarySql(), statement.values, error))
        return false;
    return readSummary(q, summary);
}

bool HistoryStore::summarizeRows(const HistoryStatement &statement, const QVariantList &serials,
                                 HistorySummary *summary, QString *error) const
{
    // An empty listing sums to nothing; "in ()" is no statement PostgreSQL takes.
    if (serials.isEmpty()) {
        if (summary)
            *summary = HistorySummary();
        return true;
    }
    QSqlQuery q(m_db.connection());
    q.setForwardOnly(true);
    const QString sql = QStringLiteral("select count(*), ") + statement.sumExpression() + QStringLiteral(" from ")
                        + quoteIdentifier(m_family.table()) + QStringLiteral(" where ")
                        + quoteIdentifier(HistoryColumn::Serial) + QStringLiteral(" in (")
                        + placeholders(serials.size()) + QLatin1Char(')');
    if (!m_db.run(q, sql, serials, error))
        return false;
    return readSummary(q, summary);
}

bool HistoryStore::readPage(const HistoryStatement &statement, int offset, int count, QList<QVariantList> *rows,
                            QString *error) const
{
    QSqlQuery q(m_db.connection());
    q.setForwardOnly(true);
    QVariantList values = statement.values;
    values << count << offset;
    if (!m_db.run(q, statement.pageSql(), values, error))
        return false;
    const int columns = q.record().count();
    rows->clear();
    while (q.next()) {
        QVariantList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row << q.value(c);
        rows->append(std::move(row));
    }
    return true;
}

bool HistoryStore::forEachRow(const HistoryStatement &statement, const std::function<bool(const QSqlRecord &)> &visit,
                              QString *error) const
{
    QSqlQuery q(m_db.connection());
    q.setForwardOnly(true);
    if (!m_db.run(q, statement.listSql(), statement.values, error))
        return false;
    while (q.next())
        if (!visit(q.record()))
            break;
    return true;
}

int HistoryStore::voidBills(const QVariantList &serials, QString *error) const
{
    int changed = 0;
    const bool ok = m_db.transaction(
        [&] {
            for (int start = 0; start < serials.size(); start += kKeysPerStatement) {
                const QVariantList chunk = serials.mid(start, kKeysPerStatement);
                QVariantList values{BillStatus::Void};
                values << chunk;
                int rows = 0;
                if (!m_db.exec(QStringLiteral("update %1 set %2 = ? where %3 in (%4)")
                                   .arg(quoteIdentifier(m_family.table()), quoteIdentifier(HistoryColumn::Status),
                                        quoteIdentifier(HistoryColumn::Serial), placeholders(chunk.size())),
                               values, error, &rows))
                    return false;
                changed += rows;
            }
            return true;
        },
        error);
    return ok ? changed : -1;
}

int HistoryStore::setText(int serial, const QString &column, const QString &value, QString *error) const
{
    QString known;
    for (const QString &c : columns())
        if (c.compare(column, Qt::CaseInsensitive) == 0)
            known = c;
    if (known.isEmpty()) {
        if (error)
            *error = QStringLiteral("数据表") + m_family.table() + QStringLiteral("没有字段") + column;
        return -1;
    }
    int rows = 0;
    if (!m_db.exec(QStringLiteral("update %1 set %2 = ? where %3 = ?")
                       .arg(quoteIdentifier(m_family.table()), quoteIdentifier(known),
                            quoteIdentifier(HistoryColumn::Serial)),
                   {value, serial}, error, &rows))
        return -1;
    return rows;
}

int HistoryStore::clearAll(QString *error) const
{
    int rows = 0;
    if (!m_db.exec(QStringLiteral("delete from ") + quoteIdentifier(m_family.table()), {}, error, &rows))
        return -1;
    return rows;
}

} // namespace billprint
