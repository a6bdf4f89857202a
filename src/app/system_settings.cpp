#include "app/system_settings.h"

#include "app/alert.h"
#include "app/database.h"

#include <QSqlError>
#include <QRegularExpression>
#include <QSqlQuery>

namespace billprint {

// One rule finds a setting for reading and for writing: the name trimmed
// and without regard to letter case, so a row stored as " Ms Excel First"
// is the one both read and changed, and never gets a twin.
static const QString kNameMatches = QStringLiteral("lower(trim(cname))=lower(trim(?))");

QString SystemSettings::getConfigByname(const QString &name) const
{
    QSqlQuery q = m_db.prepare(QStringLiteral("select cvalue from configtable where %1 limit 1")
                                   .arg(kNameMatches));
    q.addBindValue(name);
    if (!q.exec() || !q.next())
        return QString();
    return q.value(0).toString();
}

bool SystemSettings::setConfigByname(const QString &name, const QString &value, QString *error) const
{
    int changed = 0;
    if (!m_db.exec(QStringLiteral("update configtable set cvalue=? where %1").arg(kNameMatches), {value, name},
                   error, &changed))
        return false;
    if (changed > 0)
        return true;
    return m_db.exec(QStringLiteral("insert into configtable (cvalue,cname) values(?,?)"),
                     {value, name.trimmed()}, error);
}

bool SystemSettings::isOnText(const QString &value)
{
    const QString v = value.trimmed();
    return v.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 || v == QLatin1String("1");
}

bool SystemSettings::isOn(const QString &name) const
{
    return isOnText(getConfigByname(name));
}

bool SystemSettings::setOn(const QString &name, bool on, QString *error) const
{
    return setConfigByname(name, on ? QStringLiteral("yes") : QStringLiteral("no"), error);
}

bool SystemSettings::setCheckConfigByName(int checkTypeId, const QString &name,
                                          const QString &value) const
{
    QString error;
    int changed = 0;
    const bool ok = m_db.transaction([&] {
        if (!m_db.exec(QStringLiteral("update DMTable set DMValue=? where ID=(select ID from DMTable "
                                      "where CheckTypeID=? and upper(DMName)=upper(?) "
                                      "order by ID limit 1)"),
                       {value, checkTypeId, name}, &error, &changed))
            return false;
        if (changed > 0)
            return true;
        return m_db.exec(QStringLiteral("insert into DMTable (CheckTypeID, DMName, DMValue) values(?,?,?)"),
                         {checkTypeId, name, value}, &error);
    }, &error);
    if (!ok)
        tell(name + QStringLiteral("设置模板参数错误:") + error, QStringLiteral("错误"), AlertIcon::Error);
    return ok;
}

QString SystemSettings::getCheckConfigByName(int checkTypeId, const QString &name) const
{
    return m_db.scalar(QStringLiteral("select DMValue from DMTable where CheckTypeID=? and "
                                      "upper(DMName)=upper(?) order by ID limit 1"),
                       {checkTypeId, name}).toString();
}

int SystemSettings::CountTableAllRows(const QString &table) const
{
    QSqlQuery q(m_db.connection());
    if (m_db.run(q, QStringLiteral("select count(*) from ") + quoteIdentifier(table)) && q.next())
        return q.value(0).toInt();
    tell(QStringLiteral("计算表格总数失败:") + table + QLatin1Char('-') + q.lastError().text(),
         QStringLiteral("错误"), AlertIcon::Error);
    return 0;
}

namespace TDBTable {

bool ColumnExists(const QString &table, const QString &column, const Database &db)
{
    if (!db.tableExists(table))
        return false;
    for (const QString &name : db.columnNames(table))
        if (name.compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString ColumnSqlType(const QString &size, const QString &type)
{
    QString kind = type.trimmed().toLower();
    if (kind == QLatin1String("text") || kind == QLatin1String("string"))
        kind = QStringLiteral("varchar");
    else if (kind == QLatin1String("numeric") || kind == QLatin1String("number"))
        kind = QStringLiteral("long");
    else if (kind == QLatin1String("integer"))
        kind = QStringLiteral("int");

    QString sqlType;
    if (kind == QLatin1String("varchar"))
        sqlType = QStringLiteral("VARCHAR(%1)").arg(size.trimmed().isEmpty() ? QStringLiteral("50")
                                                                             : size.trimmed());
    else if (kind == QLatin1String("long") || kind == QLatin1String("int"))
        sqlType = QStringLiteral("INTEGER");
    else
        sqlType = type.trimmed();
    // A type is a keyword with an optional size, never free text.
    static const QRegularExpression safeType(QStringLiteral("^[A-Za-z ]+(\\(\\d+(,\\d+)?\\))?$"));
    return safeType.match(sqlType).hasMatch() ? sqlType : QString();
}

bool AddColumn(const QString &table, const QString &column, const Database &db,
               const QString &size, const QString &type, QString *error)
{
    const QString sqlType = ColumnSqlType(size, type);
    if (sqlType.isEmpty()) {
        if (error)
            *error = QStringLiteral("unsupported column type: ") + type;
        return false;
    }
    return db.exec(QStringLiteral("alter table %1 ADD column %2 %3")
                       .arg(quoteIdentifier(table), quoteIdentifier(column), sqlType),
                   {}, error);
}

} // namespace TDBTable

} // namespace billprint
