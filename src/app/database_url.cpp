#include "app/database_url.h"

#include <QUrl>
#include <QUrlQuery>

namespace billprint {

namespace {

DatabaseUrl refuse(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return {};
}

} // namespace

DatabaseUrl DatabaseUrl::parse(const QString &text, QString *error)
{
    const QString trimmed = text.trimmed();
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("postgresql") && scheme != QLatin1String("postgres")))
        return refuse(error, QStringLiteral("数据库地址应写作 postgresql://用户@服务器[:端口]/数据库：%1").arg(trimmed));
    if (!url.password().isEmpty())
        return refuse(error, QStringLiteral("数据库地址中不能写密码，请写在 ~/.pgpass 或环境变量 PGPASSWORD 中。"));
    DatabaseUrl result;
    result.user = url.userName();
    result.host = url.host();
    const QUrlQuery query(url);
    for (const auto &[key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key == QLatin1String("host"))
            result.host = value;
        else
            return refuse(error, QStringLiteral("数据库地址中有不认识的参数：%1").arg(key));
    }
    result.port = url.port(0);
    result.databaseName = url.path(QUrl::FullyDecoded).mid(1);
    if (result.databaseName.isEmpty() || result.databaseName.contains(QLatin1Char('/')))
        return refuse(error, QStringLiteral("数据库地址中缺少数据库名：%1").arg(trimmed));
    return result;
}

QString DatabaseUrl::toString() const
{
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(user);
    const bool socket = host.startsWith(QLatin1Char('/'));
    url.setHost(socket ? QString() : host);
    if (port > 0)
        url.setPort(port);
    url.setPath(QLatin1Char('/') + databaseName);
    if (socket) {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("host"), host);
        url.setQuery(query);
    }
    return url.toString();
}

} // namespace billprint
