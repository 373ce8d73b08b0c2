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

// Tags of the protocol. A line is a tag followed at once by its argument
// (often empty); a line carries a tag when it starts with it (case matters).
// Text fields travel as Base64 of their UTF-8 (standard alphabet, "=" padded,
// no line breaks); numbers in decimal. The examples show each line as it
// travels, without its line feed. phone -> computer is written "phone:",
// computer -> phone "computer:".
//
// The three exchanges, one per connection (CompanionApp.h has their URLs):
//
//   device2 (the connect jobs)   backup2 (the load job)     restore2 (a transfer)
//   phone:    $ready:            phone:    $ready:          phone:    $ready:
//   phone:    $hello:version=... phone:    $count:2         phone:    $defsmsapp:0
//   computer: $bye:              phone:    $batch:          computer: $batch:
//                                phone:    $sms:...  (x2)   computer: $sms:...  (up to 100)
//                                phone:    $end:            computer: $end:
//                                computer: $batch:          phone:    $batch:
//                                phone:    $bye:            (... a batch each 100 messages)
//                                computer: $bye:            computer: $bye:
//
// Either side may send "$error:" in place of any line and the exchange ends.

// phone: the first line on every new connection; the app listens and is
// ready for the exchange the URL named.
//   $ready:
inline constexpr char kReady[] = "$ready:";
// phone, device connection: the device information text, "key=value" pairs
// joined by ";" (a trailing ";" allowed), sent plain: neither keys nor values
// hold "=" or ";", and an empty value is not read. Keys: version (the app's
// version code), model, manufacturer, imei (names the phone's cache folder),
// uid (names the phone in the tree), sdk (the Android version), sdk_id (the
// platform level), root (1 when rooted), storage1, mmc (the mobile country
// code the phone's numbers are read with). Unknown keys are skipped.
//   $hello:version=12;model=Pixel 7;manufacturer=Google;imei=350000000000001;uid=7f3a9c;sdk=13;mmc=310;
// The tag itself is not checked: the text is what follows its 7 characters.
inline constexpr char kHello[] = "$hello:";
// phone, backup connection, before the first batch: how many messages will
// follow; 0 (or no number) when the phone does not know.
//   $count:2
inline constexpr char kCount[] = "$count:";
// Both, no argument. Backup: the phone opens a batch, and the computer
// acknowledges each batch (after its "$end:") with "$batch:". Restore: the
// computer opens a batch of at most 100 messages and the phone acknowledges
// it; only acknowledged messages enter the phone's cache.
//   $batch:
inline constexpr char kBatch[] = "$batch:";
// One message. Both directions, with different records.
//
// phone -> computer (backup): six comma-separated fields, empty ones allowed;
// a record with fewer is skipped and counted, fields after the sixth are
// ignored.
//   $sms:1700000000000,1,KzE1NTUwMDAx,QW5u,SGVsbG8=,
//        |             | |            |    |        subject: empty
//        |             | |            |    text: Base64 "Hello"
//        |             | |            contact name: Base64 "Ann"
//        |             | address: Base64 "+15550001"
//        |             1 = sent by the phone's owner; any other value = received
//        time: ms since 1970-01-01 UTC (2023-11-14 22:13:20)
//
// computer -> phone (restore): exactly four fields. The time is the stored
// date (whole seconds) in ms; 1 = sent by the owner, else 0; the text
// without the placeholders (U+FFFC) of attachments.
//   $sms:1700000000000,0,KzE1NTUwMDAx,SGVsbG8=
//        |             | |            text: Base64 "Hello"
//        |             | address: Base64 "+15550001"
//        |             0 = received (1 = sent by the owner)
//        time: ms since 1970-01-01 UTC, whole seconds
inline constexpr char kSms[] = "$sms:";
// Both, no argument: the end of the current batch (sent by the phone in a
// backup, by the computer in a restore).
//   $end:
inline constexpr char kEnd[] = "$end:";
// Restore only, the phone's first line after "$ready:": whether it must
// first become the default messaging app (non-zero: yes; no number counts
// as 0). Then the computer shows the user the hint, waits for OK and
// answers with the tag alone; after "$defsmsapp:0" it sends its first batch
// at once.
//   phone:    $defsmsapp:1
//   computer: $defsmsapp:
inline constexpr char kDefSmsApp[] = "$defsmsapp:";
// Both, no argument: the end of the exchange. Device: the computer's only
// line; backup: the phone's last line, answered with the same; restore: the
// computer's last line, nothing more is read.
//   $bye:
inline constexpr char kBye[] = "$bye:";
// Both: the sender failed; Base64 of the UTF-8 error text. Received, it
// becomes a RemoteException with that text; a LocalException sends it first.
// "invalid feedback [$bye:], must be [$batch:]":
//   $error:aW52YWxpZCBmZWVkYmFjayBbJGJ5ZTpdLCBtdXN0IGJlIFskYmF0Y2g6XQ==
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
