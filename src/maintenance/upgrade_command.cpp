#include "maintenance/upgrade_command.h"

#include "app/data_root.h"
#include "app/database.h"
#include "app/version.h"
#include "maintenance/data_upgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <memory>

namespace billprint {

namespace {

int failWith(QTextStream &err, const QString &message)
{
    err << "billprint upgrade: " << QString(message).replace(QLatin1Char('\n'), QLatin1Char(' ')) << "\n";
    err.flush();
    return 2;
}

} // namespace

int runUpgradeCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err)
{
    QString folder = dataFolder;
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--data") && i + 1 < args.size())
            folder = args.at(++i);
        else
            return failWith(err, QStringLiteral("usage: upgrade [--data DIR]"));
    }
    const DataRoot root = DataRoot::resolve(folder, QCoreApplication::applicationDirPath());
    // A wrong folder must not gain a new, empty database.
    if (!QFileInfo(root.databasePath()).isFile())
        return failWith(err, QStringLiteral("no database in ") + root.folder());
    QString error;
    const std::unique_ptr<Database> db = Database::open(root.databasePath(), &error);
    if (!db)
        return failWith(err, error);

    DataUpgrade upgrade(*db, getFileVersionText(2));
    upgrade.progress().setListener([&out](const UpgradeProgress &p) {
        out << p.labelText() << "\n";
        out.flush();
    });
    const UpgradeOutcome outcome = upgrade.run();
    if (!outcome.ok())
        return failWith(err, outcome.message);
    if (!outcome.backupPath.isEmpty())
        out << QStringLiteral("升级前的数据已备份到 ") << QDir::toNativeSeparators(outcome.backupPath) << "\n";
    out << outcome.message << "\n";
    out.flush();
    return 0;
}

} // namespace billprint
