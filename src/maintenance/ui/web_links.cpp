#include "maintenance/ui/web_links.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/desktop_open.h"
#include "app/ui/main_frame.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>

namespace billprint {

WebInformation::WebInformation(MainFrame &mainWindow) : QObject(&mainWindow), m_main(mainWindow)
{
    setObjectName(QStringLiteral("webInformation"));
}

int WebInformation::currentScreenWidth() const
{
    if (screenWidth)
        return screenWidth();
    QScreen *screen = m_main.screen() ? m_main.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

void WebInformation::openPage(WebPage page, bool showSidePanel)
{
    if (showSidePanel && m_main.sidePanel())
        m_main.sidePanel()->show();
    openVendorPage(m_main.context(), WebLinks::fromContext(m_main.context()).url(page));
}

void WebInformation::startCheck()
{
    if (m_started)
        return;  // one check per run
    m_started = true;
    const WebLinks links = WebLinks::fromContext(m_main.context());
    m_probe = new WebInfoProbe(this);
    m_probe->setTimeoutMs(timeoutMs);
    connect(m_probe, &WebInfoProbe::finished, this, [this](bool reachable) {
        applyResult(reachable);
        if (m_probe)
            m_probe->deleteLater();
        emit checkFinished(reachable);
    });
    m_probe->start(QUrl(links.url(WebPage::Probe)), links.serviceHost());
}

QLabel *WebInformation::ensureServiceLink()
{
    if (m_serviceLink)
        return m_serviceLink;
    QWidget *panel = m_main.sidePanel();
    if (!panel || !panel->layout())
        return nullptr;
    m_serviceLink = new QLabel(QStringLiteral("<a href=\"service\">打开在线客服页面</a>"), panel);
    m_serviceLink->setObjectName(QStringLiteral("lbWebService"));
    m_serviceLink->setWordWrap(true);
    connect(m_serviceLink, &QLabel::linkActivated, this, [this] { openPage(WebPage::ServicePage); });
    panel->layout()->addWidget(m_serviceLink);
    return m_serviceLink;
}

void WebInformation::applyResult(bool reachable)
{
    m_done = true;
    QWidget *panel = m_main.sidePanel();
    if (!panel) {
        tell(QStringLiteral("异常") + QStringLiteral("主窗口没有在线服务面板"));
        return;
    }
    if (reachable) {
        if (QLabel *link = ensureServiceLink())
            link->show();
    } else if (m_serviceLink) {
        m_serviceLink->hide();
    }
    // On a small screen the bill windows need the room.
    if (currentScreenWidth() < kNarrowScreenWidth)
        panel->hide();
}

void installWebInformation(MainFrame &mainWindow)
{
    auto *web = new WebInformation(mainWindow);
    mainWindow.setCommandHandler(QStringLiteral("  在线升级"), [web] { web->openPage(WebPage::Update, true); });
    mainWindow.setCommandHandler(QStringLiteral("  帮助 (&H)"), [web] { web->openPage(WebPage::Help, true); });
    mainWindow.setCommandHandler(QStringLiteral("  邮政编码查询"), [web] { web->openPage(WebPage::PostCode); });
    mainWindow.setCommandHandler(QStringLiteral("添加打印机纸张规格"), [web] { web->openPage(WebPage::PaperSize); });
    mainWindow.setCommandHandler(QStringLiteral("产品网站"), [web] { web->openPage(WebPage::HomePage); });
    mainWindow.webInfoCheck = [web] { web->startCheck(); };
}

} // namespace billprint
