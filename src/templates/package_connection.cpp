#include "templates/package_connection.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUuid>

namespace billprint {

namespace {

bool open(QSqlDatabase &db, QString *error)
{
    if (db.open())
        return true;
    *error = db.lastError().text();
    return false;
}

} // namespace

QString refusePackage(const QString &why)
{
    return QStringLiteral("票据包无法导入：") + why;
}

PackageConnection::PackageConnection()
    : m_name(QStringLiteral("package-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

PackageConnection::~PackageConnection()
{
    { QSqlDatabase db = QSqlDatabase::database(m_name, false); db.close(); }
    QSqlDatabase::removeDatabase(m_name);
}

bool PackageConnection::openForReading(const QString &path, QString *error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(QStringLiteral("file:") + QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).path(QUrl::FullyEncoded)
                       + QStringLiteral("?mode=ro&immutable=1"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    return open(db, error) && exec(QStringLiteral("PRAGMA trusted_schema=OFF"), error);
}

bool PackageConnection::openForWriting(const QString &path, QString *error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    return open(db, error);
}

bool PackageConnection::exec(const QString &sql, QString *error, const QVariantList &values)
{
    QSqlQuery q(db());
    if (q.prepare(sql)) {
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (q.exec())
            return true;
    }
    *error = q.lastError().text();
    return false;
}

QVariantList PackageConnection::firstRow(const QString &sql, const QVariantList &values, QString *error)
{
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        *error = refusePackage(q.lastError().text());
        return {};
    }
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        *error = refusePackage(q.lastError().text());
        return {};
    }
    QVariantList row;
    if (q.next())
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
    return row;
}

} // namespace billprint
