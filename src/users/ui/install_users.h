#pragma once

namespace billprint {

class MainFrame;

// The login on the first clock tick (when the main window's option asks
// for it) and the user management command "更改系统登录密码".
void installUsers(MainFrame &mainWindow);

} // namespace billprint
