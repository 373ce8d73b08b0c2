#pragma once

#include <QFile>
#include <QString>
#include <QTextStream>

// A UTF-8 text file (no byte-order mark) for the line-oriented exports. Every
// line feed is written as CR LF, so the bytes are the same on every platform;
// the file is opened in binary mode to keep Windows from adding a second CR.
class ExportTextFile
{
public:
    explicit ExportTextFile(const QString& path);

    // Opens the file for writing, truncating it. Throws std::runtime_error
    // naming the file and the reason (UTF-8) when it cannot be opened.
    void open();
    // Writes text, each line feed in it as CR LF. Throws as close() does as
    // soon as a write fails.
    void write(const QString& text);
    // Writes text and a line end.
    void writeLine(const QString& text);
    // Flushes and closes. Throws std::runtime_error naming the file and the
    // reason when the data could not be written (a full disk, say).
    void close();

private:
    // Throws (and closes the file) once the stream or the file failed.
    void throwIfFailed();

    QFile file;
    QTextStream stream;
};
