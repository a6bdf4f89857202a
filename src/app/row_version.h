// Rows that clerks at several desks edit (address-book units, templates)
// carry a version, RowVersion. A window remembers the version it read;
// its save raises the version by one, in the same statement that checks
// the row still has the version read. A row another desk saved meanwhile
// is not overwritten silently: the user is asked first.
#pragma once

#include <QString>
#include <QVariant>
#include <functional>

namespace billprint {

class Database;

inline const QString kRowVersionColumn = QStringLiteral("RowVersion");

// The question put when a row changed since the window read it.
inline const QString kChangedElsewhereQuestion = QStringLiteral("该记录已被其他用户修改，是否覆盖？");

enum class RowSave {
    Saved,             // written; the record holds the row's new version
    ChangedElsewhere,  // another desk saved the row since it was read; nothing written
    Failed,            // the database refused; nothing written
};

// One row of a table with a version: table and key column are names of
// this program, the key a bound value.
struct VersionedRow
{
    QString table;
    QString keyColumn;
    QVariant key;
};

enum class VersionStep { Raised, ChangedElsewhere, NoRow, Failed };

// Raises the row's version by one while it still is `readVersion` (or
// whatever it is, with `overwrite`); `newVersion` receives the raised
// version. Run it inside the transaction that writes the row, so the row
// and its version change together or not at all.
VersionStep raiseRowVersion(const Database &db, const VersionedRow &row, int readVersion, bool overwrite,
                            int *newVersion, QString *error);

// Runs `save` keeping a row changed elsewhere; when it was, asks
// kChangedElsewhereQuestion and, answered Yes, runs `save` again
// overwriting it. ChangedElsewhere means the user said No.
RowSave saveAskingBeforeOverwrite(const std::function<RowSave(bool overwrite)> &save);

} // namespace billprint
