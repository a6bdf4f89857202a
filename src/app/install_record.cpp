#include "app/install_record.h"

#include "app/alert.h"

#include <QSettings>
#include <QStandardPaths>

namespace billprint {

InstallRecord::InstallRecord(QString storePath) : m_storePath(std::move(storePath))
{
    if (m_storePath.isEmpty())
        m_storePath = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                      + QStringLiteral("/HeShuo/JianTu.conf");
}

QString InstallRecord::readRegistryString(const QString &name) const
{
    QSettings store(m_storePath, QSettings::IniFormat);
    const QString key = KeyPath + QLatin1Char('/') + name;
    return store.contains(key) ? store.value(key).toString() : QStringLiteral("空");
}

bool InstallRecord::writeRegistryString(const QString &name, const QString &value) const
{
    QSettings store(m_storePath, QSettings::IniFormat);
    store.setValue(KeyPath + QLatin1Char('/') + name, value);
    store.sync();
    if (store.status() != QSettings::NoError) {
        tell(QStringLiteral("注册表读写错误！"), QStringLiteral("错误"), AlertIcon::Error);
        return false;
    }
    return true;
}

void InstallRecord::update(const QString &runPath, const QString &version, const QString &fullPath) const
{
    if (readRegistryString(QStringLiteral("RunPath")) != runPath)
        writeRegistryString(QStringLiteral("RunPath"), runPath);
    if (readRegistryString(QStringLiteral("Version")) != version)
        writeRegistryString(QStringLiteral("Version"), version);
    writeRegistryString(QStringLiteral("FullPath"), fullPath);
}

} // namespace billprint
