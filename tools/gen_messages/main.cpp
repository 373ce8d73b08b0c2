// tf_gen_messages: writes a message database folder filled with generated,
// realistic messages, the same files for the same seed.
//
//   tf_gen_messages <output folder> [messages=100000] [conversations=2000] [seed=1] [mcc]
//   tf_gen_messages --demo-phone
//
// --demo-phone places a phone named "Demo Phone" among the virtual phones of
// the user's data folder (once; an existing one is left as it is).

#include "base/AppDirs.h"
#include "tools/gen_messages/MessageGenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <exception>

namespace {

bool readNumber(const QStringList& args, int index, qint64 fallback, qint64 low, qint64 high, qint64* value)
{
    if (index >= args.size()) {
        *value = fallback;
        return true;
    }
    bool ok = false;
    *value = args.at(index).toLongLong(&ok);
    if (!ok || *value < low || *value > high) {
        std::fprintf(stderr, "invalid number: %s\n", qPrintable(args.at(index)));
        return false;
    }
    return true;
}

int writeDemoPhone()
{
    const QDir folder(appDataDir().filePath(QStringLiteral("virtual_android/Demo Phone")));
    if (folder.exists()) {
        std::printf("%s is already there\n", qPrintable(folder.absolutePath()));
        return 0;
    }
    MessageGeneratorOptions options;
    options.messageCount = 4000;
    options.conversationCount = 80;
    options.seed = 7;
    try {
        const int written = MessageGenerator::writeDatabase(folder, QString(), options);
        std::printf("demo phone with %d messages in %s\n", written, qPrintable(folder.absolutePath()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 2 && args.at(1) == QLatin1String("--demo-phone"))
        return writeDemoPhone();
    if (args.size() < 2 || args.size() > 6 || args.at(1).startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: tf_gen_messages <output folder> [messages=100000] [conversations=2000] "
                             "[seed=1] [mcc]\n");
        return 2;
    }
    qint64 messages = 0;
    qint64 conversations = 0;
    qint64 seed = 0;
    if (!readNumber(args, 2, 100000, 0, 50000000, &messages) ||
        !readNumber(args, 3, 2000, 1, 10000000, &conversations) ||
        !readNumber(args, 4, 1, 0, 0xFFFFFFFFLL, &seed))
        return 2;
    const QString mcc = args.size() > 5 ? args.at(5) : QString();

    const QDir folder(QFileInfo(args.at(1)).absoluteFilePath());
    const QString databaseFile = folder.filePath(QStringLiteral("file-relay/var/mobile/Library/SMS/sms.db"));
    if (QFileInfo::exists(databaseFile)) {
        std::fprintf(stderr, "%s already exists; choose an empty folder\n", qPrintable(databaseFile));
        return 1;
    }

    MessageGeneratorOptions options;
    options.messageCount = int(messages);
    options.conversationCount = int(conversations);
    options.seed = quint32(seed);
    QElapsedTimer timer;
    timer.start();
    try {
        const int written = MessageGenerator::writeDatabase(folder, mcc, options);
        std::printf("%d messages written to %s in %.1f s\n", written, qPrintable(databaseFile),
                    double(timer.elapsed()) / 1000.0);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    return 0;
}
