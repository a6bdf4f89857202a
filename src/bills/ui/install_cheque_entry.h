#pragma once

namespace billprint {

class MainFrame;
struct BillWindowHost;

// The hooks a bill entry window gets from the main window: its commands,
// its design mode, the other families' windows, its work area and its
// right-click menu.
BillWindowHost billWindowHost(MainFrame &mainWindow);

// Registers the cheque window with the main window: the menu entry "支票"
// (and the background menu's) opens it.
void installChequeEntry(MainFrame &mainWindow);

// "打印预览" of the main window's menu (Ctrl+Shift+P): the preview of the
// open bill window, the active one when there are two.
void installPrintPreviewCommand(MainFrame &mainWindow);

} // namespace billprint
