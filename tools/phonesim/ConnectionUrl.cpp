#include "tools/phonesim/ConnectionUrl.h"

#include <QUrl>

bool ConnectionUrl::parse(const QString& text, ConnectionUrl* url)
{
    const QUrl parsed(text.trimmed(), QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    if (scheme == QLatin1String("device2"))
        url->kind = ExchangeKind::Device;
    else if (scheme == QLatin1String("backup2"))
        url->kind = ExchangeKind::Backup;
    else if (scheme == QLatin1String("restore2"))
        url->kind = ExchangeKind::Restore;
    else
        return false;
    const int port = parsed.port();
    if (port <= 0 || port > 65535)
        return false;
    url->port = quint16(port);
    return true;
}

QString ConnectionUrl::kindName(ExchangeKind kind)
{
    switch (kind) {
    case ExchangeKind::Device:
        return QStringLiteral("device");
    case ExchangeKind::Backup:
        return QStringLiteral("backup");
    case ExchangeKind::Restore:
        return QStringLiteral("restore");
    }
    return QString();
}
