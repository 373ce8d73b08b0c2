// bench_import_xml [messages=100000]: importing generated XML backup files of
// n and 10n records into new local databases through the import job, each
// beside its floor, bench/import_floor.py (Python: iterparse and one SQLite
// transaction inserting the same rows into an empty database of the same
// schema), run on the same file in the same run. The peak heap growth shows
// that the import's memory does not grow with the file. Then the backup job
// writing the n messages the import stored into another new database.

#include "bench/BenchSupport.h"
#include "bench/ProgressSink.h"
#include "import/ImportXmlThread.h"
#include "import/XmlBackupReader.h"
#include "jobs/BackupSMSThread.h"
#include "store/MessageLists.h"
#include "store/MessageSet.h"
#include "tools/gen_xml_backup/XmlBackupGenerator.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace BenchSupport;

namespace {

struct Measured
{
    double seconds = 0;
    qint64 peakHeapGrowth = 0; // above the heap in use when the job started
    bool succeeded = false;
};

// Runs the job to its end, sampling the heap every few milliseconds meanwhile.
Measured runMeasured(QThread& job, ProgressSink& sink)
{
    sink.moveToThread(&job);
    const qint64 before = heapInUse();
    std::atomic<bool> done{false};
    std::atomic<qint64> peak{before};
    std::thread sampler([&] {
        while (!done) {
            peak = std::max<qint64>(peak, heapInUse());
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    Measured m;
    m.seconds = secondsOf([&] {
        job.start();
        job.wait();
    });
    done = true;
    sampler.join();
    m.peakHeapGrowth = peak - before;
    m.succeeded = sink.succeeded && sink.error.isEmpty();
    if (!m.succeeded)
        std::fprintf(stderr, "job failed: %s\n", qPrintable(sink.error));
    return m;
}

QString generate(const QString& path, qint64 count)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("can't write %s", qPrintable(path));
    XmlBackupOptions options;
    options.count = count;
    XmlBackupGenerator(options).write(file);
    return path;
}

Measured importFile(const QString& file, const QDir& folder, ImportXmlThread::Counts* counts)
{
    ProgressSink sink;
    ImportXmlThread job(file, folder, QString(), &sink, nullptr);
    const Measured m = runMeasured(job, sink);
    *counts = job.counts();
    return m;
}

// Reading the file alone, without storing anything: the parser's share.
double readOnly(const QString& path)
{
    return secondsOf([&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        XmlBackupReader reader(&file);
        XmlBackupSms sms;
        while (reader.readSms(sms)) {
        }
    });
}

qint64 storedMessages(const QDir& folder)
{
    IOS6MessageDb db(folder, QString());
    db.open();
    return scalar(db, QStringLiteral("select count(*) from message"));
}

// The floor script on the same file, into a new database of the same schema,
// with the page cache the database writer takes.
double importFloor(const QString& file, const QDir& folder)
{
    IOS6MessageDb created(folder, QString());
    created.open();
    const QString path = created.databasePath();
    created.close();
    const QString cacheSize = QString::number(-1024 * ExportMessagesDb::kPageCacheMegabytes);
    return runFloorScript(QStringLiteral("import_floor.py"), {file, path, cacheSize}).seconds;
}

QString megabytes(qint64 bytes)
{
    return QStringLiteral("%1 MB").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

// One file size: the import, its reading share and the floor; true when the import succeeded.
bool benchSize(const QTemporaryDir& work, qint64 records, ImportXmlThread::Counts& counts)
{
    const QString name = QStringLiteral("%1").arg(records);
    const QString file = generate(work.filePath(name + QStringLiteral(".xml")), records);
    const double reading = readOnly(file);
    const QDir folder(work.filePath(QStringLiteral("imported") + name));
    const Measured imported = importFile(file, folder, &counts);
    const QDir floorFolder(work.filePath(QStringLiteral("floor") + name));
    const double floor = importFloor(file, floorFolder);

    const double stored = double(counts.imported + counts.alreadyPresent);
    printRow(QStringLiteral("%1 records (%2 file)").arg(records).arg(megabytes(QFileInfo(file).size())),
             QString());
    printRow(QStringLiteral("  XML import (ImportXmlThread)"), seconds(imported.seconds),
             perSecond(stored, imported.seconds), megabytes(imported.peakHeapGrowth));
    printRow(QStringLiteral("  of which reading the file"), seconds(reading), perSecond(stored, reading));
    printRow(QStringLiteral("  floor (import_floor.py)"), seconds(floor), perSecond(stored, floor));
    printRow(QStringLiteral("  ratio import / floor"), ratio(imported.seconds / floor), QString(),
             QStringLiteral("goal <= 1.00x"));
    printRow(QStringLiteral("  messages stored: import / floor"),
             QStringLiteral("%1 / %2").arg(storedMessages(folder)).arg(storedMessages(floorFolder)));
    std::fflush(stdout);
    QFile::remove(file);
    return imported.succeeded;
}

} // namespace

int main(int argc, char* argv[])
{
    const auto home = useTemporaryHome();
    QCoreApplication app(argc, argv);
    const int n = messageCountArgument(app.arguments(), 100000);
    QTemporaryDir work;
    // BENCH_KEEP_WORK keeps the files and databases, to compare the import's rows with the floor's.
    if (!qEnvironmentVariableIsEmpty("BENCH_KEEP_WORK")) {
        work.setAutoRemove(false);
        std::printf("work folder kept: %s\n", qPrintable(work.path()));
    }

    printTitle(QStringLiteral("bench_import_xml: %1 and %2 records").arg(n).arg(qint64(n) * 10));
    printRow(QString(), QStringLiteral("time"), QStringLiteral("rate"), QStringLiteral("peak heap growth"));
    ImportXmlThread::Counts counts;
    bool ok = benchSize(work, n, counts);
    ImportXmlThread::Counts largeCounts;
    ok = benchSize(work, qint64(n) * 10, largeCounts) && ok;

    // The backup job on the very messages the first import stored.
    MessageSet set;
    IOS6MessageDb(QDir(work.filePath(QStringLiteral("imported%1").arg(n))), QString()).readMessages(set, 0);
    const QList<_MsgMessage*> messages = allMessages(set);
    ProgressSink backupSink;
    BackupSMSThread backupJob(messages, QDir(work.filePath(QStringLiteral("backup"))), QString(), &backupSink,
                              nullptr);
    const Measured backedUp = runMeasured(backupJob, backupSink);
    printRow(QStringLiteral("backup job, the %1 messages imported").arg(messages.size()),
             seconds(backedUp.seconds), perSecond(double(messages.size()), backedUp.seconds),
             megabytes(backedUp.peakHeapGrowth));
    printRow(QStringLiteral("SMS imported / already present / MMS / unusable (%1)").arg(n),
             QStringLiteral("%1 / %2").arg(counts.imported).arg(counts.alreadyPresent),
             QStringLiteral("%1 / %2").arg(counts.mmsSkipped).arg(counts.malformedSkipped));
    return ok && backedUp.succeeded ? 0 : 1;
}
