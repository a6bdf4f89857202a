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
    // Why this template cannot be imported (bad id, no name, a picture
    // that is no picture); empty when it can. The other templates of the
    // package stay importable.
    QString problem;

    // The name the user sees: the full name, or the package's number for
    // a template without one.
    QString shownName() const;
};

// A template package (.tpk): an SQLite file of our own schema with the
// tables _CKTypeTable, _ckControl, _Config and _NameDict.
//
// Packages come from strangers, so reading one trusts nothing in it: the
// file is opened read-only and immutable (never written, not even a
// journal), without trusted schema; every object of its schema must be a
// plain table or an index on plain columns (no view, trigger, virtual
// table, generated or hidden column); the tables and columns are checked
// before any row is read; limits bound what it may hold. A package that breaks any
// of these rules is refused as a whole; a single bad template only has
// its `problem` set.
class TemplatePackage
{
public:
    // Limits on what a package may hold, checked in SQL before the rows
    // are fetched: a package beyond any of them is refused as a whole.
    static constexpr qint64 MaxPackageBytes = 200LL * 1024 * 1024;  // the file, checked before opening
    static constexpr int MaxSchemaObjects = 64;                     // tables and indexes
    static constexpr int MaxTemplates = 1000;
    static constexpr int MaxFieldsPerTemplate = 2000;  // also dictionary rows per template, names per family
    static constexpr int MaxRowsPerTable = 32000;      // fields, dictionary rows, names
    static constexpr qint64 MaxPictureBytes = 20LL * 1024 * 1024;
    static constexpr qint64 MaxTextBytes = 64LL * 1024;                      // one value
    static constexpr qint64 MaxTextBytesInPackage = 32LL * 1024 * 1024;      // all of them

    // Reads and checks the whole package. Null with `error` set when it is
    // refused.
    static std::unique_ptr<TemplatePackage> read(const QString &path, QString *error);

    const std::vector<PackageTemplate> &templates() const { return m_templates; }
    // The template listed under `shownName`; null when there is none.
    const PackageTemplate *find(const QString &shownName) const;

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

// A package template that was not imported, and why.
struct RefusedTemplate
{
    QString name;
    QString why;
};

// What an import did.
struct ImportReport
{
    QList<int> ids;                        // the new template ids, in order
    std::vector<RefusedTemplate> refused;  // templates the package cannot give
    QStringList withoutPicture;            // imported, but their package had no picture
};

// Puts templates of a package into the database and their pictures into
// the picture folder, all in one transaction: when any template fails,
// the database and the picture folder are left as they were.
//
// A template replacing one of the same name (ExistingName::Replace) takes
// over its default and common marks and its place in the common order, so
// a family never loses its default to an update.
class PackageImporter
{
public:
    PackageImporter(const Database &db, QString imageFolder) : m_db(db), m_imageFolder(std::move(imageFolder)) {}

    // Imports `chosen` (shown names; all templates when empty), all or
    // nothing: a chosen template with a problem refuses the import.
    // Returns the new template ids in order, or an empty list with `error`.
    QList<int> import(const TemplatePackage &package, const QStringList &chosen, ExistingName existing,
                      QString *error) const;
    // Imports the chosen templates that have no problem, in one
    // transaction, and lists the others in `report->refused`. False with
    // `error` when a name is not in the package or the transaction failed
    // (then nothing was imported).
    bool importAvailable(const TemplatePackage &package, const QStringList &chosen, ExistingName existing,
                         ImportReport *report, QString *error) const;

    // Told after each template with the templates done and the total.
    std::function<void(int done, int total)> progress;

private:
    bool chooseSources(const TemplatePackage &package, const QStringList &chosen,
                       std::vector<const PackageTemplate *> *sources, QString *error) const;
    int importOne(const PackageTemplate &source, ExistingName existing, ImportReport *report,
                  std::vector<std::pair<QString, QByteArray>> *replacedFiles) const;
    QString freeFullName(const QString &first, const QString &last, QString *newLast) const;

    const Database &m_db;
    QString m_imageFolder;
};

} // namespace billprint
