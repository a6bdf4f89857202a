#pragma once

#include <QTimer>
#include <QWidget>

namespace billprint {

// The splash window: the boot picture on a borderless 370 x 249 window,
// shown for half a second while the main window settles.
class Tfm_Boot : public QWidget
{
    Q_OBJECT
public:
    explicit Tfm_Boot(const QString &picturePath, QWidget *parent = nullptr);

    // Shows the splash and processes events until its timer has fired.
    void showAndWait();
    bool timerRunning() const { return m_timer.isActive(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
    QTimer m_timer;
};

} // namespace billprint
