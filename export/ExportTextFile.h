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
    // with the file's error text (UTF-8) when it cannot be opened.
    void open();
    // Writes text, each line feed in it as CR LF.
    void write(const QString& text);
    // Writes text and a line end.
    void writeLine(const QString& text);
    // Flushes and closes. Throws std::runtime_error with the file's error
    // text when the data could not be written (a full disk, say).
    void close();

private:
    QFile file;
    QTextStream stream;
};
