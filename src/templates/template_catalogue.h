#pragma once

#include <QString>

namespace billprint {

class Database;

// The changes the template catalogue makes to whole templates: clone,
// rename, delete. Each is one transaction; a picture file is copied or
// removed only together with its rows. Database failures throw
// TemplateError; refusals the user should read come back as `message`.
class TemplateCatalogue
{
public:
    TemplateCatalogue(const Database &db, QString imageFolder) : m_db(db), m_imageFolder(std::move(imageFolder)) {}

    // The last name a user typed, without blanks, parentheses and the
    // characters that break names in queries; empty when nothing is left.
    static QString cleanLastName(const QString &answer);

    // Copies a template with its fields and picture under family（answer）.
    // Returns the new id, or 0 with `message` when refused.
    int cloneTemplate(int sourceId, const QString &answer, QString *message) const;
    // Gives a template a new last name. False with `message` when refused.
    bool renameTemplate(int id, const QString &answer, QString *message) const;
    // Removes a template, its fields, its dictionary rows and its picture
    // (unless another template shows the same picture). False when there
    // is no such template.
    bool deleteTemplate(int id) const;

private:
    const Database &m_db;
    QString m_imageFolder;
};

} // namespace billprint
