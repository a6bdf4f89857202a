#include "addressbook/ui/person_grid_model.h"

#include "app/database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace billprint {

namespace {


// The statement without its order: counting needs no sorting.
QString withoutOrder(const QString &sql)
{
    const int at = sql.lastIndexOf(QStringLiteral(" order by "), -1, Qt::CaseInsensitive);
    return at < 0 ? sql : sql.left(at);
}

} // namespace

PersonGridModel::PersonGridModel(QObject *parent) : QSqlQueryModel(parent) {}

bool PersonGridModel::runQuery(const Database &db, const PersonQuery &query, QString *error)
{
    if (!query.ok()) {
        clearListing();
        if (error)
            *error = query.error;
        return false;
    }
    QSqlQuery q(db.connection());
    if (!db.run(q, query.sql, query.values, error)) {
        clearListing();
        return false;
    }
    // The count comes first so that views asking for it while the new
    // rows arrive already see the new total.
    m_totalRows = countRows(db, query);
    setQuery(std::move(q));
    if (m_totalRows < 0) {
        // Counting failed although the listing ran: read it all instead.
        while (canFetchMore())
            fetchMore();
        m_totalRows = rowCount();
    }
    return true;
}

void PersonGridModel::clearListing()
{
    m_totalRows = 0;
    clear();
}

int PersonGridModel::countRows(const Database &db, const PersonQuery &query) const
{
    QSqlQuery q(db.connection());
    q.setForwardOnly(true);
    const QString sql = QStringLiteral("select count(*) from (") + withoutOrder(query.sql) + QLatin1Char(')');
    if (!db.run(q, sql, query.values) || !q.next())
        return -1;
    return q.value(0).toInt();
}

int PersonGridModel::idAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return 0;
    return record(row).value(QStringLiteral("ID")).toInt();
}

QString PersonGridModel::textAt(int row, const QString &column) const
{
    if (row < 0 || row >= rowCount())
        return QString();
    return record(row).value(column).toString();
}

QColor PersonGridModel::rowColor(int row)
{
    return (row + 1) % 2 ? QColor(230, 235, 255) : QColor(239, 253, 243);
}

QVariant PersonGridModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::BackgroundRole && index.isValid())
        return rowColor(index.row());
    if (role == Qt::ForegroundRole && index.isValid())
        return QColor(Qt::black);
    return QSqlQueryModel::data(index, role);
}

} // namespace billprint
