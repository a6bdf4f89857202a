#pragma once

#include <QString>
#include <QStringList>

namespace billprint {

class Database;

// Template pictures of an office sharing one database. Each desk shows and
// prints a template's picture from its own picture folder (Image/); when
// the database is shared, the pictures also live in the database (table
// TemplatePicture), so that a template designed at one desk is shown at
// every desk: a desk publishes a picture it set, and fetches a picture it
// lacks (or holds in another version) before showing it.
//
// With a desk's own database nothing is stored: every operation succeeds
// without touching the database or the folder, as before pictures were
// shared.
class TemplatePictureStore
{
public:
    // Pictures larger than this are neither stored nor fetched: a template
    // picture is a scanned form of a few hundred kilobytes, and a desk
    // must not be made to hold an arbitrary blob in memory.
    static constexpr qint64 MaxPictureBytes = 20 * 1024 * 1024;

    TemplatePictureStore(const Database &db, QString imageFolder);

    // Whether the pictures of `db` travel through it: when it is an
    // office's shared (PostgreSQL) database.
    static bool sharesPictures(const Database &db);
    // Forces sharing on (or off) for every store made while it lives,
    // whatever the engine: the tests share pictures on SQLite.
    class ForcedSharing
    {
    public:
        explicit ForcedSharing(bool shared);
        ~ForcedSharing();
        ForcedSharing(const ForcedSharing &) = delete;
        ForcedSharing &operator=(const ForcedSharing &) = delete;

    private:
        int m_previous;
    };

    bool shared() const { return m_shared; }
    void setShared(bool shared) { m_shared = shared; }

    // Stores the picture folder's file `fileName` in the database, over a
    // stored picture of the same name. Runs in the caller's transaction
    // when there is one. False with `error` when the file cannot be read,
    // is too large or the database refuses it.
    bool publish(const QString &fileName, QString *error) const;
    // Writes the stored picture `fileName` into the picture folder when the
    // folder lacks it or holds another version; a name the database does
    // not hold leaves the folder as it is. False with `error` (and nothing
    // written) when the stored picture is too large, damaged or cannot be
    // written.
    bool ensureLocal(const QString &fileName, QString *error) const;
    // Publishes the picture of every template that names one, in one
    // transaction. Pictures named but missing from the folder are skipped
    // and listed in `missing`. False with `error` when one fails (then none
    // is stored).
    bool publishAll(QStringList *missing, QString *error) const;
    // Removes a stored picture no template names any more.
    bool forget(const QString &fileName, QString *error) const;

private:
    bool store(const QString &fileName, QString *error) const;
    QString path(const QString &fileName) const { return m_imageFolder + fileName; }

    const Database &m_db;
    QString m_imageFolder;
    bool m_shared;
};

// The path of the picture `fileName` in `imageFolder`, for a window about
// to show it: with a shared database the picture is fetched first (see
// ensureLocal). A picture that cannot be fetched is told to the user, and
// the window goes on as with a missing picture.
QString localTemplatePicture(const Database &db, const QString &imageFolder, const QString &fileName);

} // namespace billprint
