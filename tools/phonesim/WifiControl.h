#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

// The companion app's WiFi control port. Each control connection carries one
// connection URL; the answer is "1" (accepted: an ExchangeServer now listens
// on the URL's port) or "0" + Base64 of the reason for refusing. The phone
// file is read again for every request, so edits apply to the next one.
class WifiControl : public QObject
{
    Q_OBJECT
public:
    WifiControl(const QString& phoneFile, const QHostAddress& host, int idleSeconds,
                QObject* parent = nullptr);

    // False with *error set when the control port cannot be bound.
    bool listen(quint16 port, QString* error);

private:
    void acceptConnection();
    void readRequest(QTcpSocket* socket);
    // The reply line to a request, without its line feed.
    QByteArray answer(const QString& urlText);
    static QByteArray refusal(const QString& reason);

    QString phoneFile;
    QHostAddress host;
    int idleSeconds;
    QTcpServer server;
};
