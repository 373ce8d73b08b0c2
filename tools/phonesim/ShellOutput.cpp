#include "tools/phonesim/ShellOutput.h"

#include <QElapsedTimer>
#include <QThread>

#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
constexpr qsizetype kChunkBytes = 64 * 1024;
} // namespace

void ShellOutput::write(const QByteArray& bytes)
{
    if (crlf) {
        QByteArray converted = bytes;
        converted.replace("\n", "\r\n");
        pending += converted;
    } else {
        pending += bytes;
    }
    if (pending.size() >= kChunkBytes)
        flush();
}

void ShellOutput::flush()
{
    if (!pending.isEmpty())
        std::fwrite(pending.constData(), 1, size_t(pending.size()), stdout);
    std::fflush(stdout);
    pending.clear();
}

void ShellOutput::waitUntilRead(int timeoutMs)
{
    flush();
    QElapsedTimer clock;
    clock.start();
    int unread = 0;
    // Linux tells the bytes still in a pipe on either of its ends.
    while (ioctl(STDOUT_FILENO, FIONREAD, &unread) == 0 && unread > 0 && clock.elapsed() < timeoutMs)
        QThread::msleep(5);
}

void ShellOutput::writeErr(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}
