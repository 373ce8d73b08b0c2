// Opening a connection to the companion app, over USB or WiFi.
#include "android/AdbRunner.h"
#include "android/AndroidDevice.h"
#include "android/CompanionApp.h"
#include "android/ProtocolWait.h"
#include "android/SimpleProtocol.h"

#include <QTcpSocket>
#include <QUrl>
#include <QtDebug>

namespace simpleprotocol {

namespace {

constexpr int kAttemptLimitMs = 5000;
const char kLoopback[] = "127.0.0.1";

std::runtime_error failure(const QString& text)
{
    return std::runtime_error(text.toUtf8().toStdString());
}

std::unique_ptr<QTcpSocket> newSocket()
{
    auto socket = std::make_unique<QTcpSocket>();
    // Keeps an endless line from a broken peer from filling the memory.
    socket->setReadBufferSize(kMaxLineBytes + 1);
    return socket;
}

// adb calls of a job end with the job's cancel like every other wait.
template <typename Call> void runAdbStep(const CancelCheck& cancelled, Call call)
{
    try {
        call();
    } catch (const AdbStopped&) {
        throwIfCancelled(cancelled);
        throw;
    }
}

std::unique_ptr<QTcpSocket> connectOverUsb(const AndroidDevice& connection, const QString& url, int port,
                                           int timeoutMs, const CancelCheck& cancelled)
{
    const AdbStopCheck stop = cancelled;
    runAdbStep(cancelled, [&] {
        adbAm(connection.serial, QStringLiteral("broadcast"), QLatin1String(CompanionApp::kReceiverComponent),
              QString(), url, {}, QString(), stop);
    });
    auto socket = newSocket();
    runAdbStep(cancelled, [&] { adbForward(connection.serial, port, port, stop); });
    const Deadline deadline(timeoutMs);
    for (;;) {
        if (deadline.expired())
            throw failure(QStringLiteral("start %1 failed.").arg(url));
        throwIfCancelled(cancelled);
        if (socket->state() != QAbstractSocket::ConnectedState) {
            socket->abort();
            if (!connectWithin(socket.get(), QLatin1String(kLoopback), port, kAttemptLimitMs, cancelled))
                continue;
        }
        try {
            expectFeedback(socket.get(), QLatin1String(kReady), kAttemptLimitMs, cancelled);
            return socket;
        } catch (const SocketDataTransferException&) {
            qDebug("connect %s failed, try again...", qPrintable(url));
        }
    }
}

// The app's control port hears the URL and accepts ("0" + reason refuses).
void askControlPort(const AndroidDevice& connection, const QString& url, const CancelCheck& cancelled)
{
    auto control = newSocket();
    if (!connectWithin(control.get(), connection.host, connection.port, kConnectTimeoutMs, cancelled,
                       WhenRefused::GiveUp))
        throw failure(QStringLiteral("can not connect %1:%2.").arg(connection.host).arg(connection.port));
    QString reply;
    try {
        sendCommand(control.get(), url, QString(), true, -1, cancelled);
        reply = readCommand(control.get(), -1, cancelled);
    } catch (...) {
        releaseSocket(control);
        throw;
    }
    releaseSocket(control);
    if (reply.startsWith(QLatin1Char('0')))
        throw failure(QStringLiteral("start %1 failed.%2").arg(url, decodeText(reply.mid(1))));
}

std::unique_ptr<QTcpSocket> connectOverWifi(const AndroidDevice& connection, const QString& url, int port,
                                            int timeoutMs, const CancelCheck& cancelled)
{
    askControlPort(connection, url, cancelled);
    auto socket = newSocket();
    if (!connectWithin(socket.get(), connection.host, port, timeoutMs, cancelled))
        throw failure(QStringLiteral("connec %1 failed.").arg(url));
    expectFeedback(socket.get(), QLatin1String(kReady), timeoutMs, cancelled);
    return socket;
}

} // namespace

std::unique_ptr<QTcpSocket> connectCompanion(const AndroidDevice& connection, const QString& url,
                                             int timeoutMs, const CancelCheck& cancelled)
{
    const int port = QUrl(url).port();
    if (connection.isWifi)
        return connectOverWifi(connection, url, port, timeoutMs, cancelled);
    return connectOverUsb(connection, url, port, timeoutMs, cancelled);
}

void releaseSocket(std::unique_ptr<QTcpSocket>& socket)
{
    if (!socket)
        return;
    socket->disconnectFromHost();
    if (socket->state() != QAbstractSocket::UnconnectedState)
        socket->waitForDisconnected(1000);
    socket.reset();
}

} // namespace simpleprotocol
