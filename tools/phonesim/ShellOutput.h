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

    static void writeErr(const QByteArray& bytes);

private:
    bool crlf;
    QByteArray pending;
};
