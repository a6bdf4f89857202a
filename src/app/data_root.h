#pragma once

#include <QString>

namespace billprint {

// The folder that holds the program's data: the database, the INI files,
// the pictures and the template caches. It is the executable's folder when
// that is writable and not an installed program's (/usr, /opt), else the
// per-user data folder; a folder given on the command line (--data DIR)
// overrides both.
class DataRoot
{
public:
    explicit DataRoot(QString folder);

    // Picks the data root for this run. `overrideFolder` is the --data value
    // (empty when not given).
    static DataRoot resolve(const QString &overrideFolder, const QString &executableFolder);

    // The folder with a trailing separator (`getRunPath`).
    QString getRunPath() const;
    const QString &folder() const { return m_folder; }

    QString databasePath() const;     // Data/EPData.ini
    QString configIniPath() const;    // Config.ini
    QString debugIniPath() const;     // Debug.ini
    QString imageFolder() const;      // Image/ (trailing separator)
    QString checkIniFolder() const;   // Temp/CheckIni/ (trailing separator)
    QString exportFolder() const;     // Export/ (trailing separator)

    // Creates the folders the program writes to. Returns an error text,
    // empty on success.
    QString prepare() const;

private:
    QString m_folder;
};

} // namespace billprint
