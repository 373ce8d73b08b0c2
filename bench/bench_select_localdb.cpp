// bench_select_localdb: how long the main window takes to show a local
// database when the user selects it for the first time (read its
// conversations and messages, group them, sort them, fill the list, render
// the browser's first page and paint), and the resident memory that adds.
//
//   bench_select_localdb [messages ...]        default: 100000
//
// Each size runs in three fresh processes (a round never inherits the heap of
// the one before), beside its floor measured in the same run: the bare SQLite
// C API over the same rows (chats, their correspondents and the message
// query), best of three. With more than one size, the growth from the
// smallest to the largest follows.
//
// Generated databases (2,000 conversations, seed 1) are kept in "bench-data"
// beside the program, or in TEXTFERRY_BENCH_DATA, and used again by later
// runs; delete that folder to generate them anew.

#include "BenchSupport.h"
#include "app/MainWindow.h"
#include "app/messages/SmsBrowser.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "base/AppDirs.h"
#include "bench/BareSqlite.h"
#include "store/IOS6MessageDb.h"
#include "tools/gen_messages/MessageGenerator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <unistd.h>

using namespace BenchSupport;

namespace {
const char kDatabaseName[] = "Big";
const char kRoundOption[] = "--round";
constexpr int kRounds = 3;
constexpr int kConversations = 2000;

// Resident sizes of this process from /proc/self/status, in bytes.
struct Resident
{
    qint64 now = 0;  // VmRSS
    qint64 peak = 0; // VmHWM
};

Resident residentNow()
{
    QFile status(QStringLiteral("/proc/self/status"));
    Resident resident;
    if (!status.open(QIODevice::ReadOnly))
        return resident;
    const QString text = QString::fromLatin1(status.readAll());
    const auto kilobytes = [&text](const char* key) {
        const QRegularExpression line(QStringLiteral("^%1:\\s+(\\d+) kB").arg(QLatin1String(key)),
                                      QRegularExpression::MultilineOption);
        return line.match(text).captured(1).toLongLong() * 1024;
    };
    resident.now = kilobytes("VmRSS");
    resident.peak = kilobytes("VmHWM");
    return resident;
}

// What one round (one process) measured.
struct Round
{
    double seconds = 0;
    int rows = 0;
    int page = 0;
    qint64 residentBefore = 0;
    qint64 residentAfter = 0;
    qint64 peakAfter = 0;
    qint64 heapAdded = 0;

    qint64 residentAdded() const { return residentAfter - residentBefore; }
    qint64 peakAdded() const { return peakAfter - residentBefore; }
};

// Puts the database file of folder into the data folder as the local
// database kDatabaseName: a hard link when the file system allows, else a copy
// (the window refuses symbolic links that lead out of its folder).
bool placeDatabase(const QString& folder)
{
    const QString relative = QStringLiteral("file-relay/var/mobile/Library/SMS/sms.db");
    const QString source = QDir(folder).absoluteFilePath(relative);
    const QString target =
        QDir(localDbDir().absoluteFilePath(QLatin1String(kDatabaseName))).absoluteFilePath(relative);
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return false;
    return ::link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0 ||
           QFile::copy(source, target);
}

// One fresh window of this process selects the database of folder; prints the
// round's figures on one line for the parent.
int runRound(const QString& folder)
{
    if (!placeDatabase(folder)) {
        std::fprintf(stderr, "cannot put %s into the data folder\n", qPrintable(folder));
        return 1;
    }
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    window.show();
    QApplication::processEvents();
    auto* tree = window.findChild<MyTreeView*>(QStringLiteral("treeViewDS"));
    auto* list = window.findChild<MyTreeView*>(QStringLiteral("treeViewSMS"));
    auto* browser = window.findChild<SmsBrowser*>(QStringLiteral("txtSMS"));
    auto* model = qobject_cast<ItemModelMain*>(tree->model());
    AbsTreeItemModel::_ItemNode* node = nullptr;
    for (AbsTreeItemModel::_ItemNode* child : model->localDbRoot()->children) {
        if (child->name == QLatin1String(kDatabaseName))
            node = child;
    }
    if (!node) {
        std::fprintf(stderr, "the window does not list the database\n");
        return 1;
    }

    // An error box would wait for a click forever: the round fails with its text instead.
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::fprintf(stderr, "the window showed: %s\n", qPrintable(box->text()));
            std::exit(1);
        }
    });
    watchdog.start(1000);

    Round round;
    round.residentBefore = residentNow().now;
    const qint64 heapBefore = heapInUse();
    QElapsedTimer timer;
    timer.start();
    tree->setCurrentIndex(model->indexOfNode(node));
    // The queued expand and the layouts run, then the window paints once.
    QApplication::processEvents();
    window.repaint();
    round.seconds = double(timer.nsecsElapsed()) / 1e9;
    round.heapAdded = heapInUse() - heapBefore;
    const Resident after = residentNow();
    round.residentAfter = after.now;
    round.peakAfter = after.peak;
    round.rows = list->model()->rowCount();
    round.page = browser->currentPage();
    std::printf("round %.6f %d %d %lld %lld %lld %lld\n", round.seconds, round.rows, round.page,
                round.residentBefore, round.residentAfter, round.peakAfter, round.heapAdded);
    return 0;
}

