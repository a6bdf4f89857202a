#include "printing/ui/feed_direction_picture.h"

#include "app/system_pictures.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace billprint {

namespace {

void drawArrow(QPainter &p, QPointF from, QPointF to)
{
    p.drawLine(from, to);
    const QPointF dir = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF normal(-dir.y(), dir.x());
    QPainterPath head;
    head.moveTo(to);
    head.lineTo(to - dir * 14 + normal * 8);
    head.lineTo(to - dir * 14 - normal * 8);
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}

} // namespace

QString feedDirectionPictureName(bool landscape)
{
    return landscape ? QStringLiteral("sys_exHX.jpg") : QStringLiteral("sys_exZX.jpg");
}

QImage drawFeedDirectionSketch(bool landscape, int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double unit = side / 400.0;  // drawn on a 400 x 400 grid
    p.scale(unit, unit);

    // The printer's paper slot across the top, with the paper guide on
    // the left where the bill's left edge rests.
    p.fillRect(QRectF(40, 40, 320, 26), QColor(90, 100, 120));
    p.fillRect(QRectF(70, 34, 8, 40), QColor(220, 60, 60));
    QFont font = p.font();
    font.setPixelSize(14);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRectF(40, 8, 320, 24), Qt::AlignCenter, QStringLiteral("打印机进纸口（红色为挡板）"));

    // The bill below the slot. Upright (portrait) its text lines run
    // across the slot; sideways (landscape) the printer turns the print a
    // quarter turn, so the bill goes in on its side and its lines run
    // along the feed.
    const QRectF bill = landscape ? QRectF(78, 96, 130, 236) : QRectF(78, 100, 250, 130);
    p.setPen(QPen(QColor(40, 60, 140), 2));
    p.setBrush(QColor(235, 240, 255));
    p.drawRect(bill);
    p.setPen(QColor(40, 60, 140));
    for (int i = 1; i <= 3; ++i) {
        if (landscape) {
            const double x = bill.left() + bill.width() * i / 4.0;
            p.drawLine(QPointF(x, bill.top() + 12), QPointF(x, bill.bottom() - 12));
        } else {
            const double y = bill.top() + bill.height() * i / 4.0;
            p.drawLine(QPointF(bill.left() + 12, y), QPointF(bill.right() - 12, y));
        }
    }
    p.setPen(QPen(QColor(200, 40, 40), 3));
    drawArrow(p, QPointF(bill.right() + 30, bill.bottom()), QPointF(bill.right() + 30, 80));
    font.setPixelSize(13);
    p.setFont(font);
    p.drawText(QRectF(bill.right() + 38, 150, 60, 80), Qt::AlignLeft | Qt::TextWordWrap, QStringLiteral("进纸\n方向"));

    p.setPen(Qt::black);
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(0, 346, 400, 44), Qt::AlignCenter,
               landscape ? QStringLiteral("横向：票据侧放进纸，内容转90°打印")
                         : QStringLiteral("纵向：票据正放，上边先进纸"));
    return image;
}

void ensureFeedDirectionPictures(const QString &imageFolder)
{
    const QDir folder(imageFolder);
    for (bool landscape : {false, true}) {
        const QString path = folder.filePath(feedDirectionPictureName(landscape));
        if (!QFile::exists(path))
            writeJpeg(drawFeedDirectionSketch(landscape), path, 90);
    }
}

} // namespace billprint
