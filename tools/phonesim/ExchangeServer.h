#pragma once

#include "tools/phonesim/ConnectionUrl.h"
#include "tools/phonesim/PhoneProfile.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTimer>

class Exchange;

// Listens on one connection URL's port for the phone and serves the first
// connection that comes; emits done() when that exchange is over, or when no
// connection came within the idle time.
class ExchangeServer : public QObject
{
    Q_OBJECT
public:
    ExchangeServer(const PhoneProfile& phone, const ConnectionUrl& url, int idleSeconds,
                   QObject* parent = nullptr);

    // False with *error set when the port cannot be bound.
    bool listen(const QHostAddress& host, QString* error);

signals:
    void done();

private:
    void acceptConnection();
    Exchange* createExchange(QTcpSocket* socket);
    void giveUp();

    PhoneProfile phone;
    ConnectionUrl url;
    QTcpServer server;
    QTimer idleTimer;
    Exchange* exchange = nullptr;
};
