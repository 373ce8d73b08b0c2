// tf_gen_old_localdb: writes a local database of the earlier single-file
// format, filled with generated messages, for trying the start-up conversion.
//
//   tf_gen_old_localdb <output file> [messages=200] [seed=1]

#include "tools/gen_old_localdb/OldLocalDbWriter.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <exception>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: tf_gen_old_localdb <output file> [messages=200] [seed=1]\n");
        return 2;
    }
    const int count = args.size() > 2 ? args.at(2).toInt() : 200;
    const quint32 seed = args.size() > 3 ? args.at(3).toUInt() : 1;
    try {
        const QList<OldSmsRow> rows = generatedOldRows(count, seed);
        writeOldLocalDatabase(args.at(1), rows);
        std::printf("%lld messages in %s\n", qint64(rows.size()), qPrintable(args.at(1)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    return 0;
}
