#include "tests/kit/TestHttpServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace {

QByteArray pathOf(const QByteArray& target)
{
    const int query = target.indexOf('?');
    return query < 0 ? target : target.left(query);
}

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

} // namespace

TestHttpServer::TestHttpServer(QObject* parent) : QObject(parent)
{
    connect(&server, &QTcpServer::newConnection, this, &TestHttpServer::accept);
}

TestHttpServer::~TestHttpServer()
{
    // The sockets go with the listening server, after the bookkeeping.
    for (QTcpSocket* socket : connections.keys())
        socket->disconnect(this);
}

bool TestHttpServer::listen()
{
    return server.listen(QHostAddress::LocalHost, 0);
}

QString TestHttpServer::hostAndPort() const
{
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

void TestHttpServer::setAnswer(const QByteArray& path, const Answer& answer)
{
    answers.insert(path, answer);
}

void TestHttpServer::reset()
{
    answers.clear();
    received.clear();
    sent = 0;
}

void TestHttpServer::dropConnections()
{
    // Answers already written still reach the client first.
    for (QTcpSocket* socket : connections.keys())
        socket->disconnectFromHost();
}

QList<TestHttpServer::Request> TestHttpServer::requestsTo(const QByteArray& path) const
{
    QList<Request> matching;
    for (const Request& request : received) {
        if (pathOf(request.target) == path)
            matching << request;
    }
    return matching;
}

bool TestHttpServer::waitForRequests(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return received.size() >= count; }, timeoutMs);
}

void TestHttpServer::accept()
{
    while (QTcpSocket* socket = server.nextPendingConnection()) {
        connections.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            connections.remove(socket);
            socket->deleteLater();
        });
    }
}

void TestHttpServer::readFrom(QTcpSocket* socket)
{
    QByteArray& buffer = connections[socket];
    buffer += socket->readAll();
    Request request;
    while (takeRequest(buffer, request)) {
        received << request;
        respond(socket, request);
    }
}

bool TestHttpServer::takeRequest(QByteArray& buffer, Request& request)
{
    const int headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return false;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request = Request{requestLine.value(0), requestLine.value(1), {}, {}};
    for (int i = 1; i < lines.size(); ++i) {
        const int colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                   lines[i].mid(colon + 1).trimmed());
    }
    const int length = request.headers.value("content-length", "0").toInt();
    if (buffer.size() < headerEnd + 4 + length)
        return false;
    request.body = buffer.mid(headerEnd + 4, length);
    buffer.remove(0, headerEnd + 4 + length);
    return true;
}

void TestHttpServer::respond(QTcpSocket* socket, const Request& request)
{
    Answer answer;
    answer.status = 404;
    answer = answers.value(pathOf(request.target), answer);
    if (answer.silent)
        return;
    if (answer.delayMs <= 0) {
        writeAnswer(socket, answer);
        return;
    }
    const QPointer<QTcpSocket> target(socket);
    QTimer::singleShot(answer.delayMs, this, [this, target, answer] {
        if (target && target->state() == QAbstractSocket::ConnectedState)
            writeAnswer(target, answer);
    });
}

void TestHttpServer::writeAnswer(QTcpSocket* socket, const Answer& answer)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reasonPhrase(answer.status) +
                      "\r\nContent-Type: text/html; charset=utf-8\r\n";
    if (answer.announceLength)
        head += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    else
        head += "Connection: close\r\n";
    socket->write(head + "\r\n");
    if (answer.headersOnly)
        return;
    socket->write(answer.body);
    ++sent;
    if (!answer.announceLength)
        socket->disconnectFromHost();
}
