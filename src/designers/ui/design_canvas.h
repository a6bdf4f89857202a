// The drawing surface of both designers: a picture of the form stretched
// over the canvas and one item per field on top. Items are picked, dragged
// (all selected ones together) and moved by keys; the canvas only reports
// what the user did, the window decides what it means and writes it.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace billprint {

struct CanvasItem
{
    enum class Look { Text, Label, Shape, Line, CheckBox };
    QString key;     // the field the item belongs to (several items may share one)
    QString hint;    // tool tip / object name of the item
    QRect rect;      // canvas pixels
    QString text;
    QFont font;
    Look look = Look::Text;
    Qt::Alignment align = Qt::AlignLeft;
    // Left-aligned text placed as printing places it: `leadIn` pixels right
    // of the box's left edge, its base line `baseline` pixels below the top
    // (the character cell's top at the box's top). Negative: in the box by
    // `align`.
    int leadIn = -1;
    int baseline = 0;
};

class DesignCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit DesignCanvas(QWidget *parent = nullptr);

    void setCanvasSize(QSize size);
    void setPicture(const QImage &picture);  // null: none
    void setItems(std::vector<CanvasItem> items);
    void setSelection(const QStringList &keys);
    const QStringList &selection() const { return m_selected; }
    // Unselected items have a filled background unless this is on.
    void setTransparent(bool on);
    void setNormalColor(const QColor &color) { m_normal = color; update(); }

    const std::vector<CanvasItem> &items() const { return m_items; }
    // The first item of a field; null when it has none.
    const CanvasItem *itemOf(const QString &key) const;
    // The field under a canvas point; empty when none.
    QString keyAt(QPoint point) const;

    QSize sizeHint() const override { return m_size; }
    QSize minimumSizeHint() const override { return m_size; }

signals:
    void itemPressed(const QString &key, Qt::KeyboardModifiers modifiers);
    void itemDoubleClicked(const QString &key);
    void emptyClicked(QPoint point);
    // During a drag of the selected items: how far they are from where they started.
    void dragMoved(QPoint delta);
    // A drag of the selected items ended `delta` pixels from its start.
    void dragFinished(QPoint delta);
    // An arrow key: dx, dy in {-1, 0, 1}.
    void arrowKey(int dx, int dy, Qt::KeyboardModifiers modifiers);
    void pointerAt(QPoint point);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void paintItem(QPainter &painter, const CanvasItem &item, bool selected) const;

    QSize m_size{100, 100};
    QImage m_picture;
    std::vector<CanvasItem> m_items;
    QStringList m_selected;
    bool m_transparent = true;
    QColor m_normal{0x84, 0xA2, 0xF9};
    // Dragging: the press point and the offset the selected items are drawn at.
    bool m_pressedOnSelected = false;
    bool m_dragging = false;
    QPoint m_pressAt;
    QPoint m_dragDelta;
};

} // namespace billprint
