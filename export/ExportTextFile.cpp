#include "export/ExportTextFile.h"

#include <QStringConverter>
#include <QStringView>

#include <stdexcept>

namespace {
std::runtime_error fileError(const QFile& file)
{
    return std::runtime_error(file.errorString().toUtf8().toStdString());
}
} // namespace

ExportTextFile::ExportTextFile(const QString& path) : file(path) {}

void ExportTextFile::open()
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw fileError(file);
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
}

void ExportTextFile::writeLine(const QString& text)
{
    write(text);
    stream << "\r\n";
}

void ExportTextFile::close()
{
    if (!file.isOpen())
        return;
    stream.flush();
    const bool written = stream.status() == QTextStream::Ok && file.flush() && file.error() == QFile::NoError;
    if (!written) {
        const std::runtime_error error = fileError(file);
        file.close();
        throw error;
    }
    file.close();
}
