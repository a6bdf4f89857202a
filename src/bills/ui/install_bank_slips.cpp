#include "bills/ui/install_bank_slips.h"

#include "app/ui/main_frame.h"
#include "bills/ui/install_cheque_entry.h"
#include "bills/ui/tfm_check_jkd.h"
#include "bills/ui/tfm_check_jzd.h"

namespace billprint {

namespace {

template <typename Window>
void registerWindow(MainFrame &mainWindow, const BillFamilyInfo &family)
{
    mainWindow.registerEntryWindow(family.family, [](MainFrame &frame) -> QWidget * {
        auto *window = new Window(frame.context(), billWindowHost(frame));
        if (!window->isUsable()) {
            delete window;  // the family has no template to fill
            return nullptr;
        }
        return window;
    });
}

} // namespace

void installBankSlipEntries(MainFrame &mainWindow)
{
    registerWindow<TfmCheckJZD>(mainWindow, BillFamilyInfo::depositSlip());
    registerWindow<TfmCheckJKD>(mainWindow, BillFamilyInfo::cashSlip());
}

} // namespace billprint
