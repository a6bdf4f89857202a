// A connection of its own to a template package file, for reading a
// stranger's package or writing a new one.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

namespace billprint {

class PackageConnection
{
public:
    PackageConnection();
    ~PackageConnection();
    PackageConnection(const PackageConnection &) = delete;
    PackageConnection &operator=(const PackageConnection &) = delete;

    // Opens a stranger's file: read-only and immutable, so nothing (not a
    // journal roll-back either) ever writes it.
    bool openForReading(const QString &path, QString *error);
    bool openForWriting(const QString &path, QString *error);
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    bool exec(const QString &sql, QString *error, const QVariantList &values = {});
    // The first row a query gives, or an empty list when it gives none;
    // `error` is set (as a refusal of the package) when the query fails.
    QVariantList firstRow(const QString &sql, const QVariantList &values, QString *error);

private:
    QString m_name;
};

// The message refusing a package, for `why`.
QString refusePackage(const QString &why);

} // namespace billprint
