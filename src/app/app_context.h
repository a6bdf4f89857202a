#pragma once

#include "app/data_location.h"
#include "app/data_root.h"
#include "app/database.h"
#include "app/debug_log.h"
#include "app/ini_file.h"
#include "app/install_record.h"
#include "app/system_settings.h"

#include <QStringList>
#include <any>
#include <memory>

namespace billprint {

// The state the whole program shares while it runs: the data root, the
// database connection, the settings stores and the little bits of state
// the windows hand to each other (current bill type, print-ready flag, ...).
// Windows are given this object; none of them needs the main window to
// reach the database.
class AppContext
{
public:
    // Opens the data root: creates its folders and opens (or creates) the
    // database. Returns null with `error` set when that is impossible.
    static std::unique_ptr<AppContext> open(const DataRoot &root, QString *error,
                                            const QString &installStorePath = QString());
    // The same for a location whose database may be a shared one.
    static std::unique_ptr<AppContext> open(const DataLocation &location, QString *error,
                                            const QString &installStorePath = QString());

    const DataRoot &dataRoot() const { return m_root; }
    QString getRunPath() const { return m_root.getRunPath(); }
    Database &db() const { return *m_db; }
    SystemSettings &settings() { return m_settings; }
    const SystemSettings &settings() const { return m_settings; }
    DebugLog &debugLog() { return m_debug; }
    const InstallRecord &installRecord() const { return m_install; }

    // The Config.ini handle; OpenUserIniFile flushes the one held so far
    // and opens the file anew.
    IniFile &config();
    IniFile &OpenUserIniFile();
    QString getINIConfigByname(const QString &name);
    void setINIConfigByname(const QString &name, const QString &value);
    static QString getInifCheckConfigByName(const IniFile *ini, const QString &name);

    // Brand word of the messages (Config.ini [Info] nm).
    QString getBrandName();
    // The vendor's web address and service host (Config.ini [Vendor] Site
    // and ServiceHost); empty when the installation names none.
    QString vendorSite();
    QString vendorServiceHost();

    const QString &versionText() const { return m_versionText; }

    // Shared state between the windows.
    int currentCheckTypeId = 0;
    bool printReady = false;
    bool popPrinterDialog = false;
    bool defaultDrawerOn = false;
    // The default drawer, taken as the drawer of a new bill: an address
    // book record, a type of the layer above this one. Read and replace it
    // through addressbook/default_drawer.h.
    std::any defaultDrawer;
    QString currentOperator;
    QString currentRole;  // the logged-in operator's role; empty ends a required login
    QStringList printerNames;
    QString currencySymbol;
    int digitCellWidth = 0;

private:
    AppContext(DataRoot root, std::unique_ptr<Database> db, const QString &installStorePath);

    DataRoot m_root;
    std::unique_ptr<Database> m_db;
    SystemSettings m_settings;
    DebugLog m_debug;
    InstallRecord m_install;
    std::unique_ptr<IniFile> m_config;
    QString m_versionText;
};

} // namespace billprint
