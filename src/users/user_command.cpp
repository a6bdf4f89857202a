#include "users/user_command.h"

#include "app/data_root.h"
#include "app/database.h"
#include "users/user_store.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <memory>

namespace billprint {

namespace {

struct UserRequest
{
    QString action;
    QString name;
    QString role;
    QString remark;
    QString dataFolder;
    QString error;
};

UserRequest parse(const QStringList &args, const QString &dataFolder)
{
    UserRequest r;
    r.dataFolder = dataFolder;
    QStringList words;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        QString *target = arg == QLatin1String("--role")     ? &r.role
                          : arg == QLatin1String("--remark") ? &r.remark
                          : arg == QLatin1String("--data")   ? &r.dataFolder
                                                             : nullptr;
        if (target) {
            if (i + 1 >= args.size()) {
                r.error = arg + QStringLiteral(" needs a value");
                return r;
            }
            *target = args.at(++i);
        } else if (arg.startsWith(QLatin1String("--"))) {
            r.error = QStringLiteral("unknown option: ") + arg;
            return r;
        } else {
            words << arg;
        }
    }
    if (words.size() != 2 || (words[0] != QLatin1String("add") && words[0] != QLatin1String("passwd"))) {
        r.error = QStringLiteral("usage: user add NAME --role ROLE | user passwd NAME");
        return r;
    }
    r.action = words[0];
    r.name = words[1];
    if (r.action == QLatin1String("add") && r.role.trimmed().isEmpty())
        r.error = QStringLiteral("user add needs --role (") + UserStore::roleNames().join(QLatin1Char('|')) +
                  QLatin1Char(')');
    return r;
}

int failWith(QTextStream &err, const QString &message)
{
    err << "billprint user: " << message << "\n";
    err.flush();
    return 2;
}

} // namespace

int runUserCommand(const QStringList &args, const QString &dataFolder, QTextStream &in, QTextStream &out,
                   QTextStream &err)
{
    const UserRequest request = parse(args, dataFolder);
    if (!request.error.isEmpty())
        return failWith(err, request.error);
    const DataRoot root = DataRoot::resolve(request.dataFolder, QCoreApplication::applicationDirPath());
    // A wrong folder must not gain an empty database with one user in it.
    if (!QFileInfo(root.databasePath()).isFile())
        return failWith(err, QStringLiteral("no database in ") + root.folder());
    QString error;
    const std::unique_ptr<Database> db = Database::open(root.databasePath(), &error);
    if (!db)
        return failWith(err, error);

    const UserStore store(*db);
    UserOutcome outcome;
    if (request.action == QLatin1String("add")) {
        outcome = store.addUser(request.name, request.role, request.remark);
    } else {
        // No line at all (a closed or empty input) is refused here; an
        // empty line is refused by the store: a password is cleared only
        // by the reset in the user window.
        if (in.atEnd())
            return failWith(err, QStringLiteral("no password on standard input"));
        const QString password = in.readLine();
        outcome = store.setPassword(request.name, password);
    }
    if (!outcome.ok())
        return failWith(err, outcome.message);
    out << outcome.message << "\n";
    out.flush();
    return 0;
}

} // namespace billprint
