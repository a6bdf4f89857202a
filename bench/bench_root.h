// A throwaway data root for a benchmark: a temporary folder with the
// program's database and settings, gone when the benchmark ends.
#pragma once

#include "app/app_context.h"

#include <QTemporaryDir>
#include <memory>

namespace billprint {

struct BenchRoot
{
    QTemporaryDir dir;
    std::unique_ptr<AppContext> context;

    BenchRoot()
    {
        QString error;
        context = AppContext::open(DataRoot(dir.path()), &error, dir.filePath("user.conf"));
    }
    const Database &db() const { return context->db(); }
};

} // namespace billprint
