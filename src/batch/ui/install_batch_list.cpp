#include "batch/ui/install_batch_list.h"

#include "app/ui/main_frame.h"
#include "batch/ui/batch_list_host.h"
#include "batch/ui/batch_address_parser.h"
#include "batch/ui/tfrm_muti_print.h"
#include "bills/ui/tfm_check_kdd.h"

#include <QApplication>

namespace billprint {

void installBatchPrintList(MainFrame &mainWindow)
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
