#include "shell/ui/tfm_boot.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QScreen>

namespace billprint {

Tfm_Boot::Tfm_Boot(const QString &picturePath, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("fm_Boot"));
    setFixedSize(370, 249);
    m_picture.load(picturePath);  // a missing picture leaves the window blank
    m_timer.setInterval(500);
    m_timer.setSingleShot(true);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void Tfm_Boot::showAndWait()
{
    show();
    m_timer.start();
    while (m_timer.isActive())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    hide();
}

void Tfm_Boot::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_picture.isNull())
        p.drawPixmap(rect(), m_picture);
}

} // namespace billprint
