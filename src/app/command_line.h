#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <memory>

namespace billprint {

// The words of one headless command (`billprint COMMAND ...`), read by
// QCommandLineParser. The command declares its options and words; the
// user gets `--opt value` and `--opt=value` alike, `--help` with the
// command's own usage, and one plain reason for anything it does not know.
// Every command but `convert` also takes `--data DIR`.
class CommandLine
{
public:
    // `usages` are the forms after "billprint COMMAND"; `about` says what
    // the command does and what its exit codes mean.
    CommandLine(QString command, QStringList usages, QString about);

    const QString &command() const { return m_command; }

    // A switch such as `--save`.
    CommandLine &flag(const QString &name, const QString &description);
    // An option with a value such as `--pdf OUT`; given twice, both count.
    CommandLine &option(const QString &name, const QString &valueName, const QString &description);
    // A word that is no option, in the order the command reads them.
    CommandLine &word(const QString &name, const QString &description);
    // Any number of further words (the command counts them itself).
    CommandLine &moreWords();
    // From the first word on, everything is a word, even "-5": for
    // commands whose values may begin with a dash.
    CommandLine &wordsEndOptions();
    // No `--data DIR`: the command keeps no data.
    CommandLine &withoutDataFolder();

    // Reads the words after the command, once. False with `error()` set for an
    // unknown option, a missing value or a word too many.
    bool parse(const QStringList &args);
    const QString &error() const { return m_error; }
    bool helpAsked() const;

    // Whether the command declares the option `name`.
    bool hasOption(const QString &name) const { return findOption(name) != nullptr; }
    bool isSet(const QString &name) const;
    QString value(const QString &name) const;
    QStringList values(const QString &name) const;
    QStringList words() const;
    bool takesDataFolder() const { return m_dataFolder; }
    // The --data given after the command; empty when none.
    QString dataFolder() const;
    // The --database URL given after the command; empty when none.
    QString databaseUrl() const;

    QString helpText() const;

private:
    struct Entry
    {
        QString name;
        QString valueName;  // empty for a switch or a word
        QString description;
    };

    QString parseError(const QStringList &args) const;
    const Entry *findOption(const QString &name) const;

    QString m_command;
    QStringList m_usages;
    QString m_about;
    QList<Entry> m_options;
    QList<Entry> m_words;
    bool m_moreWords = false;
    bool m_wordsEndOptions = false;
    bool m_dataFolder = true;
    std::unique_ptr<QCommandLineParser> m_parser;  // held apart, so that a command line can be returned
    QString m_error;
};

} // namespace billprint
