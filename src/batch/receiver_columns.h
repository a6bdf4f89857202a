// Matching the column titles of an imported sheet to the receiver list:
// every import item has a list of accepted titles (table MatchColumn, or
// the delivered defaults while the table holds none), and each sheet
// column goes to the first item, in a fixed order, that accepts its title.
// A title equal to a list column's own name is accepted for that column.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace billprint {

class Database;

// True when `title` passes the title list: comma-separated titles, each
// compared in upper case; a title with "*" matches any column title that
// contains it without its stars.
bool titleAccepts(const QString &title, const QString &titleList);

// The delivered title list of an import item ("" for an item without one).
QString defaultTitleList(const QString &item);

struct ColumnMatch
{
    int source = -1;     // 0-based column of the sheet
    QString item;        // import item (单位全称, 物品内容, 订单号, ...)
    QString listColumn;  // column of ReceiverList it fills ("" for 订单号, 会员Id and the bank items)
};

// Matches the sheet titles for the batch list. `db` may be null (then only
// the delivered title lists are used).
QList<ColumnMatch> matchReceiverColumns(const QStringList &titles, const Database *db);

} // namespace billprint
