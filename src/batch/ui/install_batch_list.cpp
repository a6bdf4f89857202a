#include "batch/ui/install_batch_list.h"

#include "app/ui/tfm_main.h"
#include "batch/ui/batch_list_host.h"
#include "batch/ui/tfrm_match_addr.h"
#include "batch/ui/tfrm_muti_print.h"
#include "bills/ui/tfm_check_kdd.h"

#include <QApplication>

namespace billprint {

void installBatchPrintList(Tfm_Main &mainWindow)
{
    AppContext &context = mainWindow.context();
    // The list shows each receiver as soon as the parser stores it.
    batchListHost().openAddressParser = [&context](TfrmMutiPrint &list) {
        openAddressParserForBatch(context, &list, [&list] { list.refresh(); });
    };
    TfmCheckKDD::setBatchListOpener([](TfmCheckKDD &waybill) { TfrmMutiPrint::of(waybill)->exec(); });
    mainWindow.setCommandHandler(QStringLiteral("关闭批量打印"), [] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *list = qobject_cast<TfrmMutiPrint *>(window); list && list->isVisible())
                list->close();
        }
    });
}

} // namespace billprint
