#include "app/command_line.h"

namespace billprint {

namespace {

const QString kHelp = QStringLiteral("help");
const QString kData = QStringLiteral("data");
const QString kDatabase = QStringLiteral("database");

// The left column of the help lists; longer entries put their
// description on a line of its own.
constexpr int kColumn = 24;

QString helpRow(const QString &left, const QString &text)
{
    const QString margin(kColumn, QLatin1Char(' '));
    const QString description = QString(text).replace(QLatin1Char('\n'), QLatin1Char('\n') + margin);
    const QString indented = QStringLiteral("  ") + left;
    if (indented.size() >= kColumn)
        return indented + QLatin1Char('\n') + margin + description + QLatin1Char('\n');
    return indented.leftJustified(kColumn) + description + QLatin1Char('\n');
}

// "--name" of "--name", "-name", "--name=value" or "-name=value".
QString optionNameOf(const QString &arg)
{
    QString name = arg.section(QLatin1Char('='), 0, 0);
    while (name.startsWith(QLatin1Char('-')))
        name.remove(0, 1);
    return name;
}

} // namespace

CommandLine::CommandLine(QString command, QStringList usages, QString about)
    : m_command(std::move(command)),
      m_usages(std::move(usages)),
      m_about(std::move(about)),
      m_parser(std::make_unique<QCommandLineParser>())
{
}

CommandLine &CommandLine::flag(const QString &name, const QString &description)
{
    m_options.append({name, QString(), description});
    return *this;
}

CommandLine &CommandLine::option(const QString &name, const QString &valueName, const QString &description)
{
    m_options.append({name, valueName, description});
    return *this;
}

CommandLine &CommandLine::word(const QString &name, const QString &description)
{
    m_words.append({name, QString(), description});
    return *this;
}

CommandLine &CommandLine::moreWords()
{
    m_moreWords = true;
    return *this;
}

CommandLine &CommandLine::wordsEndOptions()
{
    m_wordsEndOptions = true;
    return *this;
}

CommandLine &CommandLine::withoutDataFolder()
{
    m_dataFolder = false;
    return *this;
}

bool CommandLine::parse(const QStringList &args)
{
    m_parser->setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (m_wordsEndOptions)
        m_parser->setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    m_parser->addOption(QCommandLineOption(QStringList{QStringLiteral("h"), kHelp}));
    if (m_dataFolder) {
        m_parser->addOption(QCommandLineOption(kData, QString(), QStringLiteral("DIR")));
        m_parser->addOption(QCommandLineOption(kDatabase, QString(), QStringLiteral("URL")));
    }
    for (const Entry &o : std::as_const(m_options))
        m_parser->addOption(QCommandLineOption(o.name, o.description, o.valueName));

    m_error.clear();
    if (!m_parser->parse(QStringList{QStringLiteral("billprint")} + args)) {
        m_error = parseError(args);
        return false;
    }
    if (helpAsked())
        return true;
    const QStringList given = words();
    if (!m_moreWords && given.size() > m_words.size())
        m_error = QStringLiteral("unexpected argument: ") + given.at(m_words.size());
    return m_error.isEmpty();
}

// QCommandLineParser's own texts, in the words of the other messages.
QString CommandLine::parseError(const QStringList &args) const
{
    const QStringList unknown = m_parser->unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("unknown option: --") + unknown.first();
    for (const QString &arg : args) {
        if (!arg.startsWith(QLatin1Char('-')) || !arg.contains(QLatin1Char('=')))
            continue;
        const Entry *o = findOption(optionNameOf(arg));
        if (o && o->valueName.isEmpty())
            return QStringLiteral("--") + o->name + QStringLiteral(" takes no value");
    }
    if (!args.isEmpty() && args.last().startsWith(QLatin1Char('-')))
        return QStringLiteral("--") + optionNameOf(args.last()) + QStringLiteral(" needs a value");
    return m_parser->errorText();
}

const CommandLine::Entry *CommandLine::findOption(const QString &name) const
{
    for (const Entry &o : m_options)
        if (o.name == name)
            return &o;
    return nullptr;
}

bool CommandLine::helpAsked() const
{
    return m_parser->isSet(kHelp);
}

bool CommandLine::isSet(const QString &name) const
{
    return m_parser->isSet(name);
}

QString CommandLine::value(const QString &name) const
{
    return m_parser->value(name);
}

QStringList CommandLine::values(const QString &name) const
{
    return m_parser->values(name);
}

QStringList CommandLine::words() const
{
    return m_parser->positionalArguments();
}

QString CommandLine::dataFolder() const
{
    return m_dataFolder ? m_parser->value(kData) : QString();
}

QString CommandLine::databaseUrl() const
{
    return m_dataFolder ? m_parser->value(kDatabase) : QString();
}

QString CommandLine::helpText() const
{
    // A long form goes on over several lines, under its own start.
    const QString lead = QStringLiteral("billprint ") + m_command + QLatin1Char(' ');
    const QString margin(QStringLiteral("Usage: ").size() + lead.size(), QLatin1Char(' '));
    QString text;
    for (int i = 0; i < m_usages.size(); ++i)
        text += (i == 0 ? QStringLiteral("Usage: ") : QStringLiteral("       ")) + lead
                + QString(m_usages.at(i)).replace(QLatin1Char('\n'), QLatin1Char('\n') + margin) + QLatin1Char('\n');
    text += QLatin1Char('\n') + m_about + QLatin1Char('\n');
    if (!m_words.isEmpty()) {
        text += QStringLiteral("\nArguments:\n");
        for (const Entry &w : m_words)
            text += helpRow(w.name, w.description);
    }
    text += QStringLiteral("\nOptions:\n");
    for (const Entry &o : m_options)
        text += helpRow(QStringLiteral("--") + o.name + (o.valueName.isEmpty() ? QString() : QLatin1Char(' ') + o.valueName),
                        o.description);
    if (m_dataFolder) {
        text += helpRow(QStringLiteral("--data DIR"), QStringLiteral("the data folder (also before the command)"));
        text += helpRow(QStringLiteral("--database URL"),
                        QStringLiteral("a shared database, postgresql://USER@HOST[:PORT]/DBNAME (also before the command)"));
    }
    text += helpRow(QStringLiteral("--help"), QStringLiteral("print this help and exit"));
    return text;
}

} // namespace billprint
