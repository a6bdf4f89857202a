#pragma once

namespace billprint {

class MainFrame;

// Menu texts of the reference-data windows in the main menu.
namespace RefDataCommand {
inline constexpr const char *Dictionary = "字典管理设置(&N) 用途、始发站等";
inline constexpr const char *Currencies = "币种设置";
inline constexpr const char *PlaceCodes = "省市代码设置(&O)";
} // namespace RefDataCommand

// Hooks the dictionary, currency and province/city windows into the main
// window's commands. The dictionary window is made for each opening and
// starts on the current bill type; the other two are made on first use
// and kept for the rest of the run.
void installReferenceData(MainFrame &mainWindow);

} // namespace billprint
