#include "tools/phonesim/WifiControl.h"

#include "tools/phonesim/ConnectionUrl.h"
#include "tools/phonesim/ExchangeServer.h"
#include "tools/phonesim/PhoneProfile.h"

#include <QTcpSocket>

WifiControl::WifiControl(const QString& phoneFile, const QHostAddress& host, int idleSeconds, QObject* parent)
    : QObject(parent), phoneFile(phoneFile), host(host), idleSeconds(idleSeconds)
{
    connect(&server, &QTcpServer::newConnection, this, &WifiControl::acceptConnection);
}

bool WifiControl::listen(quint16 port, QString* error)
{
    if (server.listen(host, port))
        return true;
    *error =
        QStringLiteral("cannot listen on %1:%2: %3").arg(host.toString()).arg(port).arg(server.errorString());
    return false;
}

void WifiControl::acceptConnection()
{
    while (QTcpSocket* socket = server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        readRequest(socket);
    }
}

void WifiControl::readRequest(QTcpSocket* socket)
{
    if (!socket->canReadLine())
        return;
    socket->disconnect(this); // one request per control connection
    const QString urlText = QString::fromUtf8(socket->readLine()).trimmed();
    socket->write(answer(urlText) + "\n");
    socket->disconnectFromHost();
}

QByteArray WifiControl::answer(const QString& urlText)
{
    PhoneProfile phone;
    QString error;
    if (!phone.load(phoneFile, &error)) {
        qWarning("%s", qPrintable(error));
        return refusal(QStringLiteral("The phone is not available."));
    }
    ConnectionUrl url;
    if (!ConnectionUrl::parse(urlText, &url))
        return refusal(QStringLiteral("Unknown connection URL."));
    if (phone.faultFor(url.kind) == QLatin1String("refuse"))
        return refusal(QStringLiteral("Connection refused by the user."));
    auto* exchangeServer = new ExchangeServer(phone, url, idleSeconds, this);
    if (!exchangeServer->listen(host, &error)) {
        qWarning("%s", qPrintable(error));
        delete exchangeServer;
        return refusal(error);
    }
    connect(exchangeServer, &ExchangeServer::done, exchangeServer, &QObject::deleteLater);
    return "1";
}

QByteArray WifiControl::refusal(const QString& reason)
{
    return "0" + reason.toUtf8().toBase64();
}
