#pragma once

#include "templates/check_type.h"

#include <optional>

namespace billprint {

class Database;

// The template a user names on a command line: by its id when the text is
// all digits and such a template exists, else by its full name
// (支票（通用转账支票）), else by its last name (通用转账支票). With a
// `family` only that family's templates count. A last name that several
// templates share is refused, for the id or the full name to say which.
// Null with `error` set when none is found.
std::optional<TCheckType> findNamedTemplate(const Database &db, const QString &text, const QString &family,
                                            QString *error);

} // namespace billprint
