// The grid of a history window: every column of the family's table, the
// rows of one statement read a page at a time as the grid shows them.
//
// The count comes from the statement's summary, so the grid knows its
// length at once and opening a listing of 100 000 bills costs one page.
// No statement stays open between reads: the grid never holds the
// database against another copy of the program that wants to write.
#pragma once

#include "history/history_store.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QList>

namespace billprint {

class Database;

class HistoryListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    HistoryListModel(const Database &db, const HistoryFamily &family, QObject *parent = nullptr);

    // Runs a statement: the summary, then the first page. On failure the
    // grid is emptied and `error` says why.
    bool run(const HistoryStatement &statement, QString *error = nullptr);
    // Reads the same statement again (the rows changed).
    bool refresh(QString *error = nullptr);
    void clear();

    const HistorySummary &summary() const { return m_summary; }
    const HistoryStatement &statement() const { return m_statement; }
    // How many statements have been run, refreshes included.
    int runs() const { return m_runs; }

    // The column of a field (letter case ignored), -1 when there is none.
    int columnOf(const QString &field) const;
    QString fieldName(int column) const { return m_columns.value(column); }
    // A value of a row by field name; empty for a row or field not there.
    QString textAt(int row, const QString &field) const;
    int serialAt(int row) const;

    // Row colours of the cheque list by 票据状态: void white on red, used
    // black on yellow, anything else black on white.
    struct RowColours
    {
        QColor background;
        QColor foreground;
    };
    static RowColours statusColours(const QString &status);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static constexpr int kPageRows = 500;
    static constexpr int kPagesKept = 40;

private:
    const QVariantList *rowValues(int row) const;

    HistoryStore m_store;
    bool m_coloured;
    QStringList m_columns;
    int m_statusColumn = -1;
    int m_serialColumn = 0;
    HistoryStatement m_statement;
    HistorySummary m_summary;
    bool m_open = false;
    int m_runs = 0;
    mutable QHash<int, QList<QVariantList>> m_pages;
    mutable QList<int> m_pageOrder;  // least recently read first
};

} // namespace billprint
