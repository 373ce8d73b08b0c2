#include "android/ProtocolWait.h"

#include <QAbstractSocket>
#include <QThread>
#include <QVariant>

#include <algorithm>

namespace simpleprotocol {

namespace {

// A wait that ended without success: fine when only the slice ran out.
void checkWaitFailure(QAbstractSocket* device, const Deadline& deadline)
{
    const bool sliceOver = device->error() == QAbstractSocket::SocketTimeoutError &&
                           device->state() == QAbstractSocket::ConnectedState;
    if (!sliceOver || deadline.expired())
        throw SocketDataTransferException(device->errorString());
}

} // namespace

int Deadline::nextSlice() const
{
    if (limit < 0)
        return kWaitSliceMs;
    return int(std::clamp<qint64>(limit - clock.elapsed(), 0, kWaitSliceMs));
}

void throwIfCancelled(const CancelCheck& cancelled)
{
    if (cancelled && cancelled())
        throw -1;
}

void waitForData(QAbstractSocket* device, const Deadline& deadline, const CancelCheck& cancelled)
{
    for (;;) {
        throwIfCancelled(cancelled);
        if (device->waitForReadyRead(std::max(1, deadline.nextSlice())))
            return;
        checkWaitFailure(device, deadline);
    }
}

void waitUntilWritten(QAbstractSocket* device, const Deadline& deadline, const CancelCheck& cancelled)
{
    device->flush();
    while (device->bytesToWrite() > 0) {
        throwIfCancelled(cancelled);
        if (!device->waitForBytesWritten(std::max(1, deadline.nextSlice())))
            checkWaitFailure(device, deadline);
    }
}

bool connectWithin(QAbstractSocket* socket, const QString& host, int port, int timeoutMs,
                   const CancelCheck& cancelled, WhenRefused refused)
{
    const Deadline deadline(timeoutMs);
    for (;;) {
        throwIfCancelled(cancelled);
        if (socket->state() == QAbstractSocket::UnconnectedState)
            socket->connectToHost(host, quint16(port));
        if (socket->waitForConnected(std::max(1, deadline.nextSlice()))) {
            // Lines are small and answered one by one: waiting to fill a
            // packet (Nagle) would stall every exchange by a delayed ACK.
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            return true;
        }
        if (deadline.expired()) {
            socket->abort();
            return false;
        }
        if (socket->state() == QAbstractSocket::UnconnectedState) {
            if (refused == WhenRefused::GiveUp)
                return false;
            pause(kWaitSliceMs, cancelled);
        }
    }
}

void pause(int ms, const CancelCheck& cancelled)
{
    const Deadline deadline(ms);
    while (!deadline.expired()) {
        throwIfCancelled(cancelled);
        QThread::msleep(ulong(std::max(1, deadline.nextSlice())));
    }
}

} // namespace simpleprotocol
