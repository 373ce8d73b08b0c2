#include "app/cli/CommandLineIo.h"

#include <QCoreApplication>
#include <QDir>

namespace CommandLine {

QString translated(const char* text)
{
    return QCoreApplication::translate("CommandLine", text);
}

void print(std::FILE* stream, const QString& text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stream);
    std::fflush(stream);
}

int fail(const QString& error, int status)
{
    print(stderr, QStringLiteral("textferry: ") + error);
    return status;
}

QString namingPath(const QString& error, const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    if (error.contains(native) || error.contains(path))
        return error;
    return native + QStringLiteral(": ") + error;
}

} // namespace CommandLine
