#include "app/system_pictures.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

namespace billprint {

namespace {

const QColor kDeepBlue(40, 70, 150);
const QColor kPaleBlue(220, 228, 252);

QFont cjkFont(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A stylised cheque: a pale slip with a stub, digit boxes and a seal.
void drawChequeMotif(QPainter &p, const QRectF &r)
{
    p.save();
    p.setPen(QPen(QColor(120, 140, 200), 1.2));
    p.setBrush(QColor(248, 250, 255, 230));
    p.drawRoundedRect(r, 6, 6);
    const qreal stub = r.width() * 0.22;
    p.setPen(QPen(QColor(150, 165, 210), 1, Qt::DashLine));
    p.drawLine(QPointF(r.left() + stub, r.top() + 6), QPointF(r.left() + stub, r.bottom() - 6));
    p.setPen(QPen(QColor(150, 165, 210), 1));
    for (int i = 0; i < 4; ++i) {
        const qreal y = r.top() + r.height() * (0.3 + 0.16 * i);
        p.drawLine(QPointF(r.left() + 10, y), QPointF(r.left() + stub - 10, y));
        p.drawLine(QPointF(r.left() + stub + 14, y), QPointF(r.right() - r.width() * 0.35, y));
    }
    const qreal box = r.width() * 0.028;
    for (int i = 0; i < 11; ++i)
        p.drawRect(QRectF(r.right() - r.width() * 0.33 + i * box, r.top() + r.height() * 0.42, box, box * 1.4));
    p.setPen(QPen(QColor(210, 60, 60), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(r.right() - r.width() * 0.12, r.bottom() - r.height() * 0.24),
                  r.height() * 0.14, r.height() * 0.14);
    p.restore();
}

} // namespace

bool writeJpeg(const QImage &image, const QString &path, int quality)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!image.save(&file, "JPG", quality))
        return false;
    return file.commit();
}

QImage drawSplashPicture()
{
    QImage image(370, 249, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, 249);
    bg.setColorAt(0, QColor(58, 96, 190));
    bg.setColorAt(1, QColor(24, 44, 110));
    p.fillRect(image.rect(), bg);
    drawChequeMotif(p, QRectF(150, 96, 200, 96));
    p.setPen(Qt::white);
    p.setFont(cjkFont(30, true));
    p.drawText(QRectF(20, 24, 330, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("禾朔票据打印"));
    p.setFont(cjkFont(13));
    p.setPen(QColor(210, 222, 255));
    p.drawText(QRectF(22, 66, 330, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("支票 · 进账单 · 缴款单 · 快递单"));
    p.setFont(cjkFont(12));
    p.drawText(QRectF(22, 210, 330, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("正在启动，请稍候…"));
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

QImage drawBackgroundPicture()
{
    QImage image(1280, 800, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, 800);
    bg.setColorAt(0, QColor(236, 241, 255));
    bg.setColorAt(1, QColor(196, 210, 245));
    p.fillRect(image.rect(), bg);
    // Soft diagonal bands.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        QPainterPath band;
        const qreal x = -200 + i * 300;
        band.moveTo(x, 800);
        band.lineTo(x + 420, 0);
        band.lineTo(x + 520, 0);
        band.lineTo(x + 100, 800);
        band.closeSubpath();
        p.fillPath(band, QColor(255, 255, 255, 28));
    }
    p.setOpacity(0.85);
    drawChequeMotif(p, QRectF(640, 380, 460, 210));
    drawChequeMotif(p, QRectF(560, 470, 460, 210));
    p.setOpacity(1.0);
    p.setPen(kDeepBlue);
    p.setFont(cjkFont(46, true));
    p.drawText(QRectF(80, 120, 900, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("禾朔票据打印"));
    p.setFont(cjkFont(20));
    p.setPen(QColor(70, 95, 165));
    p.drawText(QRectF(84, 200, 900, 36), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("支票、进账单、缴款单、快递单 —— 套打准确，一次到位"));
    p.setFont(cjkFont(16));
    p.drawText(QRectF(84, 250, 900, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("从【新票据填开】菜单选择票据，或在此处单击右键。"));
    return image;
}

const QImage &colourStripPicture()
{
    static const QImage strip = [] {
        QImage image(8, 769, QImage::Format_RGB888);
        for (int y = 0; y < image.height(); ++y) {
            const qreal t = qreal(y) / (image.height() - 1);
            const QColor c(int(220 - 40 * t), int(228 - 30 * t), int(252 - 12 * t));
            for (int x = 0; x < image.width(); ++x)
                image.setPixelColor(x, y, c);
        }
        return image;
    }();
    return strip;
}

namespace {

// The icon on a 64 x 64 grid: a deep blue tile with a white 票, its outline
// taken from the font once so every size and the SVG show the same glyph.
const QRectF kIconTile(2, 2, 60, 60);
constexpr qreal kIconCorner = 12;

QPainterPath iconGlyph()
{
    QPainterPath glyph;
    glyph.addText(0, 0, cjkFont(40, true), QStringLiteral("票"));
    return glyph.translated(kIconTile.center() - glyph.boundingRect().center());
}

QString svgPathData(const QPainterPath &path)
{
    QString d;
    auto point = [](qreal x, qreal y) { return QString::number(x, 'f', 2) + QLatin1Char(' ') + QString::number(y, 'f', 2); };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            d += QStringLiteral("M") + point(e.x, e.y);
        } else if (e.isLineTo()) {
            d += QStringLiteral("L") + point(e.x, e.y);
        } else if (e.isCurveTo()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
            d += QStringLiteral("C") + point(e.x, e.y) + QLatin1Char(' ') + point(c2.x, c2.y) + QLatin1Char(' ')
                 + point(end.x, end.y);
            i += 2;
        }
    }
    return d;
}

} // namespace

QImage drawProgramIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);
    p.setBrush(kDeepBlue);
    p.drawRoundedRect(kIconTile, kIconCorner, kIconCorner);
    p.fillPath(iconGlyph(), Qt::white);
    return image;
}

QByteArray programIconSvg()
{
    const QPainterPath glyph = iconGlyph();
    const QString svg = QStringLiteral(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n"
        "  <rect x=\"%1\" y=\"%1\" width=\"%2\" height=\"%2\" rx=\"%3\" fill=\"%4\"/>\n"
        "  <path fill=\"#ffffff\" fill-rule=\"%5\" d=\"%6\"/>\n"
        "</svg>\n")
        .arg(kIconTile.x()).arg(kIconTile.width()).arg(kIconCorner).arg(kDeepBlue.name())
        .arg(glyph.fillRule() == Qt::WindingFill ? QStringLiteral("nonzero") : QStringLiteral("evenodd"))
        .arg(svgPathData(glyph));
    return svg.toUtf8();
}

void ensureSystemPictures(const QString &imageFolder)
{
    QDir().mkpath(imageFolder);
    const QDir dir(imageFolder);
    if (!QFile::exists(dir.filePath(QStringLiteral("Sys_boot.jpg"))))
        writeJpeg(drawSplashPicture(), dir.filePath(QStringLiteral("Sys_boot.jpg")));
    if (!QFile::exists(dir.filePath(QStringLiteral("sys_bg.jpg"))))
        writeJpeg(drawBackgroundPicture(), dir.filePath(QStringLiteral("sys_bg.jpg")));
}

} // namespace billprint
