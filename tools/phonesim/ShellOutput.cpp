#include "tools/phonesim/ShellOutput.h"

#include <cstdio>

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

void ShellOutput::writeErr(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}
