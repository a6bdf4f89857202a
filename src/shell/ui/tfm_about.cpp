#include "shell/ui/tfm_about.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace billprint {

Tfm_About::Tfm_About(const QString &fullVersion, const QString &vendorSite, QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog)
{
    setObjectName(QStringLiteral("fm_About"));
    setFixedSize(435, 260);
    setStyleSheet(QStringLiteral("Tfm_About, QDialog { background: rgb(220,228,252); border: 1px solid rgb(90,110,170); }"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    auto *heading = new QLabel(QStringLiteral("关于"), this);
    heading->setStyleSheet(QStringLiteral("color: rgb(90,110,170);"));
    auto *title = new QLabel(QStringLiteral("禾朔票据打印软件"), this);
    QFont titleFont = title->font();
    titleFont.setPointSize(titleFont.pointSize() + 6);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto *platform = new QLabel(QStringLiteral("适用平台:win98/Me/2000/Xp/2003/vista/Win7"), this);
    auto *legal = new QLabel(QStringLiteral("本软件受著作权法保护，未经许可不得复制、传播或用于商业用途。"), this);
    legal->setWordWrap(true);
    QString contact = QStringLiteral("禾朔软件　客服QQ：800000000　电话：400-000-0000");
    if (!vendorSite.trimmed().isEmpty())
        contact += QStringLiteral("\n网址：") + vendorSite.trimmed();
    m_contact = new QLabel(contact, this);
    m_contact->setObjectName(QStringLiteral("lbContact"));
    m_contact->setCursor(Qt::PointingHandCursor);
    m_contact->setStyleSheet(QStringLiteral("color: rgb(20,60,160);"));
    m_contact->installEventFilter(this);
    auto *version = new QLabel(QStringLiteral("当前版本：") + fullVersion + QStringLiteral("(H1)"), this);
    for (QWidget *w : {static_cast<QWidget *>(heading), static_cast<QWidget *>(title),
                       static_cast<QWidget *>(platform), static_cast<QWidget *>(legal),
                       static_cast<QWidget *>(m_contact), static_cast<QWidget *>(version)})
        layout->addWidget(w);
    layout->addStretch();

    m_closeTimer.setInterval(15000);
    m_closeTimer.setSingleShot(true);
    connect(&m_closeTimer, &QTimer::timeout, this, &QDialog::accept);
    m_closeTimer.start();
}

QString Tfm_About::contactText() const
{
    return m_contact->text();
}

void Tfm_About::mousePressEvent(QMouseEvent *)
{
    accept();
}

bool Tfm_About::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_contact && event->type() == QEvent::MouseButtonPress) {
        emit contactClicked();
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace billprint
