#pragma once

namespace billprint {

class Tfm_Main;

// Registers the deposit slip and the cash payment slip windows with the
// main window: the menu entries "进账单" and "现金缴款单" (and the
// background menu's) open them, and the history windows reopen their rows.
void installBankSlipEntries(Tfm_Main &mainWindow);

} // namespace billprint
