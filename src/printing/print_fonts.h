// Fonts of printed values. Templates name the faces of a Chinese Windows
// office ("宋体", "黑体", "楷体_GB2312", ...), which a Linux desktop seldom
// has; each is resolved to an installed face of the same style.
#pragma once

#include <QFont>
#include <QList>
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

// The classic printer faces advance every ASCII character by exactly half
// an em, and the forms' boxes were drawn for that: a 19-digit account
// number at 10 points is 33.5 mm long. The stand-in faces have proportional
// Latin (digits 0.47-0.56 em, "," 0.28 em), so ASCII is printed in a face
// whose Latin is half-width: the template's own face when it is one, else
// "Noto Sans Mono CJK SC". Everything else stays in the template's face.
inline const QString kHalfWidthAsciiFace = QStringLiteral("Noto Sans Mono CJK SC");

// The two fonts of a printed value, at the same size and style.
struct PrintFonts
{
    QFont text;   // the template's face: Chinese and every other non-ASCII character
    QFont ascii;  // a face with half-width Latin: U+0000 to U+007F
};
PrintFonts printFonts(const QString &templateFace, int pointSize, bool bold, bool italic, bool underline);

// True when every printable ASCII character of the installed `family`
// advances half an em (within 1 %).
bool hasHalfWidthAscii(const QString &family);

// A text cut where it changes between ASCII and other characters, in
// order; each run prints in one of the two fonts.
struct AsciiRun
{
    QString text;
    bool ascii = false;
};
QList<AsciiRun> asciiRuns(const QString &text);

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

// How far right of its template x a value starts, in device units: twice
// the average character width of its one-line font of `pointSize` points.
inline int valueLeadIn(int pointSize, int dpi)
{
    return 2 * averageCharWidth(pointSize, dpi);
}

// Distance in device units from the top of a character cell to its base
// line, for a font of `pointSize` points at `dpiY`.
double cellAscent(int pointSize, int dpiY);

// The size a font is printed at (kUnsetPointSize for sizes below 1).
int effectivePointSize(int pointSize);

} // namespace billprint
