#pragma once

#include "app/alert.h"
#include "app/data_location.h"

#include <QStringList>
#include <QTextStream>
#include <memory>
#include <optional>

namespace billprint {

class AppContext;
class CommandLine;
class Database;

// Exit code of a command that did nothing (and may be run again once the
// cause is mended).
constexpr int kNothingDone = 2;

// What every headless command shares: its command line, where its data
// lives, the database opened with or without creating it, the message
// boxes raised while it runs, and its one error format
// "billprint COMMAND: message" on stderr.
class CommandContext
{
public:
    // `dataFolder` is a --data given before the command; one after it wins.
    // A --database given before the command reaches it among its words.
    CommandContext(CommandLine &line, QString dataFolder, QTextStream &err);
    ~CommandContext();
    CommandContext(const CommandContext &) = delete;
    CommandContext &operator=(const CommandContext &) = delete;

    // Reads the words after the command. Empty when the command goes on;
    // else its exit code: 0 after printing the help on `out`, 2 after the
    // error line.
    std::optional<int> start(const QStringList &args, QTextStream &out);

    const CommandLine &line() const { return m_line; }
    const DataLocation &location() const { return *m_location; }
    const DataRoot &dataRoot() const { return location().folder; }

    // The program's whole state, as the desktop opens it: the folders and
    // the database are created when missing. Null after the error line.
    AppContext *openContext();
    // The location's database, never a new one: a wrong folder or address
    // must not gain an empty database. Null after the error line.
    Database *openExistingDatabase();
    // The database when the folder has one that opens; else null, quietly.
    Database *openDatabaseIfPresent();

    // From here on, message boxes are collected instead of shown and
    // questions are answered No; the command prints what was said.
    QStringList &collectAlerts();

    // "billprint COMMAND: message" on one line; returns `exitCode`.
    int fail(const QString &message, int exitCode = kNothingDone);
    // The same line without ending the command.
    void note(const QString &message);
    // "billprint COMMAND: warning: message", one line each.
    void warn(const QStringList &messages);

private:

    CommandLine &m_line;
    QString m_dataFolderBefore;
    QTextStream &m_err;
    std::optional<DataLocation> m_location;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<Database> m_database;
    std::optional<CollectedAlerts> m_alerts;
};

} // namespace billprint
