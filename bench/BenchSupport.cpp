#include "bench/BenchSupport.h"

#include "tools/gen_messages/MessageGenerator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>

#include <malloc.h>

#include <cstdio>
#include <limits>

namespace BenchSupport {

std::unique_ptr<QTemporaryDir> useTemporaryHome()
{
    auto home = std::make_unique<QTemporaryDir>();
    if (!home->isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        std::exit(1);
    }
    qputenv("HOME", QFile::encodeName(home->path()));
    // The data folder follows XDG_DATA_HOME before HOME on Linux.
    qunsetenv("XDG_DATA_HOME");
    return home;
}

std::unique_ptr<QTemporaryDir> useTemporaryHomeOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return useTemporaryHome();
}

int messageCountArgument(const QStringList& arguments, int fallback)
{
    bool ok = false;
    const int count = arguments.size() > 1 ? arguments.at(1).toInt(&ok) : fallback;
    return ok && count > 0 ? count : fallback;
}

void generateDatabase(const QDir& folder, int messages, int conversations)
{
    MessageGeneratorOptions options;
    options.messageCount = messages;
    options.conversationCount = conversations;
    int written = 0;
    const double took =
        secondsOf([&] { written = MessageGenerator::writeDatabase(folder, QString(), options); });
    std::printf("generated %d messages in %d conversations (%.1f s)\n\n", written, conversations, took);
    std::fflush(stdout);
}

qint64 scalar(Sqlite3DB& db, const QString& sql)
{
    Sqlite3Cursor cursor = db.queryThrow(sql);
    return cursor.moveNext() ? cursor.getInt64(0) : 0;
}

double secondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

double bestOf(int runs, const std::function<void()>& work, const std::function<void()>& before)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < runs; ++i) {
        if (before)
            before();
        best = std::min(best, secondsOf(work));
    }
    return best;
}

FloorRun runFloorScript(const QString& name, const QStringList& args)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty()) {
        std::fprintf(stderr, "python3 is not on PATH: the floor cannot be measured\n");
        std::exit(1);
    }
    const QString script = QDir(QStringLiteral(TEXTFERRY_BENCH_SOURCE_DIR)).filePath(name);
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    bool ok = false;
    FloorRun run;
    run.seconds = secondsOf([&] {
        process.start(python, QStringList{script} + args);
        ok = process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
             process.exitCode() == 0;
    });
    if (!ok) {
        std::fprintf(stderr, "the floor script %s failed\n", qPrintable(script));
        std::exit(1);
    }
    const QList<QByteArray> lines = process.readAllStandardOutput().trimmed().split('\n');
    bool printed = false;
    const double seconds = lines.last().trimmed().toDouble(&printed);
    if (printed)
        run.printed = seconds;
    return run;
}

qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks) + qint64(info.hblkhd);
}

void printTitle(const QString& title)
{
    std::printf("%s\n%s\n", qPrintable(title), qPrintable(QString(title.size(), QLatin1Char('='))));
}

void printRow(const QString& label, const QString& a, const QString& b, const QString& c, const QString& note)
{
    const QString line = QString::asprintf("%-44s %14s %16s %18s  ", qPrintable(label), qPrintable(a),
                                           qPrintable(b), qPrintable(c)) +
                         note;
    qsizetype end = line.size();
    while (end > 0 && line.at(end - 1) == QLatin1Char(' '))
        --end;
    std::printf("%s\n", qPrintable(line.left(end)));
    std::fflush(stdout);
}

QString seconds(double value)
{
    return QString::number(value, 'f', 3) + QStringLiteral(" s");
}

QString perSecond(double count, double seconds)
{
    return QString::number(seconds > 0 ? count / seconds : 0.0, 'f', 0) + QStringLiteral(" msg/s");
}

QString ratio(double value)
{
    return QString::number(value, 'f', 2) + QLatin1Char('x');
}

std::unique_ptr<GeneratedSource> generateSource(const QStringList& arguments, int fallback)
{
    auto source = std::make_unique<GeneratedSource>();
    source->messages = messageCountArgument(arguments, fallback);
    source->conversations = std::max(1, source->messages / 50);
    source->folder = QDir(source->work.filePath(QStringLiteral("source")));
    generateDatabase(source->folder, source->messages, source->conversations);
    return source;
}

} // namespace BenchSupport
