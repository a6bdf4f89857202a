#pragma once

namespace billprint {

class Tfm_Main;
struct BillWindowHost;

// The hooks a bill entry window gets from the main window: its commands,
// its design mode, the other families' windows, its work area and its
// right-click menu.
BillWindowHost billWindowHost(Tfm_Main &mainWindow);

// Registers the cheque window with the main window: the menu entry "支票"
// (and the background menu's) opens it.
void installChequeEntry(Tfm_Main &mainWindow);

} // namespace billprint
