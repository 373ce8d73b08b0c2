#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

// A small HTTP/1.1 server on 127.0.0.1 for tests. It records every request
// and answers each path with what the test programmed: a status and a body,
// later or never, or only the status line and headers. Paths without an
// answer get 404. Connections stay open between requests (keep-alive).
class TestHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Request
    {
        QByteArray method;
        QByteArray target;                    // the path with its query, as sent
        QMap<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };
    struct Answer
    {
        int status = 200;
        QByteArray body;
        int delayMs = 0;            // waits this long before answering
        bool silent = false;        // never answers
        bool headersOnly = false;   // sends the status line and headers, never the body
        bool announceLength = true; // otherwise the body ends when the connection closes
    };

    explicit TestHttpServer(QObject* parent = nullptr);
    ~TestHttpServer() override;

    // Listens on a free port of 127.0.0.1; false when that failed.
    bool listen();
    quint16 port() const { return server.serverPort(); }
    // "127.0.0.1:<port>", the form TEXTFERRY_SERVER takes.
    QString hostAndPort() const;

    // The answer for a path (without query).
    void setAnswer(const QByteArray& path, const Answer& answer);
    // Forgets the requests and the answers.
    void reset();
    // Closes every open connection, answered or not; what was written is
    // delivered first.
    void dropConnections();

    QList<Request> requests() const { return received; }
    QList<Request> requestsTo(const QByteArray& path) const;
    // Processes events until `count` requests arrived; false on time-out.
    bool waitForRequests(int count, int timeoutMs = 5000);
    // Connections a client has open now.
    int openConnections() const { return connections.size(); }
    // Answers sent in full.
    int answersSent() const { return sent; }

private:
    void accept();
    void readFrom(QTcpSocket* socket);
    // Takes one complete request off the front of the buffer, if there is one.
    bool takeRequest(QByteArray& buffer, Request& request);
    void respond(QTcpSocket* socket, const Request& request);
    void writeAnswer(QTcpSocket* socket, const Answer& answer);

    QTcpServer server;
    QHash<QTcpSocket*, QByteArray> connections; // with the bytes not yet parsed
    QMap<QByteArray, Answer> answers;
    QList<Request> received;
    int sent = 0;
};
