#include "app/app_context.h"

#include "app/version.h"

namespace billprint {

AppContext::AppContext(DataRoot root, std::unique_ptr<Database> db, const QString &installStorePath)
    : m_root(std::move(root)),
      m_db(std::move(db)),
      m_settings(*m_db),
      m_debug(m_root.debugIniPath()),
      m_install(installStorePath),
      m_versionText(getFileVersionText(2))
{
}

std::unique_ptr<AppContext> AppContext::open(const DataRoot &root, QString *error,
                                             const QString &installStorePath)
{
    return open(DataLocation{root, QString()}, error, installStorePath);
}

std::unique_ptr<AppContext> AppContext::open(const DataLocation &location, QString *error,
                                             const QString &installStorePath)
{
    const DataRoot &root = location.folder;
    const QString prepareError = root.prepare();
    if (!prepareError.isEmpty()) {
        if (error)
            *error = prepareError;
        return nullptr;
    }
    std::unique_ptr<Database> db = openLocationDatabase(location, true, error);
    if (!db)
        return nullptr;
    return std::unique_ptr<AppContext>(new AppContext(root, std::move(db), installStorePath));
}

IniFile &AppContext::config()
{
    if (!m_config)
        return OpenUserIniFile();
    return *m_config;
}

IniFile &AppContext::OpenUserIniFile()
{
    if (m_config)
        m_config->flush();
    m_config = std::make_unique<IniFile>(m_root.configIniPath());
    return *m_config;
}

QString AppContext::getINIConfigByname(const QString &name)
{
    return config().readString(QStringLiteral("Config"), name);
}

void AppContext::setINIConfigByname(const QString &name, const QString &value)
{
    config().writeString(QStringLiteral("Config"), name, value);
}

QString AppContext::getInifCheckConfigByName(const IniFile *ini, const QString &name)
{
    return ini ? ini->readString(QStringLiteral("CheckConfig"), name) : QString();
}

QString AppContext::getBrandName()
{
    return config().readString(QStringLiteral("Info"), QStringLiteral("nm"), QStringLiteral("禾朔"));
}

QString AppContext::vendorSite()
{
    // No address is assumed: an invented one would show in the caption and
    // lead every link nowhere.
    return config().readString(QStringLiteral("Vendor"), QStringLiteral("Site")).trimmed();
}

QString AppContext::vendorServiceHost()
{
    return config().readString(QStringLiteral("Vendor"), QStringLiteral("ServiceHost")).trimmed();
}

} // namespace billprint
