#pragma once

class QWidget;

namespace billprint {

class MainFrame;

// The main window's printer commands, by their menu texts.
namespace PrinterCommand {
inline constexpr const char *InitPrinterList = "初始化打印机列表";
inline constexpr const char *Offsets = "打印整体偏移调整(&M)";
inline constexpr const char *LockPrinter = "锁定/匹配票据打印机";
inline constexpr const char *PrinterSetup = "打印机设置 (&C)";
// Run after the offset window when the user went on to the designer.
inline constexpr const char *Designer = "模板设计";
} // namespace PrinterCommand

// Registers the printer commands with the main window; pass it to the
// main window's constructor, whose creation steps then fill the printer
// list and select the locked bill printer through these commands.
void installPrinterSettings(MainFrame &mainWindow);

// Opens the offset window on template `checkTypeId` over `parent`; when
// the user goes on to the designer, it opens once the offset window is gone.
void openPrintOffsets(MainFrame &mainWindow, int checkTypeId, QWidget *parent);

} // namespace billprint
