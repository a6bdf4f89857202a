// The clickable frames drawn over the form picture where a party's name
// sits (shpHKR for the drawer, shpskr for the payee): a red 2-pixel frame,
// dotted or dash-dotted, that shows a red diagonal hatch while the pointer
// is well inside it and opens the address book when clicked.
#pragma once

#include <QWidget>

namespace billprint {

class PartyFrame : public QWidget
{
    Q_OBJECT
public:
    PartyFrame(const QString &name, Qt::PenStyle style, QWidget *parent = nullptr);

    bool hatched() const { return m_hatched; }
    // Hatch rule: more than 5 pixels inside the upper and lower edges.
    static bool hatchAt(const QWidget *frame, const QPoint &pos);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setHatched(bool on);

    Qt::PenStyle m_style;
    bool m_hatched = false;
};

} // namespace billprint
