// The batch print list: the receivers in table ReceiverList that one
// waybill template is printed for in a single job.
//
// Every value reaches the database as a bound parameter and column names
// are taken only from the table's own column list, so a quote in a key or
// a receiver's name filters, rewrites and prints like any other letter.
#pragma once

#include <QHash>
#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <functional>

namespace billprint {

class Database;

// What the list shows: the rows without a batch group (or of one group),
// filtered on one or more columns and ordered on one.
struct ReceiverQuery
{
    QStringList filterColumns;   // empty: no filter
    QString key;                 // trimmed before use; empty: no filter
    bool equals = false;         // "等于" instead of "包含"
    QString orderColumn;         // empty: ID
    bool descending = false;     // "倒序"
    QString group;               // batch group; empty: rows of no group
};

// A column rewrite: target = part1 || part2 || part3, where a part with
// "@" names a column and any other part is a literal text.
struct ColumnRewrite
{
    QString target;
    QString parts[3];
};

class ReceiverList
{
public:
    explicit ReceiverList(const Database &db) : m_db(db) {}

    // The filter entries offered first, before each single column.
    static const QStringList &combinedFilters();
    // The table's columns in table order.
    QStringList columns() const;

    // IDs of the listed rows in list order; false with `error` set when
    // a column is unknown or the database fails.
    bool query(const ReceiverQuery &q, QList<int> *ids, QString *error) const;
    // Each listed row in list order; `visit` returns false to stop.
    bool forEachRow(const ReceiverQuery &q, const std::function<bool(const QSqlRecord &)> &visit,
                    QString *error) const;
    // One row by ID; an empty record when there is none.
    QSqlRecord row(int id, QString *error = nullptr) const;
    // The rows of `ids` that exist, by ID, read in one statement.
    QHash<int, QSqlRecord> rows(const QList<int> &ids, QString *error = nullptr) const;

    // Adds one receiver; `values` maps column names to texts. Unknown
    // columns are refused. Returns the new ID, or 0 on failure.
    int add(const QList<QPair<QString, QString>> &values, QString *error) const;
    // Adds many receivers in one transaction (all or none).
    bool addAll(const QList<QList<QPair<QString, QString>>> &rows, QString *error) const;
    // Deletes the rows with these IDs in one transaction.
    bool remove(const QList<int> &ids, QString *error) const;
    // Empties the table; numbering starts at 1 again.
    bool clear(QString *error) const;
    // Rewrites the target column of every row of the table (grouped rows
    // too) in one transaction; `changed` receives the number of rows.
    bool rewrite(const ColumnRewrite &rewrite, int *changed, QString *error) const;

    // The listing statement with its values to bind, for grids that show
    // the list; false with `error` set when a column is unknown.
    bool buildSelect(const ReceiverQuery &q, QString *sql, QVariantList *values, QString *error) const;

private:
    bool knownColumn(const QString &name, QString *error) const;

    const Database &m_db;
    mutable QStringList m_columns;  // read once: the table's columns do not change under a list
};

// The capitals field takes the amount only when it is decimal digits alone
// ("12.50" is not); anything else clears it.
QString amountForCapitals(const QString &value);

} // namespace billprint
