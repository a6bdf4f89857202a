// Reading and changing a family's issued bills for the history: the count
// and sum of a listing, its rows a page at a time or all in one pass, and
// the small changes the history windows make (void, renumber, late
// waybill numbers and remarks, clearing the table).
//
// Values are bound; several rows change in one transaction.
#pragma once

#include "history/history_query.h"

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

namespace billprint {

class Database;

struct HistorySummary
{
    int rows = 0;
    qint64 sumCents = 0;

    // The sum as the window shows it: "1234.50".
    QString sumText() const;
};

class HistoryStore
{
public:
    HistoryStore(const Database &db, const HistoryFamily &family) : m_db(db), m_family(family) {}

    const HistoryFamily &family() const { return m_family; }

    // The table's columns in table order.
    QStringList columns() const;

    // Number of rows and the sum of the family's sum column.
    bool summarize(const HistoryStatement &statement, HistorySummary *summary, QString *error = nullptr) const;
    // The same for the rows of these serial numbers only (a listing short
    // enough to be read whole: no second pass over the table).
    bool summarizeRows(const HistoryStatement &statement, const QVariantList &serials, HistorySummary *summary,
                       QString *error = nullptr) const;
    // Up to `count` rows from `offset` on, each with the values of all
    // columns in table order.
    bool readPage(const HistoryStatement &statement, int offset, int count, QList<QVariantList> *rows,
                  QString *error = nullptr) const;
    // Every row of the listing in one pass; `visit` returns false to stop.
    bool forEachRow(const HistoryStatement &statement, const std::function<bool(const QSqlRecord &)> &visit,
                    QString *error = nullptr) const;

    // Sets 票据状态 "作废" on the rows of these serial numbers; the rows
    // changed, -1 on an error (nothing changed then).
    int voidBills(const QVariantList &serials, QString *error = nullptr) const;
    // Sets a text column of one row; the rows changed, -1 on an error.
    int setText(int serial, const QString &column, const QString &value, QString *error = nullptr) const;
    // Deletes every row of the table; the rows deleted, -1 on an error.
    int clearAll(QString *error = nullptr) const;

private:
    const Database &m_db;
    const HistoryFamily &m_family;
};

} // namespace billprint
