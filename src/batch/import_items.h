// What a spreadsheet import fills: the target items of the two imports
// (into the address book, into the batch list), the column each fills,
// the order in which they take sheet columns, and the matching itself.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace billprint {

enum class ImportTarget { AddressBook, BatchList };

// The scenario names the import window offers.
QString importScenarioName(ImportTarget target);

struct ImportItem
{
    QString name;         // item name, also the key of its title list
    QString caption;      // the field's label on the window
    bool inBook = false;  // offered when importing into the address book
    bool inList = false;  // offered when importing into the batch list
    QString bookColumn;   // column of ckPersonalInfoTable ("" when none)
    QString listColumn;   // column of ReceiverList ("" when none)
};

// Every item, in the order the window lays out its fields.
const QList<ImportItem> &importItems();
const ImportItem *findImportItem(const QString &name);
// The items of one import in the order they take sheet columns.
QStringList importMatchOrder(ImportTarget target);

// The entry of sheet column `column` (1-based) in the source lists:
// "列" N ":" title.
QString sourceColumnEntry(int column, const QString &title);
// The column number of an entry; 0 for the empty entry or an entry
// without ":" (a batch group name).
int sourceColumnOf(const QString &entry);
// The titles of the first row as source entries: column number → title,
// for the first 61 columns, empty titles skipped.
QList<QPair<int, QString>> sourceColumns(const QStringList &firstRow);
inline constexpr int kMaxSourceColumns = 61;

// True when `title` passes `titleList` (see titleAccepts in
// receiver_columns.h): the same test.
bool importTitleAccepts(const QString &title, const QString &titleList);

// Gives every source column to the first item, in the import's order, that
// has no column yet and whose title list accepts the title. `titleList`
// returns the list of an item. Result: item → 1-based column.
QHash<QString, int> matchImportColumns(ImportTarget target, const QList<QPair<int, QString>> &sources,
                                       const std::function<QString(const QString &)> &titleList);

} // namespace billprint
