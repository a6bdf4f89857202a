// What the three files of the main window (tfm_main*.cpp) share.
#pragma once

#include <QColor>
#include <QString>

namespace billprint::main_window {

inline const QColor kWindowColour(220, 228, 252);
inline const QString kDesignModeCommand = QStringLiteral("设计模式（票据模板界面及打印效果调整）");
// The designer behind the design mode, entered by the designers.
inline const QString kDesignerCommand = QStringLiteral("模板设计");

} // namespace billprint::main_window
