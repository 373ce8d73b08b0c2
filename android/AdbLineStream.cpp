#include "android/AdbLineStream.h"

#include "android/AdbOutput.h"

#include <QElapsedTimer>

namespace {
constexpr int kStartLimitMs = 10000;
constexpr int kWaitSliceMs = 100;
constexpr int kReapLimitMs = 10000;
} // namespace

AdbLineStream::AdbLineStream(const QStringList& args, const AdbStopCheck& stop, int stallLimitMs)
    : args(args), stop(stop), stallLimitMs(stallLimitMs)
{}

AdbLineStream::~AdbLineStream()
{
    if (process.state() != QProcess::NotRunning)
        killAndReap();
}

void AdbLineStream::start()
{
    process.start(QStringLiteral("adb"), args, QIODevice::ReadWrite);
    if (!process.waitForStarted(kStartLimitMs)) {
        killAndReap();
        throw std::runtime_error("run adb failed.");
    }
    process.closeWriteChannel();
}

bool AdbLineStream::readLine(QByteArray* line)
{
    for (;;) {
        if (process.canReadLine()) {
            // Without a size: a size makes Qt allocate that much for every line.
            *line = process.readLine();
            line->chop(1);
            if (line->size() > kAdbMaxLineBytes) {
                killAndReap();
                throw std::runtime_error("adb sent a line longer than 64 MB.");
            }
            return true;
        }
        if (process.bytesAvailable() > kAdbMaxLineBytes) {
            killAndReap();
            throw std::runtime_error("adb sent a line longer than 64 MB.");
        }
        if (process.state() == QProcess::NotRunning) {
            if (process.bytesAvailable() > 0) {
                *line = process.readAll(); // the last line, without a line feed
                return true;
            }
            finishUp();
            return false;
        }
        waitForBytes();
    }
}

// Waits in short slices until more output came or adb ended; kills adb on
// a stop or when nothing came for the stall limit.
void AdbLineStream::waitForBytes()
{
    QElapsedTimer quiet;
    quiet.start();
    const qint64 before = process.bytesAvailable();
    while (process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(kWaitSliceMs);
        if (stop && stop()) {
            killAndReap();
            throw AdbStopped();
        }
        if (process.bytesAvailable() != before)
            return;
        if (quiet.elapsed() > stallLimitMs) {
            killAndReap();
            throw AdbStalled();
        }
    }
}

void AdbLineStream::finishUp()
{
    if (ended)
        return;
    ended = true;
    process.waitForFinished(kReapLimitMs);
    stderrText = withoutServerNotices(adbText(process.readAllStandardError())).trimmed();
    exitStatus = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void AdbLineStream::killAndReap()
{
    process.kill();
    process.waitForFinished(kReapLimitMs);
}
