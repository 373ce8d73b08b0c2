#pragma once

#include "tools/phonesim/ConnectionUrl.h"
#include "tools/phonesim/PhoneProfile.h"

#include <QByteArray>
#include <QObject>

class QTcpSocket;

// The phone's side of one connection on a connection URL: greets with
// "$ready:" (or plays the phone's fault instead) and then plays one exchange,
// implemented by the subclasses. Emits finished() once the connection is gone,
// whichever side closed it.
class Exchange : public QObject
{
    Q_OBJECT
public:
    Exchange(ExchangeKind kind, QTcpSocket* socket, const PhoneProfile& phone, QObject* parent = nullptr);

    void start();

signals:
    void finished();

protected:
    // Called after "$ready:" has been sent.
    virtual void begin() = 0;
    // One line from the computer, line feed and carriage returns removed.
    virtual void handleLine(const QByteArray& line) = 0;

    const PhoneProfile& phone() const { return profile; }
    // The phone's fault for this exchange, "none" when there is none.
    const QString& fault() const { return faultWord; }

    void send(const QByteArray& bytes);
    // Sends "$error:" with text in Base64 and closes.
    void failWith(const QString& text);
    // Closes once everything sent has gone out.
    void close();
    // Sends nothing more and keeps the connection until the computer drops it.
    void fallSilent();

    static bool hasTag(const QByteArray& line, const char* tag) { return line.startsWith(tag); }

private:
    bool playOpeningFault();
    void readLines();
    void feedEndlessLine();
    void onSocketError();
    void finish();

    QTcpSocket* socket;
    PhoneProfile profile;
    QString faultWord;
    bool silent = false;
    bool endless = false;
    bool closing = false;
    bool done = false;
};
