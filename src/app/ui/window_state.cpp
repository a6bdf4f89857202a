#include "app/ui/window_state.h"

#include "app/ini_file.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace billprint {

namespace {

bool inNormalState(const QWidget *window)
{
    return !(window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

QString sectionOf(const QWidget *window)
{
    return window->objectName().toUpper();
}

} // namespace

void FormFaceSave(IniFile &config, QWidget *window)
{
    if (!window || window->objectName().isEmpty() || !inNormalState(window))
        return;
    const bool writeThrough = true;
    config.setWriteThrough(false);
    config.writeInteger(sectionOf(window), QStringLiteral("FormWidth"), window->width());
    config.writeInteger(sectionOf(window), QStringLiteral("FormHeight"), window->height());
    config.setWriteThrough(writeThrough);
    config.flush();
}

void FormFaceLoad(IniFile &config, QWidget *window)
{
    if (!window || window->objectName().isEmpty() || !inNormalState(window))
        return;
    int width = config.readInteger(sectionOf(window), QStringLiteral("FormWidth"), window->width());
    int height = config.readInteger(sectionOf(window), QStringLiteral("FormHeight"), window->height());
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        width = std::min(width, screen->geometry().width());
        height = std::min(height, screen->geometry().height());
    }
    if (width > 0 && height > 0)
        window->resize(width, height);
}

} // namespace billprint
