// The pre-printed form's picture of a template: shown under the values by
// the print preview and by picture output, never printed.
#pragma once

#include <QImage>
#include <QString>

namespace billprint {

class AppContext;

// The picture of template `checkTypeId` as its bill window shows it
// (fetched from a shared database when this desk lacks it). Null with
// `error` when the template or its picture cannot be read.
QImage templateFormPicture(const AppContext &context, int checkTypeId, QString *error = nullptr);

} // namespace billprint
