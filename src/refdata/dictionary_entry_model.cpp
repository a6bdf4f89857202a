#include "refdata/dictionary_entry_model.h"

#include <QColor>

namespace billprint {

DictionaryEntryModel::DictionaryEntryModel(const DictionaryStore &store, QObject *parent)
    : QAbstractTableModel(parent), m_store(store)
{
}

bool DictionaryEntryModel::load(const QString &name, int checkTypeId, bool includeShared)
{
    m_name = name;
    m_checkTypeId = checkTypeId;
    m_includeShared = includeShared;
    QString error;
    beginResetModel();
    m_rows = m_store.loadEntries(name, checkTypeId, includeShared, &error);
    endResetModel();
    if (!error.isEmpty()) {
        emit problem(error, QStringLiteral("错误"));
        return false;
    }
    return true;
}

bool DictionaryEntryModel::reload()
{
    return load(m_name, m_checkTypeId, m_includeShared);
}

int DictionaryEntryModel::appendNewRow()
{
    const int row = m_rows.size();
    beginInsertRows(QModelIndex(), row, row);
    m_rows << DictionaryEntry{-1, m_name, QString(), m_checkTypeId};
    endInsertRows();
    return row;
}

bool DictionaryEntryModel::deleteRow(int row)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    if (isStored(row)) {
        const EditOutcome outcome = m_store.removeEntry(m_rows.at(row).id);
        if (!outcome.ok()) {
            emit problem(outcome.message, outcome.caption);
            return false;
        }
    }
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
    return true;
}

int DictionaryEntryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int DictionaryEntryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DictionaryEntryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const DictionaryEntry &e = m_rows.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        switch (index.column()) {
        case IdColumn: return e.id >= 0 ? QVariant(e.id) : QVariant();
        case NameColumn: return e.name;
        case ValueColumn: return e.value;
        case TypeColumn: return e.checkTypeId;
        default: return QVariant();
        }
    }
    if (role == Qt::BackgroundRole && index.column() == TypeColumn)
        return QColor(Qt::yellow);
    if (role == Qt::TextAlignmentRole && index.column() == TypeColumn)
        return int(Qt::AlignCenter);
    return QVariant();
}

QVariant DictionaryEntryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case IdColumn: return QStringLiteral("ID");
    case NameColumn: return QStringLiteral("DMName");
    case ValueColumn: return QStringLiteral("字典内容");
    case TypeColumn: return QStringLiteral("单据号");
    default: return QVariant();
    }
}

Qt::ItemFlags DictionaryEntryModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    // Only the value is the user's to change; the bill type of an entry
    // stays the one it was stored under.
    if (index.isValid() && index.column() == ValueColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DictionaryEntryModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != ValueColumn || index.row() >= m_rows.size())
        return false;
    DictionaryEntry &e = m_rows[index.row()];
    const QString text = value.toString();
    if (text == e.value)
        return true;
    if (!isStored(index.row()) && text.trimmed().isEmpty())
        return true;  // a new row stays unsaved until it has a value
    EditOutcome outcome;
    if (isStored(index.row())) {
        outcome = m_store.updateEntry(e.id, text);
        if (outcome.ok())
            e.value = text.trimmed();
    } else {
        DictionaryEntry added = e;
        added.value = text;
        outcome = m_store.addEntry(added);
        if (outcome.ok())
            e = added;
    }
    if (!outcome.ok()) {
        emit problem(outcome.message, outcome.caption);
        return false;
    }
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
    return true;
}

} // namespace billprint
