#pragma once

#include <QString>

#include <cstdio>

// What the commands of the command line share: the exit statuses, the
// texts and the output.
namespace CommandLine {

enum ExitStatus
{
    Success = 0,
    Failure = 1,
    Usage = 2,
};

QString translated(const char* text);
// The text and a line break, on the stream at once.
void print(std::FILE* stream, const QString& text);
// "textferry: error" on standard error; the status.
int fail(const QString& error, int status = Failure);
// The error as it is when it names the path, else "path: error".
QString namingPath(const QString& error, const QString& path);

} // namespace CommandLine
