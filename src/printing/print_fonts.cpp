#include "printing/print_fonts.h"

#include "printing/print_geometry.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <cmath>

namespace billprint {

namespace {

const QString kSerifFace = QStringLiteral("Noto Serif CJK SC");
const QString kSansFace = QStringLiteral("Noto Sans CJK SC");

// Parts of face names that mark a sans-serif (黑体-like) design.
bool looksSans(const QString &face)
{
    static const char16_t *const marks[] = {
        u"黑", u"雅黑", u"圆", u"等线", u"Hei", u"YaHei", u"YouYuan", u"DengXian", u"Arial",
        u"Tahoma", u"Verdana", u"Helvetica", u"Segoe", u"Calibri", u"Gothic", u"Sans"};
    for (const char16_t *mark : marks)
        if (face.contains(QString::fromUtf16(mark), Qt::CaseInsensitive))
            return true;
    return false;
}

bool installed(const QString &family)
{
    return QFontDatabase::hasFamily(family);
}

} // namespace

QString resolvePrintFace(const QString &templateFace)
{
    // Looking a family up in the font database is slow next to drawing a
    // value, and a bill run asks for the same few faces over and over.
    static QHash<QString, QString> resolved;
    const QString face = templateFace.trimmed().isEmpty() ? QStringLiteral("宋体") : templateFace.trimmed();
    const auto it = resolved.constFind(face);
    if (it != resolved.constEnd())
        return it.value();

    QString family = face;
    if (!installed(face)) {
        const QString standIn = looksSans(face) ? kSansFace : kSerifFace;
        if (installed(standIn))
            family = standIn;
    }
    resolved.insert(face, family);
    return family;
}

int effectivePointSize(int pointSize)
{
    return pointSize < 1 ? kUnsetPointSize : pointSize;
}

QFont printFont(const QString &templateFace, int pointSize, bool bold, bool italic, bool underline)
{
    const QString face = templateFace.trimmed().isEmpty() ? QStringLiteral("宋体") : templateFace.trimmed();
    QFont font(resolvePrintFace(face));
    font.setStyleHint(looksSans(face) ? QFont::SansSerif : QFont::Serif);
    font.setPointSize(effectivePointSize(pointSize));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setKerning(false);
    // Latin runs are drawn from the face's plain glyphs, as a printer font
    // draws them; shaped alternates (the CJK faces' digits next to letters)
    // would also drop out of a PDF's text layer.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

bool hasHalfWidthAscii(const QString &family)
{
    static QHash<QString, bool> known;
    const auto it = known.constFind(family);
    if (it != known.constEnd())
        return it.value();
    QFont font(family);
    font.setPixelSize(1000);
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    // A face that lacks Latin would borrow another face's glyphs.
    bool half = QFontInfo(font).family().compare(family, Qt::CaseInsensitive) == 0;
    const QFontMetricsF metrics(font);
    for (char16_t c = 0x20; half && c < 0x7F; ++c)
        half = std::abs(metrics.horizontalAdvance(QChar(c)) - 500.0) <= 5.0;
    known.insert(family, half);
    return half;
}

PrintFonts printFonts(const QString &templateFace, int pointSize, bool bold, bool italic, bool underline)
{
    PrintFonts fonts;
    fonts.text = printFont(templateFace, pointSize, bold, italic, underline);
    fonts.ascii = fonts.text;
    const QString family = fonts.text.family();
    if (!hasHalfWidthAscii(family) && hasHalfWidthAscii(kHalfWidthAsciiFace)) {
        fonts.ascii.setFamily(kHalfWidthAsciiFace);
        fonts.ascii.setStyleHint(QFont::Monospace);
    }
    return fonts;
}

QList<AsciiRun> asciiRuns(const QString &text)
{
    QList<AsciiRun> runs;
    for (const QChar c : text) {
        const bool ascii = c.unicode() < 0x80;
        if (runs.isEmpty() || runs.last().ascii != ascii)
            runs.append({QString(), ascii});
        runs.last().text += c;
    }
    return runs;
}

int averageCharWidth(int pointSize, int dpi)
{
    return roundHalfEven(effectivePointSize(pointSize) * double(dpi) / 144.0);
}

double cellAscent(int pointSize, int dpiY)
{
    return kClassicAscentEm * effectivePointSize(pointSize) * double(dpiY) / 72.0;
}

} // namespace billprint
