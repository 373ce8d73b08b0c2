#include "tools/phonesim/Exchange.h"

#include <QTcpSocket>

namespace {
constexpr qint64 kEndlessChunk = 64 * 1024;
constexpr qint64 kEndlessBacklog = 4 * kEndlessChunk;
constexpr qint64 kLongestLine = 64 * 1024 * 1024;
} // namespace

Exchange::Exchange(ExchangeKind kind, QTcpSocket* socket, const PhoneProfile& phone, QObject* parent)
    : QObject(parent), socket(socket), profile(phone), faultWord(phone.faultFor(kind))
{
    socket->setParent(this);
    connect(socket, &QTcpSocket::readyRead, this, &Exchange::readLines);
    connect(socket, &QTcpSocket::disconnected, this, &Exchange::finish);
    connect(socket, &QTcpSocket::errorOccurred, this, &Exchange::onSocketError);
    connect(socket, &QTcpSocket::bytesWritten, this, &Exchange::feedEndlessLine);
}

void Exchange::start()
{
    if (playOpeningFault())
        return;
    send("$ready:\n");
    begin();
    readLines();
}

// The faults that replace the whole exchange. True when one was played.
bool Exchange::playOpeningFault()
{
    if (faultWord == QLatin1String("mute")) {
        fallSilent();
    } else if (faultWord == QLatin1String("error")) {
        send("$ready:\n");
        failWith(QStringLiteral("Simulated failure on the phone."));
    } else if (faultWord == QLatin1String("wrong-first-line")) {
        send("HELLO\n");
        fallSilent();
    } else if (faultWord == QLatin1String("silent")) {
        send("$ready:\n");
        fallSilent();
    } else if (faultWord == QLatin1String("endless-line")) {
        send("$ready:\n");
        fallSilent();
        endless = true;
        feedEndlessLine();
    } else {
        return false;
    }
    return true;
}

void Exchange::send(const QByteArray& bytes)
{
    if (!closing && socket->state() == QAbstractSocket::ConnectedState)
        socket->write(bytes);
}

void Exchange::failWith(const QString& text)
{
    send("$error:" + text.toUtf8().toBase64() + "\n");
    close();
}

void Exchange::close()
{
    if (closing)
        return;
    closing = true;
    socket->disconnectFromHost();
}

void Exchange::fallSilent()
{
    silent = true;
}

void Exchange::readLines()
{
    if (silent || closing) {
        socket->readAll();
        return;
    }
    while (!silent && !closing && socket->canReadLine()) {
        QByteArray line = socket->readLine();
        line.chop(1);
        line.replace('\r', QByteArray());
        handleLine(line);
    }
    if (socket->bytesAvailable() > kLongestLine)
        close();
}

void Exchange::feedEndlessLine()
{
    if (!endless || closing || socket->state() != QAbstractSocket::ConnectedState)
        return;
    static const QByteArray chunk(kEndlessChunk, 'A');
    while (socket->bytesToWrite() < kEndlessBacklog)
        socket->write(chunk);
}

void Exchange::onSocketError()
{
    if (socket->error() == QAbstractSocket::RemoteHostClosedError)
        readLines(); // the last lines may have come with the close
    if (socket->state() != QAbstractSocket::UnconnectedState)
        socket->abort();
    finish();
}

void Exchange::finish()
{
    if (done)
        return;
    done = true;
    endless = false;
    emit finished();
}
