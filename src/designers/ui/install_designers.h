#pragma once

namespace billprint {

class MainFrame;

// Registers the template designer as the main window's "模板设计" command,
// which its design-mode command and the offset window run for the current
// template.
void installDesigners(MainFrame &mainWindow);

} // namespace billprint
