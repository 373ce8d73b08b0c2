#pragma once

#include "android/AdbRunner.h"

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <stdexcept>

// The longest a streaming adb call may go without sending a byte before the
// phone counts as gone silent.
constexpr int kAdbStallLimitMs = 30000;
// The longest line a streaming adb call may send (a message of a few
// megabytes, hex-encoded, fits many times over).
constexpr qsizetype kAdbMaxLineBytes = qsizetype(64) * 1024 * 1024;

// adb sent nothing for the stall limit and was killed.
class AdbStalled : public std::runtime_error
{
public:
    AdbStalled() : std::runtime_error("adb sent nothing for too long.") {}
};

// Runs adb and hands out its standard output line by line as it arrives,
// without keeping more than the unread part: the output of a query of a
// hundred thousand rows never sits in memory at once. The stop check is
// asked at least every 100 ms; a stop kills adb at once. Use from one thread.
class AdbLineStream
{
public:
    AdbLineStream(const QStringList& args, const AdbStopCheck& stop, int stallLimitMs = kAdbStallLimitMs);
    ~AdbLineStream();
    AdbLineStream(const AdbLineStream&) = delete;
    AdbLineStream& operator=(const AdbLineStream&) = delete;

    // Starts adb; throws "run adb failed." when it does not start within 10 s.
    void start();
    // The next line without its line feed (the last one may have had none);
    // false once the output has ended and adb has exited. Throws AdbStopped,
    // AdbStalled, or std::runtime_error for a line longer than kAdbMaxLineBytes.
    bool readLine(QByteArray* line);

    // After the end: standard error without the adb server's start-up notices, trimmed.
    QString errorText() const { return stderrText; }
    // After the end: adb's exit code (-1 when it crashed).
    int exitCode() const { return exitStatus; }

private:
    void waitForBytes();
    void finishUp();
    void killAndReap();

    QStringList args;
    AdbStopCheck stop;
    int stallLimitMs;
    QProcess process;
    bool ended = false;
    QString stderrText;
    int exitStatus = 0;
};
