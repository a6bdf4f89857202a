#include "history/history_list_model.h"

#include "bills/bill_record.h"

namespace billprint {

HistoryListModel::HistoryListModel(const Database &db, const HistoryFamily &family, QObject *parent)
    : QAbstractTableModel(parent), m_store(db, family), m_coloured(family.chequeCommands)
{
    m_columns = m_store.columns();
    m_statusColumn = columnOf(HistoryColumn::Status);
    m_serialColumn = columnOf(HistoryColumn::Serial);
}

bool HistoryListModel::run(const HistoryStatement &statement, QString *error)
{
    ++m_runs;
    HistorySummary summary;
    QList<QVariantList> firstPage;
    QString why;
    bool ok = m_store.readPage(statement, 0, kPageRows, &firstPage, &why);
    if (ok && firstPage.size() < kPageRows) {
        // The whole listing is in hand: sum just those rows.
        QVariantList serials;
        for (const QVariantList &row : std::as_const(firstPage))
            serials << row.value(m_serialColumn);
        ok = m_store.summarizeRows(statement, serials, &summary, &why);
    } else if (ok) {
        ok = m_store.summarize(statement, &summary, &why);
    }
    beginResetModel();
    m_pages.clear();
    m_pageOrder.clear();
    m_statement = statement;
    m_open = ok;
    m_summary = ok ? summary : HistorySummary();
    if (ok) {
        m_pages.insert(0, firstPage);
        m_pageOrder << 0;
    }
    endResetModel();
    if (!ok && error)
        *error = why;
    return ok;
}

bool HistoryListModel::refresh(QString *error)
{
    return run(m_statement, error);
}

void HistoryListModel::clear()
{
    beginResetModel();
    m_open = false;
    m_summary = HistorySummary();
    m_pages.clear();
    m_pageOrder.clear();
    endResetModel();
}

int HistoryListModel::columnOf(const QString &field) const
{
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns.at(c).compare(field.trimmed(), Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

const QVariantList *HistoryListModel::rowValues(int row) const
{
    if (!m_open || row < 0 || row >= m_summary.rows)
        return nullptr;
    const int page = row / kPageRows;
    auto found = m_pages.find(page);
    if (found == m_pages.end()) {
        QList<QVariantList> rows;
        if (!m_store.readPage(m_statement, page * kPageRows, kPageRows, &rows))
            return nullptr;
        if (m_pageOrder.size() >= kPagesKept)
            m_pages.remove(m_pageOrder.takeFirst());
        found = m_pages.insert(page, rows);
    } else {
        m_pageOrder.removeOne(page);
    }
    m_pageOrder << page;
    const int at = row % kPageRows;
    // The table may have shrunk since the count (another program deleted).
    return at < found->size() ? &found->at(at) : nullptr;
}

QString HistoryListModel::textAt(int row, const QString &field) const
{
    const int column = columnOf(field);
    const QVariantList *values = rowValues(row);
    if (!values || column < 0 || column >= values->size())
        return QString();
    return values->at(column).toString();
}

int HistoryListModel::serialAt(int row) const
{
    return textAt(row, HistoryColumn::Serial).toInt();
}

HistoryListModel::RowColours HistoryListModel::statusColours(const QString &status)
{
    if (status == BillStatus::Void)
        return {QColor(Qt::red), QColor(Qt::white)};
    if (status == BillStatus::Used)
        return {QColor(Qt::yellow), QColor(Qt::black)};
    return {QColor(Qt::white), QColor(Qt::black)};
}

int HistoryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_open ? 0 : m_summary.rows;
}

int HistoryListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns.size();
}

QVariant HistoryListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const QVariantList *values = rowValues(index.row());
        if (!values || index.column() >= values->size())
            return QVariant();
        const QVariant &v = values->at(index.column());
        return v.isNull() ? QVariant(QString()) : v;
    }
    if (m_coloured && m_statusColumn >= 0 && (role == Qt::BackgroundRole || role == Qt::ForegroundRole)) {
        const RowColours colours = statusColours(textAt(index.row(), HistoryColumn::Status).trimmed());
        return role == Qt::BackgroundRole ? colours.background : colours.foreground;
    }
    return QVariant();
}

QVariant HistoryListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_columns.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace billprint
