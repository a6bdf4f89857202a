// The default drawer the context holds for the bill windows (the option
// "启用默认出票人"): loaded at start-up and after each change in the
// address book, taken as the drawer of every new bill.
#pragma once

#include "addressbook/person.h"

#include <optional>

namespace billprint {

class AppContext;

// The drawer held now; none when the option is off or no unit is marked.
std::optional<TPerson> heldDefaultDrawer(const AppContext &context);
void holdDefaultDrawer(AppContext &context, std::optional<TPerson> drawer);
// Reads the drawer anew (loadDefaultDrawer) and holds it.
void reloadDefaultDrawer(AppContext &context);

} // namespace billprint
