#pragma once

#include <QString>
#include <gtest/gtest.h>

namespace billprint {
class Database;
}

namespace billprint::test {

// The tests of a folder run twice: on the embedded SQLite file, and (with
// BILLPRINT_TEST_ENGINE=postgres) on a PostgreSQL server named by
// BILLPRINT_TEST_PG_URL, each test in a database of its own. Without a
// server the second run reports every test as skipped.
bool testsOnSharedDatabase();

// A fresh database with the program's schema on the test server, made by
// copying one built once for the whole run; dropped again by the owner.
class ScratchServerDatabase
{
public:
    ScratchServerDatabase();
    ~ScratchServerDatabase();
    ScratchServerDatabase(const ScratchServerDatabase &) = delete;
    ScratchServerDatabase &operator=(const ScratchServerDatabase &) = delete;

    // postgresql://USER@/NAME?host=DIR; empty when it could not be made.
    const QString &url() const { return m_url; }

private:
    QString m_name;
    QString m_url;
};

// The server's address for a database named `name`.
QString testServerUrl(const QString &name);

// Makes the database refuse `event` ("insert", "update" or "delete") on
// `table` with `message`, as a full disk or a locked table would, on
// either engine. With an empty message the rows are skipped silently
// instead (the statement succeeds and changes nothing). `name` names the
// rule for dropRefusal.
bool refuseChanges(const Database &db, const QString &name, const QString &event, const QString &table,
                   const QString &message);
bool dropRefusal(const Database &db, const QString &name, const QString &table);
// As refuseChanges, for the rows `condition` holds for (an expression on
// the row as new.column; it may count the table's rows). With
// `endsTransaction` the refusal is a failure of the database as a whole,
// as a full disk: SQLite's RAISE(ROLLBACK), PostgreSQL's disk_full error.
bool refuseChangesWhen(const Database &db, const QString &name, const QString &event, const QString &table,
                       const QString &condition, const QString &message, bool endsTransaction = false);

// Skips every test of the program when it should run on a server that
// is not there.
class SharedDatabaseEnvironment : public ::testing::Environment
{
public:
    void SetUp() override;
};

} // namespace billprint::test

// For a test of the SQLite file itself (its bytes, its header, a copy of
// it): reported as skipped in the run on the server.
#define BILLPRINT_SQLITE_FILE_ONLY()                                                                  \
    do {                                                                                              \
        if (::billprint::test::testsOnSharedDatabase())                                               \
            GTEST_SKIP() << "works on the SQLite file itself";                                        \
    } while (0)
