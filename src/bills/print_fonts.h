// Fonts of printed values. Templates name the faces of a Chinese Windows
// office ("宋体", "黑体", "楷体_GB2312", ...), which a Linux desktop seldom
// has; each is resolved to an installed face of the same style.
#pragma once

#include <QFont>
#include <QString>

namespace billprint {

// The installed family that prints a template's face: the face itself when
// it is installed, else "Noto Sans CJK SC" for the sans-like faces (黑体,
// 微软雅黑, 幼圆, Arial, ...) and "Noto Serif CJK SC" for all others
// (宋体, 仿宋, 楷体, 隶书, ...). An empty face is "宋体". When the Noto face
// is missing too, the family name is kept and the style hint lets the font
// system pick.
QString resolvePrintFace(const QString &templateFace);

// The font a value is printed in: the resolved face at `pointSize` points
// (sizes below 1, never set in the template, print at kUnsetPointSize),
// bold, italic and underline as given. Kerning and other shaping of Latin
// text are off: the printed characters sit where their advances put them,
// as on the forms' printers.
QFont printFont(const QString &templateFace, int pointSize, bool bold, bool italic, bool underline);

inline constexpr int kUnsetPointSize = 9;

// The classic Chinese printer faces have a character cell of one em with
// its top 220/256 em above the base line, and report an average character
// width of half an em. Values are placed by these metrics, not by those of
// the installed face, so a template prints at the same place whichever CJK
// face is installed.
inline constexpr double kClassicAscentEm = 220.0 / 256.0;

// Half the em of a font of `pointSize` points at `dpi` device units per
// inch, rounded to whole device units: the "average character width" the
// position formulas add twice.
int averageCharWidth(int pointSize, int dpi);

// Distance in device units from the top of a character cell to its base
// line, for a font of `pointSize` points at `dpiY`.
double cellAscent(int pointSize, int dpiY);

// The size a font is printed at (kUnsetPointSize for sizes below 1).
int effectivePointSize(int pointSize);

} // namespace billprint
