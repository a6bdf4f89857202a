#include "app/cache_cleaner.h"

#include "app/database.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

namespace billprint {

QStringList CacheCleaner::knownFamilies()
{
    return {QStringLiteral("支票"), QStringLiteral("进账单"), QStringLiteral("缴款单"),
            QStringLiteral("定制单"), QStringLiteral("快递单")};
}

CacheCleaner::Result CacheCleaner::run() const
{
    Result result;
    result.databaseOk = cleanDatabase(&result.databaseError);
    result.removedPictures = cleanPictures();
    return result;
}

bool CacheCleaner::cleanDatabase(QString *error) const
{
    const QStringList families = knownFamilies();
    const QString placeholders = QStringLiteral("?,?,?,?,?");
    QVariantList familyValues;
    for (const QString &f : families)
        familyValues << f;

    // All or nothing: a half-cleaned catalogue would leave templates
    // without fields.
    return m_db.transaction([&] {
        return m_db.exec(QStringLiteral("DELETE FROM NAMEDICT WHERE CheckTypeName not in(%1)").arg(placeholders),
                         familyValues, error)
            && m_db.exec(QStringLiteral("DELETE FROM CKTYPETABLE WHERE TypeFirstName not in(%1)").arg(placeholders),
                         familyValues, error)
            && m_db.exec(QStringLiteral("update ckTypeTable set IniFile=''"), {}, error)
            && m_db.exec(QStringLiteral("DELETE FROM ckTypeTable WHERE TypeFirstName<>'' and TypeFirstName is not null "
                                        "and TypeFirstName not in(select CheckTypeName from namedict)"), {}, error)
            && m_db.exec(QStringLiteral("DELETE FROM ckcontrol WHERE checktypeid not in(select checktypeid from cktypetable)"),
                         {}, error)
            && m_db.exec(QStringLiteral("DELETE FROM ckcontrol WHERE upper(ctlName) not in(select upper(CtlName) from namedict)"),
                         {}, error)
            && m_db.exec(QStringLiteral("DELETE FROM DMTable WHERE checktypeid not in(select checktypeid from cktypetable) "
                                        "and CheckTypeid<>0"), {}, error);
    }, error);
}

QStringList CacheCleaner::cleanPictures() const
{
    QStringList used;
    QSqlQuery q(m_db.connection());
    if (m_db.run(q, QStringLiteral("select ImgFile from CKTypeTable")))
        while (q.next())
            used << q.value(0).toString().toUpper();

    QStringList removed;
    const QDir dir(m_imageFolder);
    const QStringList pictures =
        dir.entryList({QStringLiteral("*.jpg")}, QDir::Files); // filters ignore letter case
    for (const QString &name : pictures) {
        const QString upper = name.toUpper();
        if (upper.contains(QLatin1String("SYS_")))
            continue;
        const bool inUse = std::any_of(used.begin(), used.end(),
                                       [&](const QString &img) { return img.contains(upper); });
        if (inUse)
            continue;
        if (QFile::remove(dir.filePath(name)))
            removed << name;
    }
    return removed;
}

} // namespace billprint
