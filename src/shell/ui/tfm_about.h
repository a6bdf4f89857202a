#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;

namespace billprint {

// The About window: borderless, on top, closes on any click or after 15 s.
// The vendor's web address is shown only when one is configured.
class Tfm_About : public QDialog
{
    Q_OBJECT
public:
    Tfm_About(const QString &fullVersion, const QString &vendorSite, QWidget *parent = nullptr);

    QString contactText() const;

signals:
    void contactClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_contact = nullptr;
    QTimer m_closeTimer;
};

} // namespace billprint
