#include "designers/ui/design_canvas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace billprint {

DesignCanvas::DesignCanvas(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("canvas"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAutoFillBackground(false);
}

void DesignCanvas::setCanvasSize(QSize size)
{
    m_size = size;
    setFixedSize(size);
    update();
}

void DesignCanvas::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void DesignCanvas::setItems(std::vector<CanvasItem> items)
{
    m_items = std::move(items);
    update();
}

void DesignCanvas::setSelection(const QStringList &keys)
{
    m_selected = keys;
    update();
}

void DesignCanvas::setTransparent(bool on)
{
    m_transparent = on;
    update();
}

const CanvasItem *DesignCanvas::itemOf(const QString &key) const
{
    for (const CanvasItem &item : m_items)
        if (item.key == key)
            return &item;
    return nullptr;
}

QString DesignCanvas::keyAt(QPoint point) const
{
    // The topmost (last drawn) item wins; a line is picked within 2 pixels.
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        const QRect area = it->look == CanvasItem::Look::Line ? it->rect.adjusted(-2, -2, 2, 2) : it->rect;
        if (area.contains(point))
            return it->key;
    }
    return QString();
}

void DesignCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_picture.isNull())
        painter.drawImage(QRect(QPoint(0, 0), m_size), m_picture);
    for (const CanvasItem &item : m_items)
        if (!m_selected.contains(item.key))
            paintItem(painter, item, false);
    for (const CanvasItem &item : m_items)
        if (m_selected.contains(item.key)) {
            CanvasItem moved = item;
            moved.rect.translate(m_dragDelta);
            paintItem(painter, moved, true);
        }
}

void DesignCanvas::paintItem(QPainter &painter, const CanvasItem &item, bool selected) const
{
    const QColor accent = selected ? QColor(Qt::red) : m_normal;
    painter.save();
    switch (item.look) {
    case CanvasItem::Look::Shape:
        painter.setPen(QPen(selected ? QColor(Qt::red) : QColor(Qt::blue), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(item.rect.adjusted(1, 1, -1, -1));
        break;
    case CanvasItem::Look::Line:
        painter.fillRect(item.rect, selected ? QColor(Qt::red) : QColor(Qt::black));
        break;
    default: {
        if (selected)
            painter.fillRect(item.rect, QColor(255, 255, 255, 200));
        else if (!m_transparent || item.look == CanvasItem::Look::Text)
            painter.fillRect(item.rect, item.look == CanvasItem::Look::Text && m_transparent
                                            ? QColor(0xAF, 0xBA, 0xE7, 150)
                                            : m_normal);
        painter.setPen(QPen(accent, 1, selected ? Qt::SolidLine : Qt::DotLine));
        painter.drawRect(item.rect.adjusted(0, 0, -1, -1));
        painter.setPen(selected ? QColor(Qt::red) : QColor(Qt::black));
        painter.setFont(item.font);
        QString text = item.text;
        if (item.look == CanvasItem::Look::CheckBox)
            text = QStringLiteral("☐") + text;
        // An input box shows what fits; a print label shows all of its text,
        // as it would print.
        if (item.leadIn >= 0 && item.align == Qt::AlignLeft) {
            painter.drawText(QPoint(item.rect.left() + item.leadIn, item.rect.top() + item.baseline), text);
            break;
        }
        const bool clip = item.look == CanvasItem::Look::Text;
        if (clip)
            painter.setClipRect(item.rect);
        painter.drawText(item.rect, int(item.align | Qt::AlignVCenter) | (clip ? 0 : int(Qt::TextDontClip)), text);
        break;
    }
    }
    painter.restore();
}

void DesignCanvas::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    const QString key = keyAt(at);
    if (key.isEmpty()) {
        emit emptyClicked(at);
        return;
    }
    emit itemPressed(key, event->modifiers());
    m_pressedOnSelected = m_selected.contains(key);
    m_pressAt = at;
    m_dragDelta = QPoint();
    m_dragging = false;
}

void DesignCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    emit pointerAt(at);
    if (!(event->buttons() & Qt::LeftButton) || !m_pressedOnSelected)
        return;
    if (!m_dragging && (at - m_pressAt).manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragging = true;
    m_dragDelta = at - m_pressAt;
    emit dragMoved(m_dragDelta);
    update();
}

void DesignCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool dragged = m_dragging;
    const QPoint delta = m_dragDelta;
    m_dragging = false;
    m_pressedOnSelected = false;
    m_dragDelta = QPoint();
    update();
    if (dragged && !delta.isNull())
        emit dragFinished(delta);
}

void DesignCanvas::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QString key = keyAt(event->position().toPoint());
    if (!key.isEmpty())
        emit itemDoubleClicked(key);
}

void DesignCanvas::keyPressEvent(QKeyEvent *event)
{
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: QWidget::keyPressEvent(event); return;
    }
    emit arrowKey(dx, dy, event->modifiers());
}

} // namespace billprint
