#include "bills/ui/party_frame.h"

#include <QMouseEvent>
#include <QPainter>

namespace billprint {

namespace {
const QColor kRed(255, 0, 0);
constexpr int kPenWidth = 2;
constexpr int kHatchMargin = 5;
} // namespace

PartyFrame::PartyFrame(const QString &name, Qt::PenStyle style, QWidget *parent) : QWidget(parent), m_style(style)
{
    setObjectName(name);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

bool PartyFrame::hatchAt(const QWidget *frame, const QPoint &pos)
{
    return pos.y() > kHatchMargin && pos.y() < frame->height() - kHatchMargin;
}

void PartyFrame::setHatched(bool on)
{
    if (m_hatched == on)
        return;
    m_hatched = on;
    update();
}

void PartyFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_hatched)
        p.fillRect(rect(), QBrush(kRed, Qt::BDiagPattern));
    QPen pen(kRed, kPenWidth, m_style);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void PartyFrame::mouseMoveEvent(QMouseEvent *event)
{
    setHatched(hatchAt(this, event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void PartyFrame::leaveEvent(QEvent *event)
{
    setHatched(false);
    QWidget::leaveEvent(event);
}

void PartyFrame::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}

} // namespace billprint
