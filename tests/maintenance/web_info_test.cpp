// The vendor links and the web information check, against a tiny HTTP
// server on the loopback interface.
#include "app/desktop_open.h"
#include "shell/ui/tfm_main.h"
#include "maintenance/ui/web_links.h"
#include "app/web_info.h"
#include "test_support.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

using namespace billprint;
using namespace billprint::test;

namespace {

// Serves one canned answer to every request and remembers the requests.
class CannedHttpServer : public QObject
{
public:
    // An empty answer means: accept the connection and never reply.
    explicit CannedHttpServer(QByteArray answer) : m_answer(std::move(answer))
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onRead(socket); });
            }
        });
    }

    QString site() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort()); }
    const QList<QByteArray> &requests() const { return m_requests; }

    static QByteArray answer(int status, const QByteArray &body)
    {
        const QByteArray reason = status == 200 ? "OK" : "Not Found";
        return "HTTP/1.1 " + QByteArray::number(status) + " " + reason + "\r\nContent-Type: text/css\r\nContent-Length: "
               + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }

private:
    void onRead(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        m_requests << buffer;
        if (m_answer.isEmpty())
            return;
        socket->write(m_answer);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QByteArray m_answer;
    QList<QByteArray> m_requests;
    QMap<QTcpSocket *, QByteArray> m_buffers;
};

// A port nothing listens on.
QString closedSite()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    const quint16 port = server.serverPort();
    server.close();
    return QStringLiteral("http://127.0.0.1:%1/").arg(port);
}

bool waitUntil(const std::function<bool()> &done, int ms = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

struct ProbeRun
{
    bool finished = false;
    bool reachable = false;
    int calls = 0;
};

ProbeRun probe(const QString &site, const QString &host, int timeoutMs = 3000)
{
    ProbeRun run;
    WebInfoProbe p;
    p.setTimeoutMs(timeoutMs);
    QObject::connect(&p, &WebInfoProbe::finished, [&](bool reachable) {
        run.finished = true;
        run.reachable = reachable;
        ++run.calls;
    });
    p.start(QUrl(WebLinks(site, host, "10.6").url(WebPage::Probe)), host);
    waitUntil([&] { return run.finished; }, timeoutMs + 3000);
    QCoreApplication::processEvents();
    return run;
}

struct RecordedOpens
{
    QList<QUrl> urls;
    DesktopOpener previous;
    RecordedOpens() { previous = setDesktopOpener([this](const QUrl &u) { urls << u; return true; }); }
    ~RecordedOpens() { setDesktopOpener(std::move(previous)); }
};

void configureVendor(AppContext &ctx, const QString &site, const QString &host)
{
    ctx.config().writeString("Vendor", "Site", site);
    ctx.config().writeString("Vendor", "ServiceHost", host);
}

QStringList visiblePanelTexts(QWidget *panel)
{
    QStringList texts;
    for (QLabel *label : panel->findChildren<QLabel *>())
        if (label->isVisible())
            texts << label->objectName();
    return texts;
}

} // namespace

TEST(WebLinks, ProductQueryAndPages)
{
    EXPECT_EQ(getProductInfoUrlParam("10.6"), "pname=HSBJT_ZP&ptype=H1&ver=10.6");
    const WebLinks links("http://www.example.cn/", "svc.example.cn", "10.6");
    const QString q = "pname=HSBJT_ZP&ptype=H1&ver=10.6";
    EXPECT_EQ(links.url(WebPage::Probe), "http://www.example.cn/webapp.css");
    EXPECT_EQ(links.url(WebPage::ServicePage), "http://svc.example.cn/agent/ServiceHSB.asp?" + q);
    EXPECT_EQ(links.url(WebPage::Update), "http://www.example.cn/update/up.asp?a=1&" + q);
    EXPECT_EQ(links.url(WebPage::Help), "http://www.example.cn/help.asp?rail=kdd&" + q);
    EXPECT_EQ(links.url(WebPage::PostCode), "http://www.example.cn/help/postcode.asp?" + q);
    EXPECT_EQ(links.url(WebPage::PaperSize), "http://www.example.cn/kdd/help/paperset.htm?" + q);
    EXPECT_EQ(links.url(WebPage::HomePage), "http://www.example.cn/?" + q);
    EXPECT_EQ(WebLinks("http://www.example.cn", "h", "10.6").url(WebPage::Probe), "http://www.example.cn/webapp.css");
    EXPECT_EQ(links.sitePage("/kdd/help/search.htm"), "http://www.example.cn/kdd/help/search.htm");
}