// Runs one round in a fresh process of this program.
Round roundInChild(const QString& folder)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QLatin1String(kRoundOption), folder});
    Round round;
    if (!child.waitForFinished(-1) || child.exitCode() != 0) {
        std::fprintf(stderr, "a round failed\n");
        std::exit(1);
    }
    const QStringList fields =
        QString::fromLatin1(child.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
    if (fields.size() != 8 || fields.at(0) != QLatin1String("round")) {
        std::fprintf(stderr, "a round printed no figures\n");
        std::exit(1);
    }
    round.seconds = fields.at(1).toDouble();
    round.rows = fields.at(2).toInt();
    round.page = fields.at(3).toInt();
    round.residentBefore = fields.at(4).toLongLong();
    round.residentAfter = fields.at(5).toLongLong();
    round.peakAfter = fields.at(6).toLongLong();
    round.heapAdded = fields.at(7).toLongLong();
    return round;
}

QString dataFolder()
{
    const QString configured = qEnvironmentVariable("TEXTFERRY_BENCH_DATA");
    if (!configured.isEmpty())
        return configured;
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("bench-data"));
}

// The generated database of that many messages, made once and kept.
QDir databaseOf(int messages)
{
    const QDir folder(QDir(dataFolder()).absoluteFilePath(QStringLiteral("select-%1").arg(messages)));
    const QString done = folder.absoluteFilePath(QStringLiteral("complete"));
    if (QFile::exists(done))
        return folder;
    QDir(folder.absolutePath()).removeRecursively();
    generateDatabase(folder, messages, kConversations);
    QFile mark(done);
    if (!mark.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(done));
        std::exit(1);
    }
    return folder;
}

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}

// "lowest..highest" of values, each written by format.
template <typename T, typename Format> QString spread(const std::vector<T>& values, Format format)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return QStringLiteral("%1..%2").arg(format(*low), format(*high));
}

// The figures of one size: the best round and the spread over the rounds.
struct SizeResult
{
    int messages = 0;
    double bestSeconds = 0;
    qint64 leastResidentAdded = 0;
};

