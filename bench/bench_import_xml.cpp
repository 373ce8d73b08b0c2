// bench_import_xml [messages=100000]: importing a generated XML backup file
// into a new local database through the import job, against the backup job
// writing the same messages into another new database; then a file four
// times as large, to show the import's memory does not grow with the file.

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

Measured importFile(const QString& file, const QDir& folder, ImportXmlThread::Counts* counts = nullptr)
{
    ProgressSink sink;
    ImportXmlThread job(file, folder, QString(), &sink, nullptr);
    const Measured m = runMeasured(job, sink);
    if (counts)
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

QString megabytes(qint64 bytes)
{
    return QStringLiteral("%1 MB").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

} // namespace

int main(int argc, char* argv[])
{
    const auto home = useTemporaryHome();
    QCoreApplication app(argc, argv);
    const int n = messageCountArgument(app.arguments(), 100000);
    QTemporaryDir work;

    const QString small = generate(work.filePath(QStringLiteral("backup.xml")), n);
    const double reading = readOnly(small);
    ImportXmlThread::Counts counts;
    const Measured imported = importFile(small, QDir(work.filePath(QStringLiteral("imported"))), &counts);

    // The backup job on the very messages the import stored.
    MessageSet set;
    IOS6MessageDb(QDir(work.filePath(QStringLiteral("imported"))), QString()).readMessages(set, 0);
    const QList<_MsgMessage*> messages = allMessages(set);
    ProgressSink backupSink;
    BackupSMSThread backupJob(messages, QDir(work.filePath(QStringLiteral("backup"))), QString(), &backupSink,
                              nullptr);
    const Measured backedUp = runMeasured(backupJob, backupSink);

    const QString large = generate(work.filePath(QStringLiteral("large.xml")), qint64(n) * 4);
    ImportXmlThread::Counts largeCounts;
    const Measured largeImport =
        importFile(large, QDir(work.filePath(QStringLiteral("large"))), &largeCounts);

    const double stored = double(counts.imported + counts.alreadyPresent);
    printTitle(QStringLiteral("bench_import_xml: %1 records (%2 file)")
                   .arg(n)
                   .arg(megabytes(QFileInfo(small).size())));
    printRow(QString(), QStringLiteral("time"), QStringLiteral("rate"), QStringLiteral("peak heap growth"));
    printRow(QStringLiteral("XML import (ImportXmlThread)"), seconds(imported.seconds),
             perSecond(stored, imported.seconds), megabytes(imported.peakHeapGrowth));
    printRow(QStringLiteral("of which reading the file"), seconds(reading), perSecond(stored, reading));
    printRow(QStringLiteral("backup job, same messages"), seconds(backedUp.seconds),
             perSecond(double(messages.size()), backedUp.seconds), megabytes(backedUp.peakHeapGrowth));
    printRow(QStringLiteral("ratio import rate / backup rate"),
             ratio((stored / imported.seconds) / (double(messages.size()) / backedUp.seconds)), QString(),
             QStringLiteral("goal >= 1.00x"));
    printRow(QStringLiteral("4x file (%1)").arg(megabytes(QFileInfo(large).size())),
             seconds(largeImport.seconds),
             perSecond(double(largeCounts.imported + largeCounts.alreadyPresent), largeImport.seconds),
             megabytes(largeImport.peakHeapGrowth));
    printRow(QStringLiteral("SMS imported / already present / MMS / unusable"),
             QStringLiteral("%1 / %2").arg(counts.imported).arg(counts.alreadyPresent),
             QStringLiteral("%1 / %2").arg(counts.mmsSkipped).arg(counts.malformedSkipped));
    const bool ok = imported.succeeded && backedUp.succeeded && largeImport.succeeded;
    return ok ? 0 : 1;
}
