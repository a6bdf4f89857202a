#pragma once

#include "maintenance/upgrade_progress.h"

#include <QString>
#include <vector>

namespace billprint {

class Database;

// What an upgrade came to, with the message for the user.
struct UpgradeOutcome
{
    // NotOnSharedDatabase: the data of an earlier version is an SQLite file
    // of one desk; a shared database is never upgraded in place.
    enum class Status { Upgraded, AlreadyCurrent, Failed, NotOnSharedDatabase };

    Status status = Status::Failed;
    QString message;
    QString failedStep;         // Failed: the step under way
    QString backupPath;         // the copy of the database made first
    QString packageBackupPath;  // the copy of the empty template package

    bool ok() const { return status == Status::Upgraded || status == Status::AlreadyCurrent; }
};

// Brings a database written by an earlier version up to date in place:
// missing tables, the columns that the templates, the batch list and the
// waybill history gained, the waybill fields of the dictionary, first
// names of templates, the common templates, bill dates written as
// "yyyy/M/d" (rewritten as ISO dates), the empty template package beside
// the database, and the version record of the data.
//
// Before anything changes, the database (and the package) are copied to
// "<file>.before-<version>". All changes to both files are made in one
// transaction: a failure leaves them as they were and names the step.
//
// A shared database is refused (sharedDatabaseRefusal()): the earlier
// version kept its data in an SQLite file at one desk, which is upgraded
// there and then copied to the server with `billprint db copy`.
class DataUpgrade
{
public:
    // `versionText` is what the data is marked with (the program's version
    // text). The empty template package is looked for beside the database.
    DataUpgrade(const Database &db, QString versionText);

    UpgradeProgress &progress() { return m_progress; }

    // The data already carries this version.
    bool isCurrent() const;
    // `force` runs the upgrade even on data that says it is current.
    UpgradeOutcome run(bool force = false);

    // What the user is told when the database is a shared one.
    static QString sharedDatabaseRefusal();
    static QString packagePathFor(const QString &databasePath);
    static QString backupPathFor(const QString &filePath, const QString &versionText);

private:
    struct ColumnAddition;
    bool runSteps(bool withPackage, QString *error);
    bool createMissingTables(QString *error);
    bool addMissingColumns(const QString &schema, const std::vector<ColumnAddition> &columns, QString *error);
    bool normaliseDictionary(QString *error);
    bool markCommonTemplates(QString *error);
    bool normaliseBillDates(QString *error);
    bool visitTemplates(QString *error);
    void enter(const QString &step);

    const Database &m_db;
    QString m_versionText;
    QString m_packagePath;
    UpgradeProgress m_progress;
    QString m_step;
};

} // namespace billprint
