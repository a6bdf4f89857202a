#include "app/database_backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QUuid>
#include <cstdio>
#include <sqlite3.h>

namespace billprint {

namespace {

// The connection's own handle; Qt's SQLite driver and this file use the
// same system SQLite library.
sqlite3 *handleOf(const QSqlDatabase &db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(v.constData());
}

// Copies every page of `from`.`fromSchema` into `to`.`toSchema`.
bool copyPages(sqlite3 *to, const char *toSchema, sqlite3 *from, const char *fromSchema, QString *error)
{
    sqlite3_backup *backup = sqlite3_backup_init(to, toSchema, from, fromSchema);
    if (!backup) {
        *error = QString::fromUtf8(sqlite3_errmsg(to));
        return false;
    }
    const int step = sqlite3_backup_step(backup, -1);
    const int finish = sqlite3_backup_finish(backup);
    if (step != SQLITE_DONE || finish != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(to));
        return false;
    }
    return true;
}

// A second connection to a file, closed with the object.
class FileHandle
{
public:
    FileHandle(const QString &path, int flags)
    {
        m_rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
    }
    ~FileHandle() { sqlite3_close(m_db); }
    sqlite3 *get() const { return m_rc == SQLITE_OK ? m_db : nullptr; }
    QString error() const { return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory"); }

private:
    sqlite3 *m_db = nullptr;
    int m_rc = SQLITE_ERROR;
};

} // namespace

bool backupDatabaseFile(const QSqlDatabase &db, const QString &schema, const QString &target, QString *error)
{
    QString ignored;
    QString &why = error ? *error : ignored;
    sqlite3 *source = handleOf(db);
    if (!source) {
        why = QStringLiteral("no open SQLite connection");
        return false;
    }
    const QFileInfo info(target);
    const QString temporary = info.absoluteDir().filePath(
        QStringLiteral(".%1.%2.tmp").arg(info.fileName(), QUuid::createUuid().toString(QUuid::Id128)));
    bool ok = false;
    {
        FileHandle copy(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (!copy.get())
            why = copy.error();
        else
            ok = copyPages(copy.get(), "main", source, schema.toUtf8().constData(), &why);
    }
    // rename() replaces an existing target in one step.
    if (ok && std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        why = QStringLiteral("cannot rename the copy to %1").arg(QDir::toNativeSeparators(target));
        ok = false;
    }
    if (!ok)
        QFile::remove(temporary);
    return ok;
}

bool restoreDatabaseFile(const QSqlDatabase &db, const QString &schema, const QString &source, QString *error)
{
    QString ignored;
    QString &why = error ? *error : ignored;
    sqlite3 *target = handleOf(db);
    if (!target) {
        why = QStringLiteral("no open SQLite connection");
        return false;
    }
    FileHandle copy(source, SQLITE_OPEN_READONLY);
    if (!copy.get()) {
        why = copy.error();
        return false;
    }
    return copyPages(target, schema.toUtf8().constData(), copy.get(), "main", &why);
}

QString unusedFileName(const QString &path)
{
    QString candidate = path;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = path + QLatin1Char('-') + QString::number(n);
    return candidate;
}

} // namespace billprint
