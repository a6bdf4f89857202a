#include "templates/check_ini_cache.h"

#include "app/app_context.h"
#include "app/database.h"
#include "app/ini_file.h"
#include "app/lookups.h"
#include "app/system_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace billprint {

namespace {

const QString kView = QStringLiteral("view");
const QString kConfigItems = QStringLiteral("ConfigItems");
const QString kCheckConfig = QStringLiteral("CheckConfig");

// Section and key suffix of each cached column.
struct CachedColumn
{
    const char *section;
    const char *suffix;
};
constexpr CachedColumn kX{"viewx", ".x"};
constexpr CachedColumn kY{"viewy", ".y"};
constexpr CachedColumn kH{"viewh", ".h"};
constexpr CachedColumn kW{"vieww", ".w"};
constexpr CachedColumn kV{"viewv", ".v"};
constexpr CachedColumn kDV{"viewdv", ".dv"};

QString sectionOf(const CachedColumn &c) { return QLatin1String(c.section); }
QString keyOf(const CachedColumn &c, const QString &name) { return name + QLatin1String(c.suffix); }

QString failure(const QString &what, const QSqlQuery &q)
{
    return what + QLatin1Char(' ') + q.lastError().text();
}

// Runs a read with bound values; false with `error` on failure.
bool run(QSqlQuery &q, const QVariantList &values, QString *error, const QString &what)
{
    q.setForwardOnly(true);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        *error = failure(what, q);
        return false;
    }
    return true;
}

bool writeFieldNames(const Database &db, const QString &family, IniFile &ini, QString *error)
{
    QSqlQuery q = db.prepare(QStringLiteral("select CtlName from NameDict where CheckTypeName=? order by Id"));
    if (!run(q, {family}, error, QStringLiteral("NameDict:")))
        return false;
    QString names;
    while (q.next())
        names += q.value(0).toString() + QLatin1Char(',');
    ini.writeString(kView, kConfigItems, names);
    return true;
}

bool writeFieldBoxes(const Database &db, int id, IniFile &ini, QString *error)
{
    QSqlQuery q = db.prepare(QStringLiteral(
        "select upper(CtlName), SrcX, SrcY, SrcH, SrcW, NeedShow, InitValue from CkControl "
        "where CheckTypeID=? order by ID"));
    if (!run(q, {id}, error, QStringLiteral("CkControl:")))
        return false;
    const CachedColumn columns[] = {kX, kY, kH, kW, kV, kDV};
    while (q.next()) {
        const QString name = q.value(0).toString();
        if (name.isEmpty())
            continue;
        for (int i = 0; i < 6; ++i)
            ini.writeString(sectionOf(columns[i]), keyOf(columns[i], name), q.value(i + 1).toString());
    }
    return true;
}

bool writeOptions(const Database &db, int id, IniFile &ini, QString *error)
{
    QSqlQuery q = db.prepare(QStringLiteral(
        "select DMName, DMValue from DMTable where CheckTypeId=? and DMName like 'cfg%' order by ID"));
    if (!run(q, {id}, error, QStringLiteral("DMTable:")))
        return false;
    while (q.next())
        ini.writeString(kCheckConfig, q.value(0).toString().trimmed(), q.value(1).toString());
    return true;
}

} // namespace

CheckIniCache::CheckIniCache(const Database &db, QString folder) : m_db(db), m_folder(std::move(folder)) {}

CheckIniCache::CheckIniCache(AppContext &context)
    : CheckIniCache(context.db(), context.dataRoot().checkIniFolder())
{
}

QString CheckIniCache::cacheFileName(int checkTypeId)
{
    return QString::number(checkTypeId) + QLatin1String(".ini");
}

QString CheckIniCache::cacheFilePath(int checkTypeId) const
{
    return QDir(m_folder).filePath(cacheFileName(checkTypeId));
}

bool CheckIniCache::isCurrent(int checkTypeId) const
{
    const QVariant recorded = m_db.scalar(
        QStringLiteral("select IniFile from CKTypeTable where CheckTypeID=? and IniFile<>'' and IniFile is not null"),
        {checkTypeId});
    // The recorded name must be this template's own file: a row copied from
    // another template would otherwise read that template's layout. A file
    // removed behind the program's back is rebuilt rather than read empty,
    // which would hide every field.
    return recorded.isValid()
        && recorded.toString().trimmed().compare(cacheFileName(checkTypeId), Qt::CaseInsensitive) == 0
        && QFileInfo::exists(cacheFilePath(checkTypeId));
}

