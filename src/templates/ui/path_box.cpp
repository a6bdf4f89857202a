#include "templates/ui/path_box.h"

#include <QStyle>
#include <QStyleOptionFrame>

namespace billprint {

PathBox::PathBox(const QString &path, QWidget *parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setPath(path);
}

void PathBox::setPath(const QString &path)
{
    m_path = path;
    setToolTip(path);
    showPath();
}

void PathBox::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    showPath();
}

void PathBox::showPath()
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QMargins margins = textMargins();
    // QLineEdit keeps a small gap on either side of its text.
    const int room = contents.width() - margins.left() - margins.right() - 4;
    setText(fontMetrics().elidedText(m_path, Qt::ElideMiddle, std::max(0, room)));
    setCursorPosition(0);
}

} // namespace billprint
