#include "bills/print_fonts.h"

#include "bills/print_geometry.h"

#include <QFontDatabase>
#include <QHash>

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

int averageCharWidth(int pointSize, int dpi)
{
    return roundHalfEven(effectivePointSize(pointSize) * double(dpi) / 144.0);
}

double cellAscent(int pointSize, int dpiY)
{
    return kClassicAscentEm * effectivePointSize(pointSize) * double(dpiY) / 72.0;
}

} // namespace billprint
