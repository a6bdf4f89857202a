#pragma once

#include "refdata/dictionary_store.h"

#include <QAbstractTableModel>

namespace billprint {

// The entries of one dictionary list as a grid: hidden ID and DMName
// columns, the editable value (字典内容) and the bill type (单据号).
//
// An edited value is stored as soon as the editor commits it, so nothing
// typed waits for a save that might never come. A row appended with
// appendNewRow() exists only in the grid until its first non-blank value
// is committed; it then becomes a stored entry of the list and bill type
// it was appended for. Problems are reported through problem().
class DictionaryEntryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { IdColumn, NameColumn, ValueColumn, TypeColumn, ColumnCount };

    explicit DictionaryEntryModel(const DictionaryStore &store, QObject *parent = nullptr);

    // Reads the entries of `name` for the bill type; returns false (and
    // reports the problem) when they cannot be read.
    bool load(const QString &name, int checkTypeId, bool includeShared);
    bool reload();

    // Appends a row for a new entry of the loaded list; returns its row.
    int appendNewRow();
    // Deletes the entry of `row` from the database (a row not stored yet is
    // only dropped). False, with a report, when nothing was deleted.
    bool deleteRow(int row);

    const DictionaryEntry &entry(int row) const { return m_rows.at(row); }
    bool isStored(int row) const { return m_rows.at(row).id >= 0; }
    const QString &listName() const { return m_name; }
    int checkTypeId() const { return m_checkTypeId; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    void problem(const QString &message, const QString &caption);

private:
    const DictionaryStore &m_store;
    QList<DictionaryEntry> m_rows;
    QString m_name;
    int m_checkTypeId = 0;
    bool m_includeShared = true;
};

} // namespace billprint
