#include "app/web_info.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/desktop_open.h"

#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace billprint {

QString getProductInfoUrlParam(const QString &versionText)
{
    return QStringLiteral("pname=HSBJT_ZP&ptype=H1&ver=") + versionText;
}

QString noVendorSiteMessage()
{
    return QStringLiteral("没有设置厂商网站，无法打开网页（请在 Config.ini 的 [Vendor] 中设置 Site）。");
}

bool openVendorPage(AppContext &context, const QString &url)
{
    if (context.vendorSite().isEmpty()) {
        tell(noVendorSiteMessage());
        return false;
    }
    return BrowseURL(url);
}

WebLinks::WebLinks(QString site, QString serviceHost, QString versionText)
    : m_site(std::move(site).trimmed()), m_serviceHost(std::move(serviceHost).trimmed()), m_version(std::move(versionText))
{
}

WebLinks WebLinks::fromContext(AppContext &context)
{
    return WebLinks(context.vendorSite(), context.vendorServiceHost(), context.versionText());
}

QString WebLinks::sitePage(const QString &path) const
{
    // The site may be configured with or without a closing slash; the
    // paths all begin with one.
    QString base = m_site;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    QString page = base + path;
    if (path.endsWith(QLatin1Char('?')) || path.endsWith(QLatin1Char('&')))
        page += productQuery();
    return page;
}

QString WebLinks::url(WebPage page) const
{
    switch (page) {
    case WebPage::Probe:
        return sitePage(QStringLiteral("/webapp.css"));
    case WebPage::ServicePage:
        return QStringLiteral("http://") + m_serviceHost + QStringLiteral("/agent/ServiceHSB.asp?") + productQuery();
    case WebPage::Update:
        return sitePage(QStringLiteral("/update/up.asp?a=1&"));
    case WebPage::Help:
        return sitePage(QStringLiteral("/help.asp?rail=kdd&"));
    case WebPage::PostCode:
        return sitePage(QStringLiteral("/help/postcode.asp?"));
    case WebPage::PaperSize:
        return sitePage(QStringLiteral("/kdd/help/paperset.htm?"));
    case WebPage::HomePage:
        return m_site + QLatin1Char('?') + productQuery();
    }
    return QString();
}

WebInfoProbe::WebInfoProbe(QObject *parent) : QObject(parent), m_network(new QNetworkAccessManager(this))
{
    m_network->setCookieJar(new QNetworkCookieJar(m_network));  // the site may set cookies
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        if (m_reply)
            m_reply->abort();  // finishes the reply with an error
    });
}

WebInfoProbe::~WebInfoProbe()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void WebInfoProbe::start(const QUrl &probeUrl, const QString &host)
{
    m_host = host;
    const QString scheme = probeUrl.scheme().toLower();
    if (m_reply || !probeUrl.isValid() || host.trimmed().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        // Reported like any other unreachable site, after the caller has
        // had the chance to connect.
        QMetaObject::invokeMethod(this, [this] { emit finished(false); }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest request(probeUrl);
    request.setRawHeader("Accept", "text/html, */*");
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("text/html"));
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Mozilla/3.0 (compatible; Indy Library)"));
    request.setTransferTimeout(m_timeoutMs);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::finished, this, &WebInfoProbe::onReplyFinished);
    // The transfer time-out only counts silence; the deadline limits the
    // whole probe, name lookup and connection included.
    m_deadline.start(m_timeoutMs);
}

void WebInfoProbe::onReplyFinished()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    m_reply = nullptr;
    m_deadline.stop();
    const bool ok = reply->error() == QNetworkReply::NoError;
    const bool reachable = ok && answerMeansReachable(reply->readAll(), m_host);
    reply->deleteLater();
    finish(reachable);
}

void WebInfoProbe::finish(bool reachable)
{
    emit finished(reachable);
}

bool WebInfoProbe::answerMeansReachable(const QByteArray &answer, const QString &host)
{
    const QString wanted = host.trimmed();
    if (wanted.isEmpty())
        return false;
    return QString::fromUtf8(answer).contains(QStringLiteral("site=") + wanted, Qt::CaseInsensitive);
}

} // namespace billprint
