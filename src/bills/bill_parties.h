// Address-book look-ups of the bill windows' party fields.
#pragma once

#include "addressbook/person.h"

#include <optional>

namespace billprint {

class Database;

// The unit whose full name, blanks around it ignored, is `name` (already
// trimmed), first in name order: what leaving a drawer field looks up to
// fill its bank and account. None for an empty name or a database error.
std::optional<TPerson> findUnitByTrimmedName(const Database &db, const QString &name);

} // namespace billprint
