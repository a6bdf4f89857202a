#include "bills/ui/template_options.h"

#include "app/app_context.h"
#include "templates/check_ini_cache.h"

namespace billprint {

RememberedOptions rememberTemplateOptions(AppContext &context, int checkTypeId,
                                          const QList<QPair<QString, QString>> &values, QString *error)
{
    const SystemSettings &settings = context.settings();
    const bool stored = context.db().transaction(
        [&] {
            for (const auto &[name, value] : values)
                if (!settings.setCheckConfigByName(checkTypeId, name, value))
                    return false;
            return true;
        },
        error);
    if (!stored)
        return RememberedOptions::NotStored;
    if (!CheckIniCache(context).buildCheckIniFile(checkTypeId, error))
        return RememberedOptions::CacheNotRebuilt;
    return RememberedOptions::Remembered;
}

} // namespace billprint
