// Registers the express waybill window with the main window: "填写快递单"
// and the background menu's "快递单" open it.
#pragma once

namespace billprint {

class MainFrame;

void installWaybillEntry(MainFrame &mainWindow);

} // namespace billprint