std::unique_ptr<IniFile> CheckIniCache::OpenCheckInif(int checkTypeId) const
{
    if (checkTypeId <= 0)
        return nullptr;
    if (!isCurrent(checkTypeId)) {
        QString error;
        if (std::unique_ptr<IniFile> built = build(checkTypeId, &error))
            return built;
    }
    QDir().mkpath(m_folder);
    return std::make_unique<IniFile>(cacheFilePath(checkTypeId));
}

bool CheckIniCache::buildCheckIniFile(int checkTypeId, QString *error) const
{
    QString message;
    const bool ok = build(checkTypeId, &message) != nullptr;
    if (!ok)
        m_db.exec(QStringLiteral("update CKTypeTable set IniFile='' where CheckTypeID=?"), {checkTypeId});
    if (error)
        *error = message;
    return ok;
}

std::unique_ptr<IniFile> CheckIniCache::build(int checkTypeId, QString *error) const
{
    if (!QDir().mkpath(m_folder)) {
        *error = QStringLiteral("cannot create ") + m_folder;
        return nullptr;
    }
    if (!m_db.scalar(QStringLiteral("select 1 from CKTypeTable where CheckTypeID=?"), {checkTypeId}).isValid()) {
        *error = QStringLiteral("no template %1").arg(checkTypeId);
        return nullptr;
    }
    auto ini = std::make_unique<IniFile>(cacheFilePath(checkTypeId));
    ini->setWriteThrough(false);  // one write of the whole file at the end
    for (const char *section : {"view", "viewx", "viewy", "viewh", "vieww", "viewv", "viewdv", "CheckConfig"})
        ini->eraseSection(QLatin1String(section));

    Lookups lookups(m_db);
    const QString family = lookups.loadCheckTypeFirstNameByID(checkTypeId);
    if (!lookups.lastError().isEmpty()) {
        *error = lookups.lastError();
        return nullptr;
    }
    // One snapshot of the three tables, so a designer saving meanwhile
    // cannot leave a half-old cache recorded as current.
    const bool read = m_db.transaction([&] {
        return writeFieldNames(m_db, family, *ini, error) && writeFieldBoxes(m_db, checkTypeId, *ini, error)
            && writeOptions(m_db, checkTypeId, *ini, error);
    });
    if (!read) {
        if (error->isEmpty())
            *error = QStringLiteral("cannot read the template tables");
        return nullptr;
    }
    if (!ini->flush()) {
        *error = ini->lastError();
        return nullptr;
    }
    // Recorded only after the file is complete on disk. Databases of early
    // versions have no place for the mark yet: it is added on the spot.
    const QString table = QStringLiteral("CKTypeTable");
    const QString column = QStringLiteral("IniFile");
    if (!TDBTable::ColumnExists(table, column, m_db)
        && !TDBTable::AddColumn(table, column, m_db, QStringLiteral("50"), QStringLiteral("String"))) {
        *error = QStringLiteral("cannot add CKTypeTable.IniFile");
        return nullptr;
    }
    if (!m_db.exec(QStringLiteral("update CKTypeTable set IniFile=? where CheckTypeID=?"),
                   {cacheFileName(checkTypeId), checkTypeId}, error))
        return nullptr;
    ini->setWriteThrough(true);
    return ini;
}

FieldPlacement CheckIniCache::readFieldPlacement(const IniFile &ini, const QString &fieldName)
{
    FieldPlacement p;
    p.x = ini.readInteger(sectionOf(kX), keyOf(kX, fieldName), p.x);
    p.y = ini.readInteger(sectionOf(kY), keyOf(kY, fieldName), p.y);
    p.width = ini.readInteger(sectionOf(kW), keyOf(kW, fieldName), p.width);
    p.height = ini.readInteger(sectionOf(kH), keyOf(kH, fieldName), p.height);
    p.visible = ini.readInteger(sectionOf(kV), keyOf(kV, fieldName), 0) != 0;
    p.initValue = ini.readString(sectionOf(kDV), keyOf(kDV, fieldName));
    return p;
}

QStringList CheckIniCache::configItems(const IniFile &ini)
{
    QStringList names = ini.readString(kView, kConfigItems).split(QLatin1Char(','));
    names.removeAll(QString());
    return names;
}

QString CheckIniCache::checkConfig(const IniFile *ini, const QString &optionName)
{
    return AppContext::getInifCheckConfigByName(ini, optionName);
}

bool CheckIniCache::checkConfigFlag(const IniFile *ini, const QString &optionName, bool onUnlessZero)
{
    const QString value = checkConfig(ini, optionName).trimmed();
    return onUnlessZero ? value != QLatin1String("0") : value == QLatin1String("1");
}

} // namespace billprint
