#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <memory>
#include <stdexcept>

class QAbstractSocket;
class QTcpSocket;
struct AndroidDevice;

// The line protocol between the computer and the companion app: tagged
// lines over short-lived TCP connections, one exchange per connection.
// Lines are bytes ended by a line feed (carriage returns dropped); the
// computer sends UTF-8, received bytes are read as Latin-1. Sockets are used
// in blocking style from one job thread.
//
// Every wait runs in short slices: a CancelCheck that turns true ends it by
// throwing the integer -1 (the jobs' cancel), so no phone can hold a job
// longer than a slice after the user pressed Cancel.
namespace simpleprotocol {

// Tags of the protocol.
inline constexpr char kReady[] = "$ready:";
inline constexpr char kHello[] = "$hello:";
inline constexpr char kCount[] = "$count:";
inline constexpr char kBatch[] = "$batch:";
inline constexpr char kSms[] = "$sms:";
inline constexpr char kEnd[] = "$end:";
inline constexpr char kDefSmsApp[] = "$defsmsapp:";
inline constexpr char kBye[] = "$bye:";
inline constexpr char kError[] = "$error:";

// A line longer than this (an endless line from a broken peer) is refused.
constexpr qint64 kMaxLineBytes = 64 * 1024 * 1024;
// Connection time limit every caller of connectCompanion passes.
constexpr int kConnectTimeoutMs = 10000;

using CancelCheck = std::function<bool()>;

// This side found the peer's line wrong. Constructing it first reports the
// text to the peer as "$error:" (a failure to do so is thrown instead).
class LocalException : public std::runtime_error
{
public:
    LocalException(QAbstractSocket* peer, const QString& text);
};

// The peer sent "$error:"; the text is the peer's.
class RemoteException : public std::runtime_error
{
public:
    explicit RemoteException(const QString& text);
};

// Reading or writing failed or timed out, or an empty line arrived.
class SocketDataTransferException : public std::runtime_error
{
public:
    explicit SocketDataTransferException(const QString& text);
};

// One line, without its line feed and carriage returns, as Latin-1 text.
// A time limit of -1 means none.
QString readProtocolLine(QAbstractSocket* device, int timeoutMs, const CancelCheck& cancelled = {});
// Writes all bytes; with flush, waits until they have left.
void writeAll(QAbstractSocket* device, const QByteArray& bytes, bool flush, int timeoutMs,
              const CancelCheck& cancelled = {});
// Writes tag + argument + "\n" as UTF-8.
void sendCommand(QAbstractSocket* device, const QString& tag, const QString& argument, bool flush,
                 int timeoutMs, const CancelCheck& cancelled = {});
// One line: "Null command." for an empty one, RemoteException for "$error:".
QString readCommand(QAbstractSocket* device, int timeoutMs, const CancelCheck& cancelled = {});
// readCommand, and LocalException unless the line starts with expectedTag.
QString expectFeedback(QAbstractSocket* device, const QString& expectedTag, int timeoutMs,
                       const CancelCheck& cancelled = {});

// The port of the next connection URL: 10000 × (minute mod 4 + 1) + 100 ×
// second + a process-wide counter running 1 to 99 (taken atomically).
int pickPort();
// The port for a time and a counter value (100 and its multiples count as 1).
int portFor(int minute, int second, int counter);

// The key=value pairs of a device information text, in order.
QList<QPair<QString, QString>> scanDeviceInfo(const QString& text);

// A socket on which the companion app has said "$ready:". Over USB the app
// is started by an adb broadcast and the URL's port forwarded; over WiFi the
// app's control port at connection.host:connection.port is asked first.
std::unique_ptr<QTcpSocket> connectCompanion(const AndroidDevice& connection, const QString& url,
                                             int timeoutMs, const CancelCheck& cancelled = {});
// Closes the connection (after what was written has left) and frees the socket.
void releaseSocket(std::unique_ptr<QTcpSocket>& socket);

// Base64 of the UTF-8 text, and back (characters outside the alphabet skipped).
QString encodeText(const QString& text);
QString decodeText(const QString& base64);

} // namespace simpleprotocol
