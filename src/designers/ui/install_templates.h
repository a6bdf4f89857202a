#pragma once

#include <QString>

namespace billprint {

class MainFrame;

// Registers the template catalogue ("票据模板管理（默认、显示、隐藏）") and the
// package window ("票据模板导入") with the main window; each opens modally,
// made for the occasion.
void installTemplateCatalogue(MainFrame &mainWindow);

// Opens the package import window with the package at `path` chosen, its
// templates listed (a .tpk opened from the file manager).
void openPackageFile(MainFrame &mainWindow, const QString &path);

} // namespace billprint
