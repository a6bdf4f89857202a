// The title lists of the import items, table MatchColumn: one row per
// item of the scenario "收件信息导入" with its comma-separated titles.
#pragma once

#include <QList>
#include <QString>

namespace billprint {

class Database;

struct MatchColumnRow
{
    int id = 0;
    QString itemName;
    QString sourceName;
    int showOrd = 0;
};

class MatchColumnStore
{
public:
    explicit MatchColumnStore(const Database &db) : m_db(db) {}

    static const QString &scenario();
    // The delivered rows: item name and title list, in their order.
    static const QList<QPair<QString, QString>> &defaultRows();
    // A title list as typed, made fit to store: trimmed, without "'" and
    // "?", full-width commas as ",", doubled commas collapsed. Empty when
    // no title is left.
    static QString cleanTitleList(const QString &typed);

    // Makes sure the table exists and holds the scenario's rows; writes
    // the delivered rows when it holds none. False with `error` set when
    // the database refuses.
    bool ensureReady(QString *error) const;
    // Deletes every row and writes the delivered ones, in one transaction.
    bool restoreDefaults(QString *error) const;

    QList<MatchColumnRow> rows(QString *error = nullptr) const;
    // The title list of `item`; the item's own name when it has no row,
    // an empty list or the table cannot be read.
    QString titleList(const QString &item) const;

    // Stores the cleaned title list (and order number, and with `itemName`
    // not empty the item name) of row `id`. False with `error` set when
    // the list is empty after cleaning or the database refuses.
    bool save(int id, const QString &itemName, const QString &titles, int showOrd, QString *error) const;
    // Appends a row of the scenario with order 0; the new row's id.
    int add(const QString &itemName, const QString &titles, QString *error) const;
    bool remove(int id, QString *error) const;

private:
    bool writeDefaults(QString *error) const;

    const Database &m_db;
};

} // namespace billprint
