#pragma once

#include <QByteArray>

// Standard output of a command on the phone, written as it goes in chunks of
// 64 KiB (flushed, so a reader sees rows while the query still runs). With
// crlf every line feed leaves as CR LF, as through a terminal.
class ShellOutput
{
public:
    explicit ShellOutput(bool crlf) : crlf(crlf) {}
    ~ShellOutput() { flush(); }
    ShellOutput(const ShellOutput&) = delete;
    ShellOutput& operator=(const ShellOutput&) = delete;

    void write(const QByteArray& bytes);
    void flush();
    // Flushes, then waits (up to timeoutMs) until the reader has taken
    // everything out of the pipe; at once when standard output is no pipe.
    void waitUntilRead(int timeoutMs);

    static void writeErr(const QByteArray& bytes);

private:
    bool crlf;
    QByteArray pending;
};
