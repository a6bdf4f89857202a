#pragma once

class QWidget;

namespace billprint {

class IniFile;

// Remembers a window's size in Config.ini under its upper-cased object
// name (keys FormWidth, FormHeight). A maximized or minimized window
// neither saves nor restores its size.
void FormFaceSave(IniFile &config, QWidget *window);
// Restores the size saved by FormFaceSave, limited to the screen.
void FormFaceLoad(IniFile &config, QWidget *window);

} // namespace billprint
