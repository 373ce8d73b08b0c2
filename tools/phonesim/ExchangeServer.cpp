#include "tools/phonesim/ExchangeServer.h"

#include "tools/phonesim/BackupExchange.h"
#include "tools/phonesim/DeviceExchange.h"
#include "tools/phonesim/RestoreExchange.h"

#include <QTcpSocket>

ExchangeServer::ExchangeServer(const PhoneProfile& phone, const ConnectionUrl& url, int idleSeconds,
                               QObject* parent)
    : QObject(parent), phone(phone), url(url)
{
    idleTimer.setSingleShot(true);
    idleTimer.setInterval(qMax(1, idleSeconds) * 1000);
    connect(&idleTimer, &QTimer::timeout, this, &ExchangeServer::giveUp);
    connect(&server, &QTcpServer::newConnection, this, &ExchangeServer::acceptConnection);
}

bool ExchangeServer::listen(const QHostAddress& host, QString* error)
{
    if (!server.listen(host, url.port)) {
        *error = QStringLiteral("cannot listen on %1:%2: %3")
                     .arg(host.toString())
                     .arg(url.port)
                     .arg(server.errorString());
        return false;
    }
    idleTimer.start();
    return true;
}

void ExchangeServer::acceptConnection()
{
    QTcpSocket* socket = server.nextPendingConnection();
    if (!socket || exchange) {
        delete socket;
        return;
    }
    idleTimer.stop();
    server.close(); // one exchange per connection URL
    exchange = createExchange(socket);
    connect(exchange, &Exchange::finished, this, &ExchangeServer::done, Qt::QueuedConnection);
    exchange->start();
}

Exchange* ExchangeServer::createExchange(QTcpSocket* socket)
{
    switch (url.kind) {
    case ExchangeKind::Device:
        return new DeviceExchange(socket, phone, this);
    case ExchangeKind::Backup:
        return new BackupExchange(socket, phone, this);
    case ExchangeKind::Restore:
        break;
    }
    return new RestoreExchange(socket, phone, this);
}

void ExchangeServer::giveUp()
{
    server.close();
    emit done();
}
