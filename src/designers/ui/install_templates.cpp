#include "designers/ui/install_templates.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/ui/main_frame.h"
#include "app/web_info.h"
#include "printing/ui/install_printer_settings.h"
#include "templates/ui/tfrm_bill_import_export.h"
#include "templates/ui/tfrm_check_type_mng.h"

#include <QMdiSubWindow>

namespace billprint {

namespace {

void openPackages(MainFrame *frame, bool importOnly, QWidget *parent, const QString &package = QString())
{
    TfrmBillImportExport window(frame->context(), importOnly, parent);
    if (!package.isEmpty())
        window.choosePackage(package);
    window.openDownloads = [frame] {
        AppContext &ctx = frame->context();
        openVendorPage(ctx, WebLinks::fromContext(ctx).sitePage(QStringLiteral("/update/up.asp?type=kddPackage&")));
    };
    // Open bill windows hold the templates as they were; they reload on reopening.
    window.afterImport = [frame] {
        if (frame->findChildren<QMdiSubWindow *>().isEmpty())
            return;
        tell(QStringLiteral("导入模版后请重新填开单据~"));
        frame->closeAllEntryWindows();
    };
    window.exec();
}

} // namespace

void openPackageFile(MainFrame &mainWindow, const QString &path)
{
    openPackages(&mainWindow, true, &mainWindow, path);
}

void installTemplateCatalogue(MainFrame &mainWindow)
{
    MainFrame *frame = &mainWindow;
    mainWindow.setCommandHandler(QStringLiteral("票据模板导入"), [frame] { openPackages(frame, false, frame); });
    mainWindow.setCommandHandler(QStringLiteral("票据模板管理（默认、显示、隐藏）"), [frame] {
        TfrmCheckTypeMng window(frame->context(), frame->context().currentCheckTypeId, frame);
        window.openImport = [frame, &window] { openPackages(frame, true, &window); };
        window.openMoreTemplates = [frame] { frame->runCommand(QStringLiteral("  在线升级")); };
        window.openDesign = [frame, &window](int id) { openPrintOffsets(*frame, id, &window); };
        window.exec();
    });
}

} // namespace billprint
