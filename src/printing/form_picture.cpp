#include "printing/form_picture.h"

#include "app/app_context.h"
#include "app/data_root.h"
#include "templates/check_type.h"
#include "templates/template_picture_store.h"

#include <QImageReader>

namespace billprint {

QImage templateFormPicture(const AppContext &context, int checkTypeId, QString *error)
{
    QString problem;
    const std::optional<TCheckType> type = TCheckType::findById(context.db(), checkTypeId, &problem);
    if (!type) {
        if (error)
            *error = QStringLiteral("template %1 cannot be read: %2").arg(checkTypeId).arg(problem);
        return QImage();
    }
    const QString path = localTemplatePicture(context.db(), context.dataRoot().imageFolder(), type->pictureFile());
    QImageReader reader(path);
    const QImage form = reader.read();
    if (form.isNull() && error)
        *error = QStringLiteral("the form picture of template %1 cannot be read: %2 (%3)")
                     .arg(checkTypeId)
                     .arg(path, reader.errorString());
    return form;
}

} // namespace billprint
