#include "app/command_context.h"

#include "app/app_context.h"
#include "app/command_line.h"
#include "app/database.h"
#include "app/one_line.h"

#include <QCoreApplication>

namespace billprint {

CommandContext::CommandContext(CommandLine &line, QString dataFolder, QTextStream &err)
    : m_line(line), m_dataFolderBefore(std::move(dataFolder)), m_err(err)
{
}

CommandContext::~CommandContext() = default;

std::optional<int> CommandContext::start(const QStringList &args, QTextStream &out)
{
    if (!m_line.parse(args))
        return fail(m_line.error());
    if (m_line.helpAsked()) {
        out << m_line.helpText();
        out.flush();
        return 0;
    }
    if (!m_line.takesDataFolder())
        return std::nullopt;
    const QString after = m_line.dataFolder();
    m_location = DataLocation{DataRoot::resolve(after.isEmpty() ? m_dataFolderBefore : after,
                                                QCoreApplication::applicationDirPath()),
                              m_line.databaseUrl()};
    return std::nullopt;
}

AppContext *CommandContext::openContext()
{
    QString error;
    m_context = AppContext::open(location(), &error);
    if (!m_context)
        fail(error);
    return m_context.get();
}

Database *CommandContext::openExistingDatabase()
{
    QString error;
    m_database = openLocationDatabase(location(), false, &error);
    if (!m_database)
        fail(error);
    return m_database.get();
}

Database *CommandContext::openDatabaseIfPresent()
{
    QString error;
    m_database = openLocationDatabase(location(), false, &error);
    return m_database.get();
}

QStringList &CommandContext::collectAlerts()
{
    if (!m_alerts)
        m_alerts.emplace();
    return m_alerts->messages();
}

int CommandContext::fail(const QString &message, int exitCode)
{
    note(message);
    return exitCode;
}

void CommandContext::note(const QString &message)
{
    m_err << "billprint " << m_line.command() << ": " << oneLine(message) << "\n";
    m_err.flush();
}

void CommandContext::warn(const QStringList &messages)
{
    for (const QString &message : messages)
        note(QStringLiteral("warning: ") + message);
}

} // namespace billprint
