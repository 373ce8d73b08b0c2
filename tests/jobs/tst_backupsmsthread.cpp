#include "jobs/BackupSMSThread.h"
#include "sql/Sqlite3DB.h"
#include "store/IOS6MessageDb.h"
#include "tests/kit/JobRecorder.h"
#include "tests/kit/StoreTestKit.h"
#include "tests/kit/TestHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace StoreTestKit;

namespace {

const QString kBackingUp = QStringLiteral("Backing up SMS to Local Database...");

QString successText(int count)
{
    return QCoreApplication::translate("BackupSMSThread", "IDS_SUC_BACKUP_%1_SMS").arg(count);
}

// Three messages in two chats, listed out of date order.
QList<_MsgMessage*> phoneMessages(Records& r)
{
    _MsgHandle* ann = r.handle(QStringLiteral("+15550001"));
    _MsgHandle* bob = r.handle(QStringLiteral("+15550002"));
    _MsgChat* annChat = r.singleChat(ann);
    return {r.message(annChat, ann, 3000, true, QStringLiteral("third")),
            r.message(r.singleChat(bob), bob, 1000, false, QStringLiteral("first")),
            r.message(annChat, ann, 2000, false, QStringLiteral("second"))};
}

// A target that already holds two messages of its own.
QDir existingTarget(const QTemporaryDir& dir)
{
    const QDir folder(dir.filePath(QStringLiteral("Family")));
    Records r;
    _MsgHandle* cid = r.handle(QStringLiteral("+15559999"));
    _MsgChat* chat = r.singleChat(cid);
    QList<_MsgMessage*> messages{r.message(chat, cid, 500, false, QStringLiteral("old one")),
                                 r.message(chat, cid, 600, true, QStringLiteral("old two"))};
    for (_MsgMessage* message : messages)
        message->guid = QStringLiteral("old-") + message->guid.toString(); // apart from the phone's guids
    writeMessages(folder, messages);
    return folder;
}

// The message texts in the order written, then the row counts of every table.
QString stateOf(const QDir& folder)
{
    Sqlite3DB db;
    db.openThrow(IOS6MessageDb(folder, QString()).databasePath(), Sqlite3DB::ReadWrite);
    return column(db, QStringLiteral(
                          "select group_concat(text, ',') from (select text from message order by rowid)"))
               .value(0) +
           u'|' + tableCounts(db);
}

void runBackup(JobRecorder& recorder, const QList<_MsgMessage*>& messages, const QDir& folder)
{
    BackupSMSThread job(messages, folder, QString(), &recorder, nullptr);
    recorder.runToEnd(job);
}

} // namespace

class TestBackupSMSThread : public QObject
{
    Q_OBJECT

private:
    TestHome home;

private slots:
    void backupIntoANewDatabase()
    {
        QTemporaryDir dir;
        const QDir folder(dir.filePath(QStringLiteral("Acme X1_Backup")));
        Records phone;
        JobRecorder recorder;
        runBackup(recorder, phoneMessages(phone), folder);

        QStringList progress;
        for (const JobRecorder::Call& call : recorder.callsOf(QStringLiteral("updateProgress")))
            progress << QStringLiteral("%1|%2|%3").arg(call.text).arg(call.progress).arg(call.progressText);
        QCOMPARE(progress, QStringList({kBackingUp + "|0|", kBackingUp + "|33|SMS: 1/3",
                                        kBackingUp + "|66|SMS: 2/3", kBackingUp + "|100|SMS: 3/3"}));
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList{successText(3)});
        QCOMPARE(recorder.textsOf(QStringLiteral("errorOccurred")), QStringList());
        // Written oldest first, one chat per correspondent.
        QVERIFY2(stateOf(folder).startsWith(QLatin1String("first,second,third|message=3 chat=2 handle=2 ")),
                 qPrintable(stateOf(folder)));
    }

    void mergingTheSameMessagesTwiceAddsNothing()
    {
        QTemporaryDir dir;
        const QDir folder = existingTarget(dir);
        Records phone;
        const QList<_MsgMessage*> messages = phoneMessages(phone);
        JobRecorder first, second;
        runBackup(first, messages, folder);
        const QString afterFirst = stateOf(folder);
        QVERIFY2(afterFirst.startsWith(QLatin1String("old one,old two,first,second,third|")),
                 qPrintable(afterFirst));
        runBackup(second, messages, folder);
        QCOMPARE(second.textsOf(QStringLiteral("succeed")), QStringList{successText(3)});
        QCOMPARE(stateOf(folder), afterFirst);
    }

    void zeroMessagesStillCreateTheDatabase()
    {
        QTemporaryDir dir;
        const QDir folder(dir.filePath(QStringLiteral("Empty")));
        JobRecorder recorder;
        runBackup(recorder, {}, folder);
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList{successText(0)});
        QVERIFY2(stateOf(folder).startsWith(QLatin1String("|message=0 ")), qPrintable(stateOf(folder)));
    }

    void failuresLeaveTheTargetAsItWas_data()
    {
        QTest::addColumn<bool>("mms");
        QTest::addColumn<QString>("error");
        QTest::newRow("cancel midway") << false << QString();
        QTest::newRow("MMS chat") << true << "IOS6MessageDb::insertChat, invalid chat, service_name:MMS";
    }

    void failuresLeaveTheTargetAsItWas()
    {
        QFETCH(bool, mms);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QDir folder = existingTarget(dir);
        const QString before = stateOf(folder);
        Records phone;
        QList<_MsgMessage*> messages = phoneMessages(phone);
        JobRecorder recorder;
        if (mms) {
            _MsgHandle* dan = phone.handle(QStringLiteral("+15550003"));
            _MsgChat* chat = phone.chat(QStringLiteral("MMS;-;+15550003"), {dan});
            chat->service_name = QStringLiteral("MMS");
            messages.insert(1, phone.message(chat, dan, 2500, false, QStringLiteral("picture")));
        } else {
            recorder.cancelAtItem(2);
        }
        runBackup(recorder, messages, folder);
        QCOMPARE(recorder.itemCount(), mms ? 3 : 2);
        QCOMPARE(recorder.textsOf(QStringLiteral("errorOccurred")),
                 error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList());
        QCOMPARE(stateOf(folder), before);
    }

    void targetThatCannotBeCreated()
    {
        QTemporaryDir dir;
        // A plain file where the database folder should be.
        const QString blocker = dir.filePath(QStringLiteral("Blocked"));
        writeBytes(blocker, "not a folder");
        Records phone;
        JobRecorder recorder;
        runBackup(recorder, phoneMessages(phone), QDir(blocker));

        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList());
        QCOMPARE(recorder.textsOf(QStringLiteral("errorOccurred")).size(), 1);
        QVERIFY(!recorder.textsOf(QStringLiteral("errorOccurred")).first().isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{QStringLiteral("Blocked")});
        QCOMPARE(fileBytes(blocker), QByteArray("not a folder"));
    }
};

QTEST_MAIN(TestBackupSMSThread)
#include "tst_backupsmsthread.moc"
