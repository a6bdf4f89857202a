#include "addressbook/default_drawer.h"

#include "addressbook/person_store.h"
#include "app/app_context.h"

namespace billprint {

std::optional<TPerson> heldDefaultDrawer(const AppContext &context)
{
    if (const auto *held = std::any_cast<std::optional<TPerson>>(&context.defaultDrawer))
        return *held;
    if (const auto *record = std::any_cast<TPerson>(&context.defaultDrawer))
        return *record;
    // Anything else in the slot was put there past holdDefaultDrawer: a
    // programming error, never a drawer to print silently.
    Q_ASSERT_X(!context.defaultDrawer.has_value(), "heldDefaultDrawer", "the slot holds no TPerson");
    return std::nullopt;
}

void holdDefaultDrawer(AppContext &context, std::optional<TPerson> drawer)
{
    context.defaultDrawer = std::move(drawer);
}

void reloadDefaultDrawer(AppContext &context)
{
    holdDefaultDrawer(context, loadDefaultDrawer(context));
}

} // namespace billprint
