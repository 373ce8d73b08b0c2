#include "export/ExportTextFile.h"

#include "export/ExportFileError.h"

#include <QStringConverter>
#include <QStringView>

#include <cerrno>

ExportTextFile::ExportTextFile(const QString& path) : file(path) {}

// Unbuffered: the stream hands the file its text in large pieces, and each
// piece goes to the system at once, so a failing write is seen (with its
// errno) in the call that caused it.
void ExportTextFile::open()
{
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw exportWriteError(file, errno);
    stream.setDevice(&file);
    stream.setEncoding(QStringConverter::Utf8);
    stream.setGenerateByteOrderMark(false);
}

void ExportTextFile::write(const QString& text)
{
    const QStringView view(text);
    qsizetype from = 0;
    for (qsizetype lf = view.indexOf(u'\n'); lf >= 0; lf = view.indexOf(u'\n', from)) {
        stream << view.mid(from, lf - from) << "\r\n";
        from = lf + 1;
    }
    stream << view.mid(from);
    throwIfFailed();
}

void ExportTextFile::writeLine(const QString& text)
{
    write(text);
    stream << "\r\n";
    throwIfFailed();
}

void ExportTextFile::close()
{
    if (!file.isOpen())
        return;
    errno = 0;
    stream.flush();
    throwIfFailed();
    file.close();
    if (file.error() != QFile::NoError)
        throw exportWriteError(file, errno);
}

void ExportTextFile::throwIfFailed()
{
    if (stream.status() == QTextStream::Ok && file.error() == QFile::NoError)
        return;
    const int osError = errno;
    file.close();
    throw exportWriteError(file, osError);
}
