#pragma once

#include "app/alert.h"
#include "app/app_context.h"
#include "test_database.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <vector>

namespace billprint::test {

// Records every alert and answers questions from a queue (No when empty).
class AlertRecorder
{
public:
    AlertRecorder();
    ~AlertRecorder();

    void answerNext(AlertAnswer answer) { m_answers.push_back(answer); }
    const std::vector<AlertRequest> &alerts() const { return m_alerts; }
    QStringList messages() const;
    bool sawMessage(const QString &text) const;  // contains
    void clear() { m_alerts.clear(); }

private:
    std::vector<AlertRequest> m_alerts;
    std::deque<AlertAnswer> m_answers;
    AlertHandler m_previous;
};

// A fresh data root in a temporary folder with the program's database, and
// the user settings store kept inside it. In the run on the server its
// Config.ini names a fresh database there, so the program started on
// this data root uses it too.
class TempDataRoot
{
public:
    TempDataRoot();

    QString path() const { return m_dir.path(); }
    AppContext &context() { return *m_context; }
    // Closes the context and opens the same data root again.
    AppContext &reopen();
    void close() { m_context.reset(); }
    // Makes this data root a second desk of `desk`'s office: it names the
    // same database (the server's address in Config.ini, or a link to the
    // SQLite file) and keeps its own folders. Returns the reopened context.
    AppContext &shareDatabaseOf(const AppContext &desk);

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScratchServerDatabase> m_server;
    std::unique_ptr<AppContext> m_context;
};

// Runs the built program with `args`; returns its exit code and output.
// The program gets a home and XDG folders of its own, so that what it
// keeps per user never reaches the tester's settings.
struct ProgramResult
{
    int exitCode = -1;
    QString out;
    QString err;
    std::shared_ptr<QTemporaryDir> home;  // kept for a look at what the run left there
    QString configFolder() const { return home->filePath(QStringLiteral("config")); }
};
// With `addressSpaceLimit` (bytes) the program runs under that cap
// (prlimit --as), so a file that makes it grab memory fails the test
// instead of filling the machine; sanitizer builds, which reserve far more
// address space than they use, run without it.
// Makes HOME's folders under `homePath` (config, data, cache and a private
// runtime folder) and returns the variables naming them: HOME and XDG_*.
std::vector<std::pair<QString, QString>> makeOwnHome(const QString &homePath);

ProgramResult runProgram(const QStringList &args, int timeoutMs = 30000, qint64 addressSpaceLimit = 0);

} // namespace billprint::test
