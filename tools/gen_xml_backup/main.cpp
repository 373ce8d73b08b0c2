// tf_gen_xml_backup: writes a backup file of the Android SMS backup app,
// filled with generated messages the way real files look; the same seed
// gives the same bytes. The file is streamed, so any size can be made.
//
//   tf_gen_xml_backup --out PATH [--count N=100000] [--seed S=1]

#include "tools/gen_xml_backup/XmlBackupGenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <exception>
#include <stdexcept>

namespace {
const char kUsage[] = "usage: tf_gen_xml_backup --out PATH [--count N=100000] [--seed S=1]\n";

int usageError(const char* problem, const QString& detail = QString())
{
    std::fprintf(stderr, "%s%s\n%s", problem, qPrintable(detail), kUsage);
    return 2;
}

bool readNumber(const QString& text, qint64 low, qint64 high, qint64* value)
{
    bool ok = false;
    *value = text.toLongLong(&ok);
    return ok && *value >= low && *value <= high;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString out;
    XmlBackupOptions options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& option = args.at(i);
        if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (i + 1 >= args.size())
            return usageError("missing value after ", option);
        const QString& value = args.at(++i);
        qint64 number = 0;
        if (option == QLatin1String("--out")) {
            out = value;
        } else if (option == QLatin1String("--count")) {
            if (!readNumber(value, 0, 1000000000, &number))
                return usageError("invalid count: ", value);
            options.count = number;
        } else if (option == QLatin1String("--seed")) {
            if (!readNumber(value, 0, 0xFFFFFFFFLL, &number))
                return usageError("invalid seed: ", value);
            options.seed = quint32(number);
        } else {
            return usageError("unknown option: ", option);
        }
    }
    if (out.isEmpty())
        return usageError("no output file given");

    QElapsedTimer timer;
    timer.start();
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "error: %s: %s\n", qPrintable(out), qPrintable(file.errorString()));
        return 1;
    }
    try {
        XmlBackupGenerator(options).write(file);
        if (!file.flush())
            throw std::runtime_error(file.errorString().toUtf8().toStdString());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s: %s\n", qPrintable(out), e.what());
        return 1;
    }
    std::printf("%lld records, %lld bytes in %s (%.1f s)\n", options.count, qint64(file.size()),
                qPrintable(out), double(timer.elapsed()) / 1000.0);
    return 0;
}
