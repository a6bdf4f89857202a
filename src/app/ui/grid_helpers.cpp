#include "app/ui/grid_helpers.h"

#include "app/alert.h"
#include "app/database.h"
#include "app/ini_file.h"
#include "app/ui/tfrm_grid_config.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScreen>
#include <QSet>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlIndex>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTableView>
#include <algorithm>

namespace billprint {

namespace {

constexpr int kDefaultColumnWidth = 40;
// SQLite allows many more bound values per statement; smaller statements
// keep each one cheap to prepare.
constexpr int kKeysPerStatement = 500;

const QString kWidthSaveError = QStringLiteral("保存表格列宽异常！");

// Switches a widget's painting off for the lifetime of the guard.
class UpdatesSuspended
{
public:
    explicit UpdatesSuspended(QWidget *widget) : m_widget(widget), m_was(widget && widget->updatesEnabled())
    {
        if (m_widget)
            m_widget->setUpdatesEnabled(false);
    }
    ~UpdatesSuspended()
    {
        if (m_widget)
            m_widget->setUpdatesEnabled(m_was);
    }
    UpdatesSuspended(const UpdatesSuspended &) = delete;
    UpdatesSuspended &operator=(const UpdatesSuspended &) = delete;

private:
    QWidget *m_widget;
    bool m_was;
};

QString widthKey(const QTableView *grid, int column)
{
    return grid->objectName().toUpper() + QStringLiteral(".W") + QString::number(column);
}

int screenWidthOf(const QWidget *widget)
{
    QScreen *screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

bool isTextMode(const QString &mode)
{
    return mode.toUpper() == QLatin1String("STR");
}

QVariant bindableKey(const QVariant &value, bool textMode)
{
    if (textMode || value.isNull())
        return value.isNull() ? value : QVariant(value.toString());
    bool ok = false;
    const qlonglong whole = value.toString().trimmed().toLongLong(&ok);
    if (ok)
        return whole;
    const double number = value.toString().trimmed().toDouble(&ok);
    if (ok)
        return number;
    return value.toString();
}

QString listItem(const QString &text, bool textMode)
{
    if (!textMode)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// Rows of the grid's selection in the order they were selected, each once.
QList<int> selectedRowsInOrder(const QTableView *grid)
{
    QList<int> rows;
    const QItemSelectionModel *selection = grid->selectionModel();
    if (!selection)
        return rows;
    QSet<int> seen;
    const QItemSelection ranges = selection->selection();
    for (const QItemSelectionRange &range : ranges) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (!seen.contains(row)) {
                seen.insert(row);
                rows << row;
            }
        }
    }
    return rows;
}

struct SelectedKeys
{
    int rows = 0;
    QString list;
    QVariantList values;
    QString error;
};

SelectedKeys collectSelected(QTableView *grid, const QString &column, const QString &mode)
{
    SelectedKeys keys;
    if (column.trimmed().isEmpty()) {
        keys.error = QStringLiteral("没有指定列名~");
        return keys;
    }
    if (!gridIsOpen(grid))
        return keys;
    const QAbstractItemModel *model = grid->model();
    const QList<int> rows = selectedRowsInOrder(grid);
    if (rows.isEmpty())
        return keys;
    const int col = gridColumnByName(model, column);
    if (col < 0) {
        keys.error = QStringLiteral("找不到数据列：") + column;
        return keys;
    }
    const bool textMode = isTextMode(mode);
    UpdatesSuspended suspended(grid);
    QStringList items;
    for (int row : rows) {
        const QVariant value = model->data(model->index(row, col), Qt::DisplayRole);
        items << listItem(value.toString(), textMode);
        keys.values << bindableKey(value, textMode);
        ++keys.rows;
    }
    keys.list = items.join(QLatin1Char(','));
    return keys;
}

void reportFetchError(const QString &error)
{
    tell(QStringLiteral("DBGrid记录选取失败~") + error);
}

bool deleteByKey(const Database &db, const QString &table, const QString &keyColumn, const QVariantList &keys,
                 int *deleted, QString *error)
{
    *deleted = 0;
    return db.transaction(
        [&] {
            for (int start = 0; start < keys.size(); start += kKeysPerStatement) {
                const QVariantList chunk = keys.mid(start, kKeysPerStatement);
                const QString sql = QStringLiteral("DELETE FROM ") + quoteIdentifier(table) + QStringLiteral(" WHERE ")
                                    + quoteIdentifier(keyColumn) + QStringLiteral(" IN (") + sqlPlaceholders(chunk.size())
                                    + QLatin1Char(')');
                int affected = 0;
                if (!db.exec(sql, chunk, error, &affected))
                    return false;
                *deleted += affected;
            }
            return true;
        },
        error);
}

// For tables without a key: each listed row is deleted by all its values.
bool deleteByAllColumns(const Database &db, const QString &table, const QStringList &columns,
                        const QList<QVariantList> &rows, int *deleted, QString *error)
{
    *deleted = 0;
    QStringList conditions;
    for (const QString &column : columns)
        conditions << db.dialect().isSameAs(quoteIdentifier(column));
    const QString sql = QStringLiteral("DELETE FROM ") + quoteIdentifier(table) + QStringLiteral(" WHERE ")
                        + conditions.join(QStringLiteral(" AND "));
    return db.transaction(
        [&] {
            for (const QVariantList &values : rows) {
                int affected = 0;
                if (!db.exec(sql, values, error, &affected))
                    return false;
                *deleted += affected;
            }
            return true;
        },
        error);
}

QVariantList columnValues(const QAbstractItemModel *model, int column)
{
    QVariantList values;
    for (int row = 0; row < model->rowCount(); ++row)
        values << model->data(model->index(row, column), Qt::EditRole);
    return values;
}

// Deletes the rows the grid lists; returns false with `error` set.
bool deleteListedRows(const Database &db, QAbstractItemModel *model, QString table, QString keyColumn,
                      int *deleted, QString *error)
{
    fetchAllRows(model);
    auto *tableModel = qobject_cast<QSqlTableModel *>(model);
    if (table.isEmpty() && tableModel) {
        table = tableModel->tableName();
        if (keyColumn.isEmpty() && tableModel->primaryKey().count() == 1)
            keyColumn = tableModel->primaryKey().fieldName(0);
        if (keyColumn.isEmpty()) {
            QStringList columns;
            QList<QVariantList> rows;
            const QSqlRecord record = tableModel->record();
            for (int c = 0; c < record.count(); ++c)
                columns << record.fieldName(c);
            for (int row = 0; row < tableModel->rowCount(); ++row) {
                QVariantList values;
                const QSqlRecord r = tableModel->record(row);
                for (int c = 0; c < r.count(); ++c)
                    values << r.value(c);
                rows << values;
            }
            return deleteByAllColumns(db, table, columns, rows, deleted, error);
        }
    }
    if (table.isEmpty() || keyColumn.isEmpty()) {
        *error = QStringLiteral("表格没有指明数据表和关键列");
        return false;
    }
    const int keyIndex = gridColumnByName(model, keyColumn);
    if (keyIndex < 0) {
        *error = QStringLiteral("找不到数据列：") + keyColumn;
        return false;
    }
    return deleteByKey(db, table, keyColumn, columnValues(model, keyIndex), deleted, error);
}

} // namespace

bool gridIsOpen(const QTableView *grid)
{
    return grid && grid->model() && grid->model()->columnCount() > 0;
}

QList<int> gridSelectedRows(const QTableView *grid)
{
    QList<int> rows;
    if (!grid || !grid->selectionModel())
        return rows;
    for (const QModelIndex &index : grid->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QString gridFieldName(const QAbstractItemModel *model, int column)
{
    if (!model || column < 0 || column >= model->columnCount())
        return QString();
    if (const auto *sqlModel = qobject_cast<const QSqlQueryModel *>(model)) {
        const QString name = sqlModel->record().fieldName(column);
        if (!name.isEmpty())
            return name;
    }
    return model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

int gridColumnByName(const QAbstractItemModel *model, const QString &name)
{
    if (!model)
        return -1;
    const QString wanted = name.trimmed();
    for (int column = 0; column < model->columnCount(); ++column)
        if (gridFieldName(model, column).compare(wanted, Qt::CaseInsensitive) == 0)
            return column;
    // A caller may know the column by the header text the window shows.
    for (int column = 0; column < model->columnCount(); ++column)
        if (model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().compare(wanted, Qt::CaseInsensitive) == 0)
            return column;
    return -1;
}

void fetchAllRows(QAbstractItemModel *model)
{
    if (!model)
        return;
    while (model->canFetchMore(QModelIndex()))
        model->fetchMore(QModelIndex());
}

bool refreshGridModel(QAbstractItemModel *model)
{
    if (auto *tableModel = qobject_cast<QSqlTableModel *>(model))
        return tableModel->select();
    if (auto *queryModel = qobject_cast<QSqlQueryModel *>(model)) {
        // The copy shares the statement and its bound values; running it
        // again gives the current rows.
        QSqlQuery query = queryModel->query();
        if (!query.exec())
            return false;
        queryModel->setQuery(std::move(query));
        return true;
    }
    return false;
}

QString sqlPlaceholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1Char(','));
}

void GridColsWidthSave(IniFile &config, QTableView *grid, const QString &section)
{
    if (!gridIsOpen(grid))
        return;
    if (section.trimmed().isEmpty()) {
        tell(kWidthSaveError);
        return;
    }
    config.flush();
    config.load();
    const QString name = section.toUpper();
    config.setWriteThrough(false);
    for (int column = 0; column < grid->model()->columnCount(); ++column) {
        const int width = grid->isColumnHidden(column) ? -1 : grid->columnWidth(column);
        config.writeInteger(name, widthKey(grid, column), width);
    }
    config.setWriteThrough(true);
    config.flush();
}

void GridColsWidthLoad(IniFile &config, QTableView *grid, const QString &section)
{
    if (section.trimmed().isEmpty()) {
        tell(kWidthSaveError);
        return;
    }
    config.flush();
    config.load();
    if (!gridIsOpen(grid))
        return;
    const QString name = section.toUpper();
    const int screenWidth = screenWidthOf(grid);
    for (int column = 0; column < grid->model()->columnCount(); ++column) {
        int width = config.readInteger(name, widthKey(grid, column), kDefaultColumnWidth);
        if (width <= 0) {
            grid->setColumnHidden(column, true);
            continue;
        }
        if (screenWidth > 0)
            width = std::min(width, screenWidth);
        grid->setColumnHidden(column, false);
        grid->setColumnWidth(column, width);
    }
}

void GridColsConfigration(IniFile &config, QTableView *grid, const QString &section, QWidget *parent)
{
    TfrmGridConfig window(config, grid, section, parent ? parent : grid ? grid->window() : nullptr);
    window.exec();
}

QVariantList GridSelectedValues(QTableView *grid, const QString &column, const QString &mode, QString *error)
{
    const SelectedKeys keys = collectSelected(grid, column, mode);
    if (error)
        *error = keys.error;
    return keys.values;
}

int GridSelectedFetch(QTableView *grid, const QString &column, QString &list, const QString &mode)
{
    list.clear();
    const SelectedKeys keys = collectSelected(grid, column, mode);
    if (!keys.error.isEmpty()) {
        reportFetchError(keys.error);
        return 0;
    }
    list = keys.list;
    return keys.rows;
}

int GridSelectedDelete(const Database &db, QTableView *grid, const QString &table, const QString &itemName,
                       const QString &mode, const QString &keyColumn)
{
    const SelectedKeys keys = collectSelected(grid, keyColumn, mode);
    if (!keys.error.isEmpty()) {
        reportFetchError(keys.error);
        return 0;
    }
    if (keys.values.isEmpty())
        return 0;
    const QString item = itemName.isEmpty() ? QStringLiteral("数据记录") : itemName;
    if (!alert(QStringLiteral("确认要删除所选中的") + QString::number(keys.rows) + QStringLiteral("个") + item
                   + QStringLiteral("吗?"),
               QStringLiteral("删除确认"), true))
        return 0;
    int deleted = 0;
    QString error;
    if (!deleteByKey(db, table, keyColumn, keys.values, &deleted, &error)) {
        tell(QStringLiteral("删除失败，错误=") + error, QStringLiteral("错误"), AlertIcon::Error);
        return -1;
    }
    alert(QString::number(deleted) + QStringLiteral("个") + item + QStringLiteral("删除成功！"), QStringLiteral("提示"));
    return deleted;
}

int GridDeleteCurrentList(const Database &db, QTableView *grid, const QString &table, const QString &keyColumn)
{
    if (!alert(QStringLiteral("此操作将删除当前查询到的所有记录，确定删除吗？"), QStringLiteral("警告"), true))
        return 0;
    QAbstractItemModel *model = grid ? grid->model() : nullptr;
    int deleted = 0;
    QString error;
    bool ok = false;
    {
        UpdatesSuspended suspended(grid);
        if (!model)
            error = QStringLiteral("表格没有数据");
        else if (deleteListedRows(db, model, table, keyColumn, &deleted, &error))
            ok = true;
        if (ok)
            refreshGridModel(model);
    }
    if (!ok) {
        tell(QStringLiteral("删除出现异常！") + (error.isEmpty() ? QString() : QLatin1Char('\n') + error),
             QStringLiteral("错误"), AlertIcon::Error);
        return -1;
    }
    tell(QString::number(deleted) + QStringLiteral("条记录删除成功！"));
    return deleted;
}

void ComboBoxDeleteByText(QComboBox *box, const QString &text)
{
    if (!box)
        return;
    for (int i = box->count() - 1; i >= 0; --i)
        if (box->itemText(i) == text)
            box->removeItem(i);
}

} // namespace billprint
