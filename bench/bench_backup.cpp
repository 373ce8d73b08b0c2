// bench_backup [messages=100000]: backing up a whole message database into a new local database
// through the exporter, then the same messages again (all duplicates), against
// a bare SQLite baseline that runs the same lookups, inserts and joins.

#include "bench/BackupBaseline.h"
#include "bench/BenchSupport.h"
#include "store/ExportMessagesDb.h"
#include "store/MessageLists.h"
#include "store/MessageOrder.h"
#include "store/MessageSet.h"

#include <QCoreApplication>

#include <algorithm>

#include <cstdio>

using namespace BenchSupport;

namespace {

double backup(const QDir& folder, const QList<_MsgMessage*>& messages)
{
    return secondsOf([&] {
        ExportMessagesDb exporter(folder, QString());
        exporter.begin();
        for (const _MsgMessage* message : messages)
            exporter.write(*message);
        exporter.end();
    });
}

qint64 storedMessages(const QDir& folder)
{
    IOS6MessageDb db(folder, QString());
    db.open();
    return scalar(db, QStringLiteral("select count(*) from message"));
}

} // namespace

int main(int argc, char* argv[])
{
    const auto home = useTemporaryHome();
    QCoreApplication app(argc, argv);
    const auto generated = generateSource(app.arguments());
    const QTemporaryDir& work = generated->work;
    const QDir& source = generated->folder;

    MessageSet set;
    IOS6MessageDb(source, QString()).readMessages(set, 0);
    QList<_MsgMessage*> messages = allMessages(set);
    sortMessagesAscending(messages);
    const double n = double(messages.size());

    const QDir target(work.filePath(QStringLiteral("backup")));
    const double first = backup(target, messages);
    const qint64 stored = storedMessages(target);
    const double again = backup(target, messages);
    const qint64 storedAgain = storedMessages(target);

    const QDir baselineFolder(work.filePath(QStringLiteral("baseline")));
    {
        IOS6MessageDb created(baselineFolder, QString()); // the same schema, empty
        created.open();
    }
    const QString baselinePath = IOS6MessageDb(baselineFolder, QString()).databasePath();
    const double baseline = secondsOf([&] { runBackupBaseline(baselinePath, messages); });
    const qint64 baselineStored = storedMessages(baselineFolder);

    printTitle(QStringLiteral("bench_backup: %1 messages, %2 conversations")
                   .arg(messages.size())
                   .arg(generated->conversations));
    printRow(QString(), QStringLiteral("time"), QStringLiteral("rate"), QStringLiteral("messages stored"));
    printRow(QStringLiteral("first backup (ExportMessagesDb)"), seconds(first), perSecond(n, first),
             QString::number(stored));
    printRow(QStringLiteral("same messages again (all duplicates)"), seconds(again), perSecond(n, again),
             QString::number(storedAgain));
    printRow(QStringLiteral("baseline (SQLite C API, same statements)"), seconds(baseline),
             perSecond(n, baseline), QString::number(baselineStored));
    printRow(QStringLiteral("ratio first backup / baseline"), ratio(first / baseline), QString(),
             QStringLiteral("goal <= 1.30x"));
    printRow(QStringLiteral("ratio duplicates / first backup"), ratio(again / first), QString(),
             QStringLiteral("goal < 1.00x"));
    return 0;
}
