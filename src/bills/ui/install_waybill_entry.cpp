#include "bills/ui/install_waybill_entry.h"

#include "app/ui/main_frame.h"
#include "bills/ui/install_cheque_entry.h"
#include "bills/ui/tfm_check_kdd.h"

namespace billprint {

void installWaybillEntry(MainFrame &mainWindow)
{
    mainWindow.registerEntryWindow(BillFamilyInfo::waybill().family, [](MainFrame &frame) -> QWidget * {
        auto *window = new TfmCheckKDD(frame.context(), billWindowHost(frame));
        if (!window->isUsable()) {
            delete window;  // the family has no template to fill
            return nullptr;
        }
        return window;
    });
}

} // namespace billprint
