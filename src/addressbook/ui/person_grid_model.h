// The address book's grid: the rows of one listing, read from the database
// a page at a time so that a book of many thousand units opens at once.
#pragma once

#include "addressbook/person_search.h"

#include <QColor>
#include <QSqlQueryModel>

namespace billprint {

class Database;

class PersonGridModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    explicit PersonGridModel(QObject *parent = nullptr);

    // Runs the listing. On failure the grid is emptied and `error` says
    // why.
    bool runQuery(const Database &db, const PersonQuery &query, QString *error = nullptr);
    // Empties the grid (no listing open).
    void clearListing();

    // All rows of the listing, also those not read into the grid yet.
    int totalRows() const { return m_totalRows; }
    // The unit's ID in `row`; 0 when there is no such row.
    int idAt(int row) const;
    // A column's text in `row` by its field name.
    QString textAt(int row, const QString &column) const;

    // Background of a row that is not selected: rows are numbered from 1,
    // odd ones light blue, even ones light green.
    static QColor rowColor(int row);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    int countRows(const Database &db, const PersonQuery &query) const;

    int m_totalRows = 0;
};

} // namespace billprint