SizeResult measureSize(int messages)
{
    const QDir folder = databaseOf(messages);
    IOS6MessageDb db(folder, QString());
    const QString path = db.databasePath();
    qint64 checksum = 0;
    std::vector<double> floors;
    for (int i = 0; i < kRounds; ++i)
        floors.push_back(secondsOf([&] { checksum += BareSqlite::readSource(path); }));
    const qint64 textBytes = BareSqlite::messageTextBytes(path);

    std::vector<Round> rounds;
    for (int i = 0; i < kRounds; ++i) {
        const Round round = roundInChild(folder.absolutePath());
        if (round.rows != messages || round.page != 1) {
            std::fprintf(stderr, "the window did not show the database (%d rows)\n", round.rows);
            std::exit(1);
        }
        rounds.push_back(round);
    }
    std::vector<double> times;
    std::vector<double> ratios;
    std::vector<qint64> added;
    std::vector<qint64> peaks;
    std::vector<qint64> totals;
    std::vector<qint64> heaps;
    const double floor = *std::min_element(floors.begin(), floors.end());
    for (const Round& round : rounds) {
        times.push_back(round.seconds);
        ratios.push_back(round.seconds / floor);
        added.push_back(round.residentAdded());
        peaks.push_back(round.peakAdded());
        totals.push_back(round.residentAfter);
        heaps.push_back(round.heapAdded);
    }
    const auto perMessage = [messages](qint64 bytes) { return QString::number(bytes / messages); };
    const auto asSeconds = [](double s) { return QString::number(s, 'f', 3); };
    const auto asRatio = [](double r) { return QString::number(r, 'f', 2); };
    const auto asMegabytes = [](qint64 b) { return QString::number(double(b) / (1024.0 * 1024.0), 'f', 0); };

    printTitle(QStringLiteral("bench_select_localdb: first selection of %1 messages in %2 conversations, "
                              "%3 fresh windows")
                   .arg(messages)
                   .arg(kConversations)
                   .arg(kRounds));
    printRow(QString(), QStringLiteral("best"), QStringLiteral("spread"), QStringLiteral("goal"));
    printRow(QStringLiteral("select (click to painted window)"),
             seconds(*std::min_element(times.begin(), times.end())),
             spread(times, asSeconds) + QStringLiteral(" s"), QStringLiteral("< 2.5 s at 1M"));
    printRow(QStringLiteral("floor: SQLite C API over the same rows"), seconds(floor),
             spread(floors, asSeconds) + QStringLiteral(" s"));
    printRow(QStringLiteral("ratio select / floor"), ratio(*std::min_element(ratios.begin(), ratios.end())),
             spread(ratios, asRatio) + QStringLiteral("x"));
    printRow(QStringLiteral("resident added by the selection"),
             megabytes(*std::min_element(added.begin(), added.end())),
             spread(added, asMegabytes) + QStringLiteral(" MB"));
    printRow(QStringLiteral("  per message"),
             QStringLiteral("%1 bytes").arg(*std::min_element(added.begin(), added.end()) / messages),
             spread(added, perMessage) + QStringLiteral(" B"), QStringLiteral("<= 400 bytes"));
    printRow(QStringLiteral("peak resident added (VmHWM - VmRSS before)"),
             megabytes(*std::min_element(peaks.begin(), peaks.end())),
             spread(peaks, asMegabytes) + QStringLiteral(" MB"));
    printRow(QStringLiteral("process resident after the selection"),
             megabytes(*std::min_element(totals.begin(), totals.end())),
             spread(totals, asMegabytes) + QStringLiteral(" MB"), QStringLiteral("< 400 MB at 1M"));
    printRow(QStringLiteral("heap added per message (malloc's count)"),
             QStringLiteral("%1 bytes").arg(*std::min_element(heaps.begin(), heaps.end()) / messages),
             spread(heaps, perMessage) + QStringLiteral(" B"));
    printRow(QStringLiteral("reference: guid + text bytes per message"),
             QStringLiteral("%1 bytes").arg(textBytes / messages));
    std::printf("(checksum %lld)\n\n", static_cast<long long>(checksum));
    return {messages, *std::min_element(times.begin(), times.end()),
            *std::min_element(added.begin(), added.end())};
}
} // namespace

int main(int argc, char* argv[])
{
    const auto home = useTemporaryHomeOffscreen();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String(kRoundOption))
        return runRound(args.at(2));

    std::vector<int> sizes;
    for (int i = 1; i < args.size(); ++i)
        sizes.push_back(std::max(1, args.at(i).toInt()));
    if (sizes.empty())
        sizes.push_back(100000);

    std::vector<SizeResult> results;
    for (const int messages : sizes)
        results.push_back(measureSize(messages));
    if (results.size() > 1) {
        const SizeResult& small = results.front();
        const SizeResult& large = results.back();
        printTitle(QStringLiteral("growth from %1 to %2 messages (%3x the messages)")
                       .arg(small.messages)
                       .arg(large.messages)
                       .arg(double(large.messages) / small.messages, 0, 'f', 1));
        printRow(QString(), QStringLiteral("growth"), QString(), QStringLiteral("goal"));
        printRow(QStringLiteral("select time (best)"), ratio(large.bestSeconds / small.bestSeconds),
                 QString(), QStringLiteral("<= 10x for 10x"));
        printRow(
            QStringLiteral("resident added (least)"),
            ratio(double(large.leastResidentAdded) / double(std::max<qint64>(1, small.leastResidentAdded))),
            QString(), QStringLiteral("<= 10x for 10x"));
    }
    return 0;
}
