#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;

namespace billprint {

class AppContext;

// The query every link to the vendor's site carries, naming the product
// and this version.
QString getProductInfoUrlParam(const QString &versionText);

// The vendor's pages the program links to.
enum class WebPage {
    Probe,        // fetched to learn whether the site answers
    ServicePage,  // the online service page of the side panel
    Update,       // "  在线升级"
    Help,         // "  帮助 (&H)", F1
    PostCode,     // "  邮政编码查询"
    PaperSize,    // "添加打印机纸张规格"
    HomePage,     // side panel label, About window
};

// Addresses on the vendor's site. The site address and the service host
// are settings of the installation (Config.ini [Vendor]).
class WebLinks
{
public:
    WebLinks(QString site, QString serviceHost, QString versionText);
    static WebLinks fromContext(AppContext &context);

    QString productQuery() const { return getProductInfoUrlParam(m_version); }
    const QString &site() const { return m_site; }
    const QString &serviceHost() const { return m_serviceHost; }

    QString url(WebPage page) const;
    // Another page of the site: `path` ("/kdd/help/x.htm?") is put after
    // the site address, and the product query after a path that ends with
    // "?" or "&".
    QString sitePage(const QString &path) const;

private:
    QString m_site;
    QString m_serviceHost;
    QString m_version;
};

// Opens `url`, a page of the vendor's site, in the browser. Without a site
// configured (Config.ini [Vendor] Site) the user is told so once instead
// and nothing is opened. True when the page was handed to the browser.
bool openVendorPage(AppContext &context, const QString &url);
QString noVendorSiteMessage();

// Learns, without ever blocking the window, whether the vendor's site
// answers: one GET of the probe page, given up after the time limit. The
// site counts as reachable only when the answer is a success whose text
// contains "site=" followed by the vendor's host name.
class WebInfoProbe : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 3000;

    explicit WebInfoProbe(QObject *parent = nullptr);
    ~WebInfoProbe() override;

    void setTimeoutMs(int ms) { m_timeoutMs = ms; }
    // Starts the probe; finished() follows exactly once, also when the
    // address is unusable.
    void start(const QUrl &probeUrl, const QString &host);
    bool isRunning() const { return m_reply != nullptr; }

    static bool answerMeansReachable(const QByteArray &answer, const QString &host);

signals:
    void finished(bool reachable);

private:
    void onReplyFinished();
    void finish(bool reachable);

    QNetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    QString m_host;
    int m_timeoutMs = kDefaultTimeoutMs;
};

} // namespace billprint
