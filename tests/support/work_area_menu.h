// Right-clicking the main window's work area as a user would, for tests
// that check whether its menu opens while a bill window is open.
#pragma once

#include "shell/ui/tfm_main.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMenu>
#include <QTimer>

namespace billprint::test {

// Whether a right-click on the work area brought up a menu; one that came
// up is closed again.
inline bool rightClickOpensWorkAreaMenu(Tfm_Main &main)
{
    bool menuShown = false;
    QTimer::singleShot(0, &main, [&] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            menuShown = true;
            popup->close();
        }
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
    QApplication::sendEvent(main.mdiArea()->viewport(), &rightClick);
    return menuShown || main.backgroundMenu()->isVisible();
}

} // namespace billprint::test
