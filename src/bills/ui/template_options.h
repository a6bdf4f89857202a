// The options a bill window remembers for its template ("记住选项").
#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace billprint {

class AppContext;

enum class RememberedOptions {
    Remembered,       // stored, and the template's cache rebuilt with them
    NotStored,        // the database refused: nothing was stored
    CacheNotRebuilt,  // stored, but the cache the window reads them from is not
};

// Stores `values` (option name, value) as settings of template
// `checkTypeId`, all in one transaction, then rebuilds the template's
// layout cache: a window reads its options from that cache, so only a
// rebuilt cache makes them remembered. `error` says why when it fails.
RememberedOptions rememberTemplateOptions(AppContext &context, int checkTypeId,
                                          const QList<QPair<QString, QString>> &values, QString *error);

} // namespace billprint
