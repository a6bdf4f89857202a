// Reading a template package: checked as a whole (package_checks.h), then
// its rows gathered into templates, each with what keeps it from being
// imported. Writing one lives in template_package_export.cpp, importing
// in package_importer.cpp.
#include "templates/template_package.h"

#include "templates/check_type.h"
#include "templates/package_checks.h"
#include "templates/package_connection.h"

#include <QFileInfo>
#include <QHash>
#include <QImage>

namespace billprint {

namespace {

// Why a template of the package cannot be imported; empty when it can.
QString problemOf(const PackageTemplate &t)
{
    if (t.packageId <= 0)
        return QStringLiteral("模板编号无效：%1").arg(t.packageId);
    if (t.typeName.trimmed().isEmpty())
        return QStringLiteral("模板没有名称");
    const QString imgFile = t.row.value(QStringLiteral("imgfile")).toString();
    if (!imgFile.isEmpty() && !TemplatePackage::isSafePictureName(imgFile))
        return QStringLiteral("底图名称不安全：") + imgFile;
    if (!t.picture.isEmpty() && QImage::fromData(t.picture).isNull())
        return QStringLiteral("底图不是可读的图片");
    return {};
}

} // namespace

bool TemplatePackage::isSafePictureName(const QString &name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name.contains(QLatin1Char(':')) || name == QLatin1String(".") || name == QLatin1String("..")
        || name.contains(QChar(0)))
        return false;
    return !name.startsWith(QLatin1Char('.'));
}

QString PackageTemplate::shownName() const
{
    return typeName.trimmed().isEmpty() ? QStringLiteral("（无名称，包中编号%1）").arg(packageId) : typeName;
}

const PackageTemplate *TemplatePackage::find(const QString &shownName) const
{
    for (const PackageTemplate &t : m_templates)
        if (t.shownName() == shownName)
            return &t;
    return nullptr;
}

std::unique_ptr<TemplatePackage> TemplatePackage::read(const QString &path, QString *error)
{
    error->clear();
    const QFileInfo file(path);
    if (!file.isFile() || !looksLikeSqlite(path)) {
        *error = refusePackage(QStringLiteral("不是票据包文件：") + path);
        return nullptr;
    }
    if (file.size() > MaxPackageBytes) {
        *error = refusePackage(QStringLiteral("文件超过 %1 MB").arg(MaxPackageBytes / (1024 * 1024)));
        return nullptr;
    }
    PackageConnection c;
    QStringList optional;
    std::vector<QVariantMap> types, fields, config, nameDict;
    qint64 textBytes = 0;
    if (!c.openForReading(path, error) || !checkPackage(c, &optional, error)
        || !readPackageRows(c, QStringLiteral("_CKTypeTable"), &types, &textBytes, error)
        || !readPackageRows(c, QStringLiteral("_ckControl"), &fields, &textBytes, error)
        || !readPackageRows(c, QStringLiteral("_Config"), &config, &textBytes, error)
        || (optional.contains(QLatin1String("_NameDict"))
            && !readPackageRows(c, QStringLiteral("_NameDict"), &nameDict, &textBytes, error)))
        return nullptr;

    // Rows by the template (or family) they belong to, gathered in one
    // pass rather than once per template.
    QHash<int, std::vector<QVariantMap>> fieldsOf, dictionaryOf;
    QHash<QString, std::vector<QVariantMap>> namesOf;
    for (QVariantMap &f : fields)
        fieldsOf[f.value(QStringLiteral("checktypeid")).toInt()].push_back(std::move(f));
    for (QVariantMap &d : config)
        if (d.value(QStringLiteral("dmname")).toString() != QLatin1String("version"))
            dictionaryOf[d.value(QStringLiteral("checktypeid")).toInt()].push_back(std::move(d));
    for (QVariantMap &n : nameDict)
        namesOf[n.value(QStringLiteral("checktypename")).toString()].push_back(std::move(n));

    auto package = std::make_unique<TemplatePackage>();
    for (QVariantMap &row : types) {
        PackageTemplate t;
        t.packageId = row.value(QStringLiteral("checktypeid")).toInt();
        t.typeName = row.value(QStringLiteral("typename")).toString();
        t.picture = row.take(QStringLiteral("img_bytes")).toByteArray();
        t.row = row;
        t.problem = problemOf(t);
        const QString family = TCheckType::firstNameOf(row.value(QStringLiteral("typefirstname")).toString(), t.typeName);
        t.fields = fieldsOf.value(t.packageId);
        t.dictionary = dictionaryOf.value(t.packageId);
        t.nameDict = namesOf.value(family);
        package->m_templates.push_back(std::move(t));
    }
    return package;
}

} // namespace billprint