TEST(WebInfoProbe, ReachableOnlyWithSiteAndHostInASuccessfulAnswer)
{
    {
        CannedHttpServer server(CannedHttpServer::answer(200, "/* site=billprint.example */ body{}"));
        const ProbeRun run = probe(server.site(), "billprint.example");
        EXPECT_TRUE(run.finished);
        EXPECT_TRUE(run.reachable);
        EXPECT_EQ(run.calls, 1);
        ASSERT_EQ(server.requests().size(), 1);
        const QByteArray request = server.requests()[0];
        EXPECT_TRUE(request.startsWith("GET /webapp.css HTTP/1.1\r\n")) << request.constData();
        EXPECT_TRUE(request.contains("User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"));
        EXPECT_TRUE(request.contains("Accept: text/html, */*\r\n"));
    }
    {
        CannedHttpServer server(CannedHttpServer::answer(200, "body{} /* site=other.example */"));
        const ProbeRun run = probe(server.site(), "billprint.example");
        EXPECT_TRUE(run.finished);
        EXPECT_FALSE(run.reachable);
    }
    {
        CannedHttpServer server(CannedHttpServer::answer(404, "site=billprint.example"));
        const ProbeRun run = probe(server.site(), "billprint.example");
        EXPECT_TRUE(run.finished);
        EXPECT_FALSE(run.reachable);
    }
}

TEST(WebInfoProbe, NoAnswerClosedPortAndBadAddressCountAsUnreachable)
{
    {
        CannedHttpServer silent{QByteArray()};
        QElapsedTimer clock;
        clock.start();
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(20);
        const ProbeRun run = probe(silent.site(), "billprint.example", 400);
        EXPECT_TRUE(run.finished);
        EXPECT_FALSE(run.reachable);
        EXPECT_LT(clock.elapsed(), 2500);
        EXPECT_GE(ticks, 5);  // the event loop kept running meanwhile
    }
    EXPECT_FALSE(probe(closedSite(), "billprint.example").reachable);
    const ProbeRun bad = probe("ftp://example.cn", "billprint.example");
    EXPECT_TRUE(bad.finished);
    EXPECT_FALSE(bad.reachable);
    EXPECT_EQ(bad.calls, 1);
}

TEST(WebInformation, NoNetworkStartUpIsSilentAndKeepsHeaderAndLabel)
{
    TempDataRoot root;
    AlertRecorder alerts;
    configureVendor(root.context(), closedSite(), "billprint.example");
    Tfm_Main window(root.context());
    installWebInformation(window);
    auto *web = window.findChild<WebInformation *>();
    ASSERT_NE(web, nullptr);
    web->screenWidth = [] { return 1280; };
    window.show();
    window.onClockTick();
    window.onClockTick();
    ASSERT_TRUE(waitUntil([&] { return web->checkDone(); }));
    EXPECT_TRUE(alerts.alerts().empty());
    EXPECT_TRUE(window.sidePanel()->isVisible());
    EXPECT_EQ(web->serviceLink(), nullptr);
    const QStringList shown = visiblePanelTexts(window.sidePanel());
    EXPECT_TRUE(shown.contains("lbAd"));
    EXPECT_EQ(shown.size(), 3);  // header, [隐藏], label
}

