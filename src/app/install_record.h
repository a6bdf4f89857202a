#pragma once

#include <QString>

namespace billprint {

// Where the current installation lives, kept in the user's settings store
// for tools outside the running program.
class InstallRecord
{
public:
    // `storePath` empty: the user-scope settings file of the program.
    explicit InstallRecord(QString storePath = QString());

    static inline const QString KeyPath = QStringLiteral("software/HeShuo/JianTu/HSBJT_ALL");

    // The value, or "空" when it was never written.
    QString readRegistryString(const QString &name) const;
    // Writes the value; false (and a message) when the store cannot be written.
    bool writeRegistryString(const QString &name, const QString &value) const;

    // The start-up update: RunPath and Version only when they changed,
    // FullPath always.
    void update(const QString &runPath, const QString &version, const QString &fullPath) const;

    const QString &storePath() const { return m_storePath; }

private:
    QString m_storePath;
};

} // namespace billprint
