#pragma once

#include <QString>
#include <QStringList>

namespace billprint {

class Database;

// Clears what the program can rebuild: rows of unknown bill families,
// orphan template rows and options, every template's INI cache mark, and
// pictures no template uses (pictures with "SYS_" in their name are kept).
class CacheCleaner
{
public:
    struct Result
    {
        bool databaseOk = true;
        QString databaseError;
        QStringList removedPictures;
    };

    CacheCleaner(const Database &db, QString imageFolder)
        : m_db(db), m_imageFolder(std::move(imageFolder)) {}

    Result run() const;

    // The bill families whose rows are kept.
    static QStringList knownFamilies();

private:
    bool cleanDatabase(QString *error) const;
    QStringList cleanPictures() const;

    const Database &m_db;
    QString m_imageFolder;
};

} // namespace billprint
