#include "android/SimpleProtocol.h"

#include "android/ProtocolWait.h"

#include <QAbstractSocket>
#include <QRegularExpression>
#include <QTime>

#include <algorithm>
#include <atomic>

namespace simpleprotocol {

namespace {

// A failed "$error:" report must not hold the job: it gets this long.
constexpr int kErrorReportLimitMs = 5000;

std::atomic<int> portCounter{1};

std::string utf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

[[noreturn]] void throwLineTooLong()
{
    throw SocketDataTransferException(
        QStringLiteral("The phone sent a line longer than %1 MB; the connection was given up.")
            .arg(kMaxLineBytes / (1024 * 1024)));
}

QString lineOf(QByteArray bytes)
{
    bytes.chop(1); // the line feed
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\r'), bytes.end());
    return QString::fromLatin1(bytes);
}

int takeCounter()
{
    int current = portCounter.load();
    for (;;) {
        const int value = current % 100 == 0 ? 1 : current;
        if (portCounter.compare_exchange_weak(current, value + 1))
            return value;
    }
}

} // namespace

LocalException::LocalException(QAbstractSocket* peer, const QString& text) : std::runtime_error(utf8(text))
{
    sendCommand(peer, QLatin1String(kError), encodeText(text), true, kErrorReportLimitMs);
}

RemoteException::RemoteException(const QString& text) : std::runtime_error(utf8(text)) {}

SocketDataTransferException::SocketDataTransferException(const QString& text) : std::runtime_error(utf8(text))
{}

QString readProtocolLine(QAbstractSocket* device, int timeoutMs, const CancelCheck& cancelled)
{
    const Deadline deadline(timeoutMs);
    for (;;) {
        if (device->canReadLine()) {
            // Without a size: readLine(max) would set aside max bytes for every line.
            const QByteArray bytes = device->readLine();
            if (bytes.size() > kMaxLineBytes + 1 || !bytes.endsWith('\n'))
                throwLineTooLong();
            return lineOf(bytes);
        }
        if (device->bytesAvailable() > kMaxLineBytes)
            throwLineTooLong();
        waitForData(device, deadline, cancelled);
    }
}

void writeAll(QAbstractSocket* device, const QByteArray& bytes, bool flush, int timeoutMs,
              const CancelCheck& cancelled)
{
    if (bytes.isEmpty())
        return;
    if (device->write(bytes) != bytes.size())
        throw SocketDataTransferException(device->errorString());
    if (flush)
        waitUntilWritten(device, Deadline(timeoutMs), cancelled);
}

void sendCommand(QAbstractSocket* device, const QString& tag, const QString& argument, bool flush,
                 int timeoutMs, const CancelCheck& cancelled)
{
    writeAll(device, (tag + argument + QLatin1Char('\n')).toUtf8(), flush, timeoutMs, cancelled);
}

QString readCommand(QAbstractSocket* device, int timeoutMs, const CancelCheck& cancelled)
{
    const QString line = readProtocolLine(device, timeoutMs, cancelled);
    if (line.isEmpty())
        throw SocketDataTransferException(QStringLiteral("Null command."));
    if (line.startsWith(QLatin1String(kError)))
        throw RemoteException(decodeText(line.mid(int(qstrlen(kError)))));
    return line;
}

QString expectFeedback(QAbstractSocket* device, const QString& expectedTag, int timeoutMs,
                       const CancelCheck& cancelled)
{
    const QString line = readCommand(device, timeoutMs, cancelled);
    if (line.startsWith(expectedTag))
        return line;
    throw LocalException(device,
                         QStringLiteral("invalid feedback [%1], must be [%2]").arg(line, expectedTag));
}

int portFor(int minute, int second, int counter)
{
    if (counter % 100 == 0)
        counter = 1;
    return 10000 * (minute % 4 + 1) + 100 * second + counter;
}

int pickPort()
{
    const int counter = takeCounter();
    const QTime now = QTime::currentTime();
    return portFor(now.minute(), now.second(), counter);
}

QList<QPair<QString, QString>> scanDeviceInfo(const QString& text)
{
    static const QRegularExpression pair(QStringLiteral("([^=;]+)=([^=;]+);?"));
    QList<QPair<QString, QString>> pairs;
    QRegularExpressionMatchIterator it = pair.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        pairs.append({match.captured(1), match.captured(2)});
    }
    return pairs;
}

QString encodeText(const QString& text)
{
    return QString::fromLatin1(text.toUtf8().toBase64());
}

QString decodeText(const QString& base64)
{
    return QString::fromUtf8(QByteArray::fromBase64(base64.toLatin1()));
}

} // namespace simpleprotocol
