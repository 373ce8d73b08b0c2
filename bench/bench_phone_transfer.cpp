// bench_phone_transfer [messages=10000]: sending messages to a phone through
// the real transfer job (adb broadcast, restore connection, batches of 100
// with the phone's acknowledgements, the phone's cache written), to the phone
// simulator over loopback. Best of two runs, each to a phone with an empty
// cache, so that every message goes out.

#include "bench/BenchSupport.h"
#include "bench/PhoneSimSupport.h"
#include "bench/ProgressSink.h"

#include "android/AndroidDevice.h"
#include "android/AndroidRestoreSMSThread.h"
#include "base/AppDirs.h"
#include "store/MessageSet.h"
#include "tools/gen_messages/MessageGenerator.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstdio>

using namespace BenchSupport;

namespace {

qint64 linesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const auto home = useTemporaryHome();
    QCoreApplication app(argc, argv);
    const int requested = messageCountArgument(app.arguments(), 10000);
    AndroidDevice phone = PhoneSimSupport::plugBenchPhone(*home, QStringLiteral("TARGET1"),
                                                          QStringLiteral("350000000000088"), 0);
    MessageGeneratorOptions options;
    options.messageCount = requested;
    options.conversationCount = std::max(1, requested / 50);
    MessageSet set;
    const QList<_MsgMessage*> messages = MessageGenerator(options).generate(set);

    double best = 0;
    QString restoredFile = home->filePath(QStringLiteral("phonesim/restored/TARGET1.jsonl"));
    for (int run = 0; run < 2; ++run) {
        removeDirRecursively(phone.cacheDir());
        QFile::remove(restoredFile);
        ProgressSink sink;
        AndroidRestoreSMSThread job(&phone, messages, &sink, nullptr);
        sink.moveToThread(&job);
        const double seconds = secondsOf([&] {
            job.start();
            job.wait();
        });
        if (!sink.succeeded) {
            std::fprintf(stderr, "the transfer failed: %s\n", qPrintable(sink.error));
            return 1;
        }
        best = run == 0 ? seconds : std::min(best, seconds);
    }
    const qint64 received = linesOf(restoredFile);
    printTitle(
        QStringLiteral("bench_phone_transfer: %1 messages to the phone simulator").arg(messages.size()));
    printRow(QString(), QStringLiteral("time"), QStringLiteral("rate"), QStringLiteral("received"));
    printRow(QStringLiteral("transfer job (batches of 100, cache written)"), seconds(best),
             perSecond(double(messages.size()), best), QString::number(received));
    return 0;
}