TEST(WebInformation, ReachableSiteOffersTheServicePage)
{
    TempDataRoot root;
    AlertRecorder alerts;
    RecordedOpens opens;
    CannedHttpServer server(CannedHttpServer::answer(200, "site=billprint.example"));
    configureVendor(root.context(), server.site(), "billprint.example");
    Tfm_Main window(root.context());
    installWebInformation(window);
    auto *web = window.findChild<WebInformation *>();
    web->screenWidth = [] { return 1280; };
    window.show();
    window.webInfoCheck();
    ASSERT_TRUE(waitUntil([&] { return web->checkDone(); }));
    ASSERT_NE(web->serviceLink(), nullptr);
    EXPECT_TRUE(web->serviceLink()->isVisible());
    emit web->serviceLink()->linkActivated("service");
    ASSERT_EQ(opens.urls.size(), 1);
    EXPECT_EQ(opens.urls[0].toString(),
              "http://billprint.example/agent/ServiceHSB.asp?pname=HSBJT_ZP&ptype=H1&ver=" + root.context().versionText());
    EXPECT_TRUE(alerts.alerts().empty());

    web->applyResult(false);  // a later failure takes the offer back
    EXPECT_FALSE(web->serviceLink()->isVisible());
}

TEST(WebInformation, NarrowScreenHidesTheSidePanelWhateverTheOutcome)
{
    TempDataRoot root;
    Tfm_Main window(root.context());
    installWebInformation(window);
    auto *web = window.findChild<WebInformation *>();
    web->screenWidth = [] { return 800; };
    window.show();
    for (bool reachable : {true, false}) {
        window.sidePanel()->show();
        web->applyResult(reachable);
        EXPECT_FALSE(window.sidePanel()->isVisible()) << reachable;
    }
    web->screenWidth = [] { return 1000; };
    window.sidePanel()->show();
    web->applyResult(false);
    EXPECT_TRUE(window.sidePanel()->isVisible());
}

TEST(WebInformation, MenuCommandsOpenTheirPages)
{
    TempDataRoot root;
    RecordedOpens opens;
    configureVendor(root.context(), "http://www.example.cn/", "svc.example.cn");
    Tfm_Main window(root.context());
    installWebInformation(window);
    window.show();
    const QString q = "pname=HSBJT_ZP&ptype=H1&ver=" + root.context().versionText();

    window.sidePanel()->hide();
    window.findAction("  在线升级")->trigger();
    EXPECT_TRUE(window.sidePanel()->isVisible());
    window.sidePanel()->hide();
    window.findAction("  帮助 (&H)")->trigger();
    EXPECT_TRUE(window.sidePanel()->isVisible());
    window.sidePanel()->hide();
    window.findAction("  邮政编码查询")->trigger();
    window.findAction("添加打印机纸张规格")->trigger();
    EXPECT_FALSE(window.sidePanel()->isVisible());
    window.runCommand("产品网站");

    QStringList urls;
    for (const QUrl &u : opens.urls)
        urls << u.toString();
    EXPECT_EQ(urls, QStringList({"http://www.example.cn/update/up.asp?a=1&" + q,
                                 "http://www.example.cn/help.asp?rail=kdd&" + q,
                                 "http://www.example.cn/help/postcode.asp?" + q,
                                 "http://www.example.cn/kdd/help/paperset.htm?" + q,
                                 "http://www.example.cn/?" + q}));
}

TEST(WebInformation, WithoutAVendorSiteEachWebCommandSaysSoOnceAndOpensNothing)
{
    TempDataRoot root;
    RecordedOpens opens;
    AlertRecorder alerts;
    Tfm_Main window(root.context());
    installWebInformation(window);
    for (const char *command : {"  在线升级", "  帮助 (&H)", "  邮政编码查询", "添加打印机纸张规格", "产品网站"}) {
        alerts.clear();
        window.runCommand(command);
        EXPECT_EQ(alerts.messages(), QStringList{"没有设置厂商网站，无法打开网页（请在 Config.ini 的 [Vendor] 中设置 Site）。"})
            << command;
    }
    EXPECT_TRUE(opens.urls.isEmpty());
}

TEST(WebInformation, BrowseUrlOpensFoldersAsFiles)
{
    RecordedOpens opens;
    const QString folder = QDir::tempPath();
    EXPECT_TRUE(Tfm_Main::BrowseURL(folder));
    EXPECT_TRUE(BrowseURL("www.example.cn/a?b=1"));
    EXPECT_FALSE(BrowseURL("   "));
    ASSERT_EQ(opens.urls.size(), 2);
    EXPECT_EQ(opens.urls[0], QUrl::fromLocalFile(folder));
    EXPECT_EQ(opens.urls[1].toString(), "http://www.example.cn/a?b=1");
}
