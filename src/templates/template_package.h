#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <vector>

namespace billprint {

class Database;

// One template as a package carries it: its row, its fields, the family's
// field catalogue, its dictionary rows and its picture bytes. Rows are kept
// as column name (lower case) -> value.
struct PackageTemplate
{
    int packageId = 0;
    QString typeName;
    QVariantMap row;
    std::vector<QVariantMap> fields;
    std::vector<QVariantMap> nameDict;
    std::vector<QVariantMap> dictionary;
    QByteArray picture;
};

// A template package (.tpk): an SQLite file of our own schema with the
// tables _CKTypeTable, _ckControl, _Config and _NameDict.
//
// Packages come from strangers, so reading one trusts nothing in it: the
// file is opened read-only and immutable (never written, not even a
// journal), without trusted schema; every object of its schema must be a
// plain table or index; the tables and columns are checked before any
// row is read; limits bound what it may hold. A package that breaks any
// rule is refused as a whole.
class TemplatePackage
{
public:
    static constexpr int MaxTemplates = 1000;
    static constexpr qint64 MaxPictureBytes = 20LL * 1024 * 1024;
    static constexpr qint64 MaxTextBytes = 64LL * 1024;

    // Reads and checks the whole package. Null with `error` set when it is
    // refused.
    static std::unique_ptr<TemplatePackage> read(const QString &path, QString *error);

    const std::vector<PackageTemplate> &templates() const { return m_templates; }
    const PackageTemplate *find(const QString &typeName) const;

    // Writes the templates `ids` of `db` with their fields, family
    // catalogue, dictionary rows and pictures into a new package at
    // `outPath`, replacing it atomically. False with `error` when a
    // template is missing or a write fails; the target is then untouched.
    static bool write(const Database &db, const QString &imageFolder, const QList<int> &ids,
                      const QString &outPath, QString *error);

    // True for a picture file name that stays inside the picture folder.
    static bool isSafePictureName(const QString &name);

private:
    std::vector<PackageTemplate> m_templates;
};

// What happens to a package template whose full name is already taken.
enum class ExistingName { Replace, MakeUnique };

// Puts templates of a package into the database and their pictures into
// the picture folder, all in one transaction: when any template fails,
// the database and the picture folder are left as they were.
class PackageImporter
{
public:
    PackageImporter(const Database &db, QString imageFolder) : m_db(db), m_imageFolder(std::move(imageFolder)) {}

    // Imports `chosen` (full names; all templates when empty). Returns the
    // new template ids in order, or an empty list with `error` set.
    QList<int> import(const TemplatePackage &package, const QStringList &chosen, ExistingName existing,
                      QString *error) const;

    // Told after each template with the templates done and the total.
    std::function<void(int done, int total)> progress;

private:
    int importOne(const PackageTemplate &source, ExistingName existing,
                  std::vector<std::pair<QString, QByteArray>> *replacedFiles) const;
    QString freeFullName(const QString &first, const QString &last, QString *newLast) const;

    const Database &m_db;
    QString m_imageFolder;
};

} // namespace billprint
