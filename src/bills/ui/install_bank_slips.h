#pragma once

namespace billprint {

class MainFrame;

// Registers the deposit slip and the cash payment slip windows with the
// main window: the menu entries "进账单" and "现金缴款单" (and the
// background menu's) open them, and the history windows reopen their rows.
void installBankSlipEntries(MainFrame &mainWindow);

} // namespace billprint
