#pragma once

#include "android/SimpleProtocol.h"

#include <QElapsedTimer>

class QAbstractSocket;

// Blocking waits on a socket in short slices, for the line protocol: each
// slice ends with a look at the cancel check, so a user's cancel ends any
// wait within kWaitSliceMs. Internal to the protocol code.
namespace simpleprotocol {

constexpr int kWaitSliceMs = 100;

// A time limit that started now; -1 means none.
class Deadline
{
public:
    explicit Deadline(int timeoutMs) : limit(timeoutMs) { clock.start(); }
    bool expired() const { return limit >= 0 && clock.elapsed() >= limit; }
    // The next wait: at most one slice, and never past the limit.
    int nextSlice() const;

private:
    int limit;
    QElapsedTimer clock;
};

// Throws the integer -1 when the check says the user cancelled.
void throwIfCancelled(const CancelCheck& cancelled);
// Waits until more bytes can be read. SocketDataTransferException with the
// socket's error text when the connection failed or the deadline passed.
void waitForData(QAbstractSocket* device, const Deadline& deadline, const CancelCheck& cancelled);
// Waits until every byte written has left. The same failures.
void waitUntilWritten(QAbstractSocket* device, const Deadline& deadline, const CancelCheck& cancelled);
// What a refused connection means to connectWithin.
enum class WhenRefused
{
    GiveUp,   // nobody listens there
    TryAgain, // the listener may not be up yet: again every slice until the limit
};
// Connects to host:port within the time limit. False when no connection was made.
bool connectWithin(QAbstractSocket* socket, const QString& host, int port, int timeoutMs,
                   const CancelCheck& cancelled, WhenRefused refused = WhenRefused::TryAgain);
// Sleeps ms in slices, watching the cancel check.
void pause(int ms, const CancelCheck& cancelled);

} // namespace simpleprotocol
