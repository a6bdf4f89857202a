#include "designers/ui/install_designers.h"

#include "app/app_context.h"
#include "app/ui/main_frame.h"
#include "bills/ui/tfm_bill_base.h"
#include "designers/ui/tfm_template_designer.h"

#include <QMdiSubWindow>

namespace billprint {

namespace {

// Open bill windows place their fields again from the rebuilt caches.
void reLayoutBillWindows(MainFrame *frame)
{
    for (QMdiSubWindow *sub : frame->findChildren<QMdiSubWindow *>())
        if (auto *bill = qobject_cast<TfmBillBase *>(sub->widget()))
            bill->reLayout();
}

} // namespace

void installDesigners(MainFrame &mainWindow)
{
    MainFrame *frame = &mainWindow;
    mainWindow.setCommandHandler(QStringLiteral("模板设计"), [frame] {
        TfmTemplateDesigner window(frame->context(), frame->context().currentCheckTypeId, frame);
        if (!window.isUsable())
            return;
        window.afterFieldDesigner = [frame] { reLayoutBillWindows(frame); };
        window.exec();
        reLayoutBillWindows(frame);
    });
}

} // namespace billprint
