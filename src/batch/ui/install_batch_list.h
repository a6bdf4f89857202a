// Registers the batch print list: the waybill window's "批量打印" opens it
// modally, and the main window closes it before the exit question.
#pragma once

namespace billprint {

class MainFrame;

void installBatchPrintList(MainFrame &mainWindow);

} // namespace billprint
