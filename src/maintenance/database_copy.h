#pragma once

#include <QString>
#include <QStringList>

namespace billprint {

class Database;

// Moves an office's data between two databases of this program: a desk's
// SQLite file into the shared database the office starts with, or the
// shared database back into a new file (a backup a desk can open).
//
// The target holds our schema already (billprint db init, or a new file)
// with the delivered rows. Every table both sides hold is emptied and
// refilled with the source's rows, ids included, so that the target ends
// up as the source was: the delivered rows the target started with are
// replaced, not merged. Columns are copied by name, only those both sides
// have (a desk of an earlier version may lack a newer column); values are
// bound as the source stores them, amounts and dates stay the texts they
// are. Everything happens in one transaction of the target, and the row
// count of every table is compared with the source's before it commits.
class DatabaseCopy
{
public:
    DatabaseCopy(const Database &source, const Database &target) : m_source(source), m_target(target) {}

    // Copies every table. False with `error` (naming the table) when a
    // statement fails or a count differs; the target is then unchanged.
    // `log` receives a line per table copied and per table or column
    // left out.
    bool run(QStringList *log, QString *error) const;

    // Template pictures: into the shared target's picture table from the
    // desk's picture folder, or from the shared source into a desk's
    // folder. Runs after run(); false with `error` when a picture fails.
    bool publishDeskPictures(const QString &imageFolder, QStringList *log, QString *error) const;
    bool fetchPicturesInto(const QString &imageFolder, QStringList *log, QString *error) const;

private:
    struct TablePlan
    {
        QString sourceTable;
        QString targetTable;
        QStringList sourceColumns;  // in the same order as targetColumns
        QStringList targetColumns;
    };

    QList<TablePlan> plan(QStringList *log) const;
    bool copyTable(const TablePlan &table, QString *error) const;
    bool verifyCount(const TablePlan &table, QString *error) const;

    const Database &m_source;
    const Database &m_target;
};

// True when `db` holds issued bills or address-book units: a database in
// use, which a copy would overwrite.
bool holdsBillsOrUnits(const Database &db);

// The tables of our schema a database holds (the schema version mark and
// the engine's own tables left out), in the database's spelling.
QStringList ownTables(const Database &db);

} // namespace billprint
