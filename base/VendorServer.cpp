#include "base/VendorServer.h"

#include "base/AppInfo.h"

#include <QDebug>

namespace {
constexpr int kHttpPort = 80;
} // namespace

VendorServer VendorServer::fromEnvironment()
{
    return fromSetting(qEnvironmentVariable("TEXTFERRY_SERVER"));
}

VendorServer VendorServer::fromSetting(const QString& setting)
{
    const QString trimmed = setting.trimmed();
    if (trimmed.isEmpty())
        return VendorServer(QLatin1String(AppInfo::kServerHost), kHttpPort);
    if (trimmed.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0)
        return VendorServer();
    // Parsed as the authority of an address, which also reads "[::1]:8080".
    const QUrl parsed(QStringLiteral("http://") + trimmed, QUrl::StrictMode);
    const bool hostOnly = parsed.isValid() && !parsed.host().isEmpty() && parsed.path().isEmpty() &&
                          parsed.userInfo().isEmpty() && !parsed.hasQuery() && !parsed.hasFragment();
    const int port = parsed.port(kHttpPort);
    if (!hostOnly || port < 1) {
        qWarning().noquote() << QStringLiteral("TEXTFERRY_SERVER names no server, requests are off:")
                             << trimmed;
        return VendorServer();
    }
    return VendorServer(parsed.host(), port);
}

QUrl VendorServer::url(const QString& path, const QString& query) const
{
    if (isOff())
        return QUrl();
    QUrl address;
    address.setScheme(QStringLiteral("http"));
    address.setHost(serverHost);
    if (serverPort != kHttpPort)
        address.setPort(serverPort);
    address.setPath(path);
    if (!query.isEmpty())
        address.setQuery(query);
    return address;
}
