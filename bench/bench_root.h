// A throwaway data root for a benchmark: a temporary folder with the
// program's database and settings, gone when the benchmark ends.
#pragma once

#include "app/app_context.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>
#include <vector>

namespace billprint {

// The temporary folder alone, for a benchmark that opens the data root
// itself (the opening being what it measures).
struct BenchFolder
{
    QTemporaryDir dir;

    QString path() const { return dir.path(); }
    QString filePath(const QString &name) const { return dir.filePath(name); }
    // Where the installation record is kept, inside the folder so that no
    // benchmark touches the user's own.
    QString installStore() const { return filePath(QStringLiteral("user.conf")); }
};

struct BenchRoot : BenchFolder
{
    std::unique_ptr<AppContext> context;
    QString error;  // why `context` is null

    BenchRoot()
    {
        // An invalid QTemporaryDir has an empty path, which DataRoot would
        // take as the working folder.
        if (!dir.isValid())
            error = QStringLiteral("cannot create a temporary folder: ") + dir.errorString();
        else
            context = AppContext::open(DataRoot(path()), &error, installStore());
    }
    bool isOpen() const { return context != nullptr; }
    Database &db() const { return context->db(); }

    // True when the data root is open; otherwise marks the benchmark as
    // failed with the reason, and the caller returns before its loop.
    bool checkOpen(benchmark::State &state) const
    {
        if (!isOpen())
            state.SkipWithError(("cannot open the benchmark's data root: " + error).toUtf8().constData());
        return isOpen();
    }
};

// Work to do before the application object goes: a fixture built once
// and kept for every benchmark holds windows, which must not outlive it.
inline std::vector<std::function<void()>> &benchCleanups()
{
    static std::vector<std::function<void()>> cleanups;
    return cleanups;
}

inline void runBenchCleanups()
{
    for (auto it = benchCleanups().rbegin(); it != benchCleanups().rend(); ++it)
        (*it)();
    benchCleanups().clear();
}

} // namespace billprint
