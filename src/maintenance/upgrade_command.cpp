#include "maintenance/upgrade_command.h"

#include "app/command_context.h"
#include "app/command_line.h"
#include "app/version.h"
#include "maintenance/data_upgrade.h"

#include <QDir>

namespace billprint {

namespace {

CommandLine upgradeCommandLine()
{
    return CommandLine(QStringLiteral("upgrade"), {QStringLiteral("[--data DIR]")},
                       QStringLiteral("Brings a database of an earlier version (and the empty template package beside\n"
                                      "it) up to date in place, printing each step; a copy is kept as\n"
                                      "Data/EPData.ini.before-VERSION. The folder must hold a database already.\n"
                                      "A shared database is not upgraded: upgrade the desk's own data, then\n"
                                      "copy it to the server with 'billprint db copy'.\n"
                                      "Exit 0: upgraded or already current; 2: nothing changed (no database,\n"
                                      "a shared database, a failure)."));
}

} // namespace

int runUpgradeCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err)
{
    CommandLine line = upgradeCommandLine();
    CommandContext command(line, dataFolder, err);
    if (const std::optional<int> done = command.start(args, out))
        return *done;
    Database *db = command.openExistingDatabase();
    if (!db)
        return kNothingDone;

    DataUpgrade upgrade(*db, getFileVersionText(2));
    upgrade.progress().setListener([&out](const UpgradeProgress &p) {
        out << p.labelText() << "\n";
        out.flush();
    });
    const UpgradeOutcome outcome = upgrade.run();
    if (!outcome.ok())
        return command.fail(outcome.message);
    if (!outcome.backupPath.isEmpty())
        out << QStringLiteral("升级前的数据已备份到 ") << QDir::toNativeSeparators(outcome.backupPath) << "\n";
    out << outcome.message << "\n";
    out.flush();
    return 0;
}

} // namespace billprint
