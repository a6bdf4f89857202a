#include "users/user_command.h"

#include "app/command_context.h"
#include "app/command_line.h"
#include "users/user_store.h"

namespace billprint {

namespace {

CommandLine userCommandLine()
{
    CommandLine line(QStringLiteral("user"), {QStringLiteral("add NAME --role ROLE [--remark TEXT] [--data DIR]"),
                                              QStringLiteral("passwd NAME [--data DIR]")},
                     QStringLiteral("Adds an operator (with an empty password, as the user window does), or sets\n"
                                    "an operator's password read from the first line of standard input (never\n"
                                    "from the command line). The folder must hold a database already.\n"
                                    "Exit 0: done; 2: nothing done (no database, no such user, name already\n"
                                    "present, empty password)."));
    line.word(QStringLiteral("add|passwd"), QStringLiteral("what to do"))
        .word(QStringLiteral("NAME"), QStringLiteral("the operator's name"))
        .option(QStringLiteral("role"), QStringLiteral("ROLE"),
                QStringLiteral("the new operator's role (") + UserStore::roleNames().join(QLatin1Char('|'))
                    + QLatin1Char(')'))
        .option(QStringLiteral("remark"), QStringLiteral("TEXT"), QStringLiteral("a remark on the new operator"));
    return line;
}

// What the words ask for, or why they cannot be done.
QString checkRequest(const CommandLine &line)
{
    const QStringList words = line.words();
    if (words.size() != 2 || (words[0] != QLatin1String("add") && words[0] != QLatin1String("passwd")))
        return QStringLiteral("usage: user add NAME --role ROLE | user passwd NAME");
    if (words[0] == QLatin1String("add") && line.value(QStringLiteral("role")).trimmed().isEmpty())
        return QStringLiteral("user add needs --role (") + UserStore::roleNames().join(QLatin1Char('|'))
               + QLatin1Char(')');
    return QString();
}

} // namespace

int runUserCommand(const QStringList &args, const QString &dataFolder, QTextStream &in, QTextStream &out,
                   QTextStream &err)
{
    CommandLine line = userCommandLine();
    CommandContext command(line, dataFolder, err);
    if (const std::optional<int> done = command.start(args, out))
        return *done;
    if (const QString refusal = checkRequest(line); !refusal.isEmpty())
        return command.fail(refusal);
    Database *db = command.openExistingDatabase();
    if (!db)
        return kNothingDone;

    const UserStore store(*db);
    const QString name = line.words().at(1);
    UserOutcome outcome;
    if (line.words().at(0) == QLatin1String("add")) {
        outcome = store.addUser(name, line.value(QStringLiteral("role")), line.value(QStringLiteral("remark")));
    } else {
        // No line at all (a closed or empty input) is refused here; an
        // empty line is refused by the store: a password is cleared only
        // by the reset in the user window.
        if (in.atEnd())
            return command.fail(QStringLiteral("no password on standard input"));
        outcome = store.setPassword(name, in.readLine());
    }
    if (!outcome.ok())
        return command.fail(outcome.message);
    out << outcome.message << "\n";
    out.flush();
    return 0;
}

} // namespace billprint
