#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

class QAbstractItemModel;
class QComboBox;
class QTableView;
class QWidget;

namespace billprint {

class Database;
class IniFile;

// The operations every list window shares for its grid: a QTableView over
// a query model (QSqlQueryModel, QSqlTableModel or any model whose
// horizontal header names the columns).

// --- Column widths -----------------------------------------------------
// Config.ini: section = upper-cased `section` (the window's name), key =
// upper-cased grid object name + ".W" + column index; the width in pixels,
// or -1 for a hidden column.
void GridColsWidthSave(IniFile &config, QTableView *grid, const QString &section);
// Restores what GridColsWidthSave stored. A column never saved gets 40
// pixels; a stored width of 0 or less hides the column; a width wider
// than the screen is cut to the screen's width.
void GridColsWidthLoad(IniFile &config, QTableView *grid, const QString &section);
// Lets the user choose the visible columns (TfrmGridConfig), modally.
void GridColsConfigration(IniFile &config, QTableView *grid, const QString &section,
                          QWidget *parent = nullptr);

// --- Selected rows -----------------------------------------------------
// Collects the values of `column` in the selected rows, in selection
// order, into `list` separated by ",": for mode "STR" (any letter case)
// each value is quoted as an SQL text ('a','b', an apostrophe doubled),
// for any other mode bare (1,2). Returns the number of selected rows.
int GridSelectedFetch(QTableView *grid, const QString &column, QString &list, const QString &mode);
// The same values ready to bind: for mode "STR" as texts, otherwise as
// numbers where they read as numbers. `error` is set when the column is
// missing.
QVariantList GridSelectedValues(QTableView *grid, const QString &column, const QString &mode,
                                QString *error = nullptr);
// Asks, then deletes the selected rows from `table` by `keyColumn`, in one
// transaction with bound keys. Returns the number of rows deleted, 0 when
// nothing was selected or the user said No, -1 on a database error.
// The caller re-runs its query afterwards.
int GridSelectedDelete(const Database &db, QTableView *grid, const QString &table,
                       const QString &itemName, const QString &mode, const QString &keyColumn);
// Asks, then deletes every row the grid lists, in one transaction, and
// re-runs the grid's query. With `table` and `keyColumn` the rows are
// deleted by key (for query models); without them the grid's model must be
// a QSqlTableModel. Returns the rows deleted, -1 on an error.
int GridDeleteCurrentList(const Database &db, QTableView *grid, const QString &table = QString(),
                          const QString &keyColumn = QString());

// Removes every item whose text equals `text`.
void ComboBoxDeleteByText(QComboBox *box, const QString &text);

// --- Small pieces shared with the export and column chooser -------------
// True when the grid has a model with columns to show.
bool gridIsOpen(const QTableView *grid);
// The field name of column `column`: the query's field name for SQL
// models, otherwise the horizontal header text.
QString gridFieldName(const QAbstractItemModel *model, int column);
// Column index of the field named `name` (letter case ignored), or -1.
int gridColumnByName(const QAbstractItemModel *model, const QString &name);
// The selected rows in the order they stand, not in the order of the clicks.
QList<int> gridSelectedRows(const QTableView *grid);
// Fetches the rows a query model has not fetched yet.
void fetchAllRows(QAbstractItemModel *model);
// Runs the query of an SQL model again; false for other models.
bool refreshGridModel(QAbstractItemModel *model);
// "?,?,?" for `count` bound values.
QString sqlPlaceholders(int count);

} // namespace billprint
