// bench_shell_load [messages=100000]: the same messages of the phone
// simulator loaded into a phone cache through both routes in the same run:
// the companion app's backup connection (AndroidLoadSMSThread) and the adb
// shell's content queries (AndroidShellLoadSMSThread: the count, the contact
// names, one hex-encoded row per message). Three runs each, taken in turn
// (the first route changing each run); each load builds its cache afresh. Then the shell route's reading and
// parsing measured apart from the writer.

#include "bench/BenchSupport.h"
#include "bench/PhoneSimSupport.h"
#include "bench/ProgressSink.h"

#include "android/AdbLineStream.h"
#include "android/AndroidDevice.h"
#include "android/AndroidLoadSMSThread.h"
#include "android/AndroidShellLoadSMSThread.h"
#include "android/ContentQueryRows.h"
#include "android/ShellRoute.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageSet.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace BenchSupport;

namespace {

constexpr int kRuns = 3;

// Seconds of one load through the job, or a negative number when it failed.
template <typename Job> double timedLoad(AndroidDevice& phone)
{
    return timedRun<Job>(&phone).seconds;
}

int cachedMessageCount(const AndroidDevice& phone)
{
    MessageSet set;
    IOS6MessageDb(QDir(phone.cacheDir()), phone.mmc).readMessages(set, 0);
    return int(set.messages.size());
}

// The message query alone: adb's stream read line by line, and the same
// lines parsed and hex-decoded, without writing anything.
void printReadingPhases(const AndroidDevice& phone, double n)
{
    const QString projection = QLatin1String(ShellRoute::kSmsHexProjection);
    const QStringList args =
        ShellRoute::contentQueryArgs(phone.serial, QLatin1String(ShellRoute::kSmsUri), projection);
    QList<QByteArray> lines;
    const double stream = secondsOf([&] {
        AdbLineStream adb(args, {});
        adb.start();
        QByteArray line;
        while (adb.readLine(&line))
            lines.append(line);
    });
    const double parse = secondsOf([&] {
        ContentQueryRows rows(QStringLiteral("the message query"), projection);
        ContentRow row;
        for (const QByteArray& line : std::as_const(lines)) {
            rows.addLine(line);
            while (rows.takeRow(&row)) {
            }
        }
        rows.finish();
    });
    printRow(QStringLiteral("phase: message query streamed (adb, stand-in)"), seconds(stream),
             perSecond(n, stream));
    printRow(QStringLiteral("phase: rows parsed and hex-decoded"), seconds(parse), perSecond(n, parse));
}

QString spread(const QList<double>& values)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return QStringLiteral("%1 .. %2").arg(ratio(*low), ratio(*high));
}

} // namespace

int main(int argc, char* argv[])
{
    const auto home = useTemporaryHome();
    QCoreApplication app(argc, argv);
    const int requested = messageCountArgument(app.arguments(), 100000);
    AndroidDevice companion = PhoneSimSupport::plugBenchPhone(*home, QStringLiteral("BENCH2"),
                                                              QStringLiteral("350000000000078"), requested);
    AndroidDevice shell = companion;
    shell.imei.clear();
    shell.viaAdbShell = true;
    shell.uid = QStringLiteral("adb-shell:BENCH2");

    QList<double> companionTimes;
    QList<double> shellTimes;
    QList<double> ratios;
    for (int run = 0; run < kRuns; ++run) {
        // Taken in turn, the first route changing each run: neither always meets a warm cache.
        double c = 0;
        double s = 0;
        if (run % 2 == 0) {
            c = timedLoad<AndroidLoadSMSThread>(companion);
            s = timedLoad<AndroidShellLoadSMSThread>(shell);
        } else {
            s = timedLoad<AndroidShellLoadSMSThread>(shell);
            c = timedLoad<AndroidLoadSMSThread>(companion);
        }
        if (c < 0 || s < 0)
            return 1;
        companionTimes << c;
        shellTimes << s;
        ratios << c / s;
    }
    const int viaCompanion = cachedMessageCount(companion);
    const int viaShell = cachedMessageCount(shell);
    if (viaCompanion != viaShell) {
        std::fprintf(stderr, "the routes loaded %d and %d messages\n", viaCompanion, viaShell);
        return 1;
    }
    const double n = double(viaShell);
    const double bestCompanion = *std::min_element(companionTimes.begin(), companionTimes.end());
    const double bestShell = *std::min_element(shellTimes.begin(), shellTimes.end());
    QList<double> sortedRatios = ratios;
    std::sort(sortedRatios.begin(), sortedRatios.end());

    printTitle(QStringLiteral("bench_shell_load: %1 messages from the phone simulator, %2 runs each")
                   .arg(viaShell)
                   .arg(kRuns));
    printRow(QString(), QStringLiteral("best time"), QStringLiteral("best rate"), QStringLiteral("all runs"));
    const auto runs = [](const QList<double>& times) {
        QStringList texts;
        for (double t : times)
            texts << seconds(t);
        return texts.join(QStringLiteral(", "));
    };
    printRow(QStringLiteral("companion route (backup connection)"), seconds(bestCompanion),
             perSecond(n, bestCompanion), runs(companionTimes));
    printRow(QStringLiteral("shell route (content query, hex rows)"), seconds(bestShell),
             perSecond(n, bestShell), runs(shellTimes));
    printRow(QStringLiteral("shell rate / companion rate (median)"), ratio(sortedRatios.at(kRuns / 2)),
             spread(ratios), QStringLiteral("goal >= 1.00x"));
    printReadingPhases(shell, n);
    return 0;
}
