// bench_phone_load [messages=100000]: loading a phone's messages into its
// cache through the real load job (adb broadcast, backup connection, record
// conversion, number normalisation, the database writer), from the phone
// simulator over loopback, against a bare SQLite baseline that runs the same
// lookups, inserts and joins for the same messages. Best of two runs each,
// then the job's phases measured apart.

#include "bench/BackupBaseline.h"
#include "bench/BenchSupport.h"
#include "bench/PhoneSimSupport.h"
#include "bench/ProgressSink.h"

#include "android/AndroidDevice.h"
#include "android/AndroidLoadSMSThread.h"
#include "android/PhoneSms.h"
#include "android/SimpleProtocol.h"
#include "country/CountryLibDb.h"
#include "jobcore/JobProgress.h"
#include "store/ExportMessagesDb.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageLists.h"
#include "store/MessageOrder.h"
#include "store/MessageSet.h"
#include "store/MsgHandle.h"
#include "store/StoredDate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace BenchSupport;

namespace {

// The wire records of the messages, as the phone sends them.
QStringList wireRecords(const QList<_MsgMessage*>& messages)
{
    using simpleprotocol::encodeText;
    QStringList records;
    for (const _MsgMessage* m : messages) {
        const QString address = m->handle ? m->handle->id : QString();
        const QString name = m->handle ? m->handle->_ct_name : QString();
        records << QStringLiteral("%1,%2,%3,%4,%5,%6")
                       .arg(storedDateToPhoneTime(m->date))
                       .arg(m->is_from_me ? 1 : 2)
                       .arg(encodeText(address), encodeText(name), encodeText(m->text),
                            encodeText(m->subject()));
    }
    return records;
}

// Where the job's time goes besides the database: turning records into
// messages, and posting progress.
void printPhases(const QList<_MsgMessage*>& messages, const AndroidDevice& phone)
{
    const QStringList records = wireRecords(messages);
    const CountryInfo country = CountryLibDb(phone.mmc).currentCountry();
    const double convert = secondsOf([&] {
        for (const QString& record : records) {
            PhoneSms sms;
            sms.read(record, country);
        }
    });
    ProgressSink sink;
    const double posts = secondsOf([&] {
        for (int i = 1; i <= records.size(); ++i)
            sink.postUpdateProgress(QString(), i, QStringLiteral("sms: %1/%2").arg(i).arg(records.size()));
    });
    const double n = double(records.size());
    QTemporaryDir work;
    ExportMessagesDb writer(QDir(work.filePath(QStringLiteral("writer"))), phone.mmc);
    const double write = secondsOf([&] {
        writer.begin();
        for (const QString& record : records) {
            PhoneSms sms;
            sms.read(record, country);
            writer.write(sms.record());
        }
        writer.end();
    });
    printRow(QStringLiteral("phase: records to messages"), seconds(convert), perSecond(n, convert));
    printRow(QStringLiteral("phase: records written (no network)"), seconds(write), perSecond(n, write));
    printRow(QStringLiteral("phase: progress posts"), seconds(posts), perSecond(n, posts));
}

QList<_MsgMessage*> cachedMessages(const AndroidDevice& phone, MessageSet& set)
{
    IOS6MessageDb(QDir(phone.cacheDir()), phone.mmc).readMessages(set, 0);
    QList<_MsgMessage*> list = allMessages(set);
    sortMessagesAscending(list);
    return list;
}

} // namespace

int main(int argc, char* argv[])
{
    const auto home = useTemporaryHome();
    QCoreApplication app(argc, argv);
    const int requested = messageCountArgument(app.arguments(), 100000);
    AndroidDevice phone = PhoneSimSupport::plugBenchPhone(*home, QStringLiteral("BENCH1"),
                                                          QStringLiteral("350000000000077"), requested);
    // Best of two loads: each starts again from an empty cache.
    double load = 0;
    qint64 firstMessageMs = 0;
    int updates = 0;
    for (int run = 0; run < 2; ++run) {
        const TimedRun loaded = timedRun<AndroidLoadSMSThread>(&phone);
        if (loaded.seconds < 0)
            return 1;
        if (run == 0 || loaded.seconds < load) {
            load = loaded.seconds;
            firstMessageMs = loaded.firstItemMs;
        }
        updates = loaded.updates;
    }

    MessageSet set;
    const QList<_MsgMessage*> messages = cachedMessages(phone, set);
    const double n = double(messages.size());
    // Best of two baselines, each into a new empty database of the same schema.
    double baseline = 0;
    for (int run = 0; run < 2; ++run) {
        const QDir folder(home->filePath(QStringLiteral("baseline%1").arg(run)));
        IOS6MessageDb created(folder, QString());
        created.open();
        const QString path = created.databasePath();
        created.close();
        const double seconds = secondsOf([&] { runBackupBaseline(path, messages); });
        baseline = run == 0 ? seconds : std::min(baseline, seconds);
    }

    printTitle(QStringLiteral("bench_phone_load: %1 messages from the phone simulator").arg(messages.size()));
    printRow(QString(), QStringLiteral("time"), QStringLiteral("rate"), QStringLiteral("progress posts"));
    printRow(QStringLiteral("load job (protocol, conversion, writer)"), seconds(load), perSecond(n, load),
             QString::number(updates));
    printRow(QStringLiteral("baseline (SQLite C API, same statements)"), seconds(baseline),
             perSecond(n, baseline));
    printRow(QStringLiteral("load job / baseline"), ratio(load / baseline), QString(),
             QStringLiteral("goal <= 1.30x"));
    printRow(QStringLiteral("phase: first message arrived after"), seconds(firstMessageMs / 1000.0));
    printPhases(messages, phone);
    return 0;
}
