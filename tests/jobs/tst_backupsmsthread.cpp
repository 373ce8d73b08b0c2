#include "DbSnapshot.h"
#include "JobRecorder.h"
#include "MessageFixture.h"
#include "TestHome.h"
#include "jobs/BackupSMSThread.h"
#include "jobs/JobRunner.h"
#include "jobs/ProgressForm.h"
#include "tests/support/ModalDriver.h"

#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QString kBackingUp = QStringLiteral("Backing up SMS to Local Database...");

QString successText(int count)
{
    return QStringLiteral("Successfully Backup %1 SMS to local Database.").arg(count);
}

// Three messages in two chats, listed out of date order.
struct PhoneMessages
{
    PhoneMessages()
    {
        _MsgChat* ann = fixture.addChat(QStringLiteral("+15550001"));
        _MsgChat* bob = fixture.addChat(QStringLiteral("+15550002"));
        fixture.addMessage(ann, QStringLiteral("third"), 3000, true);
        fixture.addMessage(bob, QStringLiteral("first"), 1000);
        fixture.addMessage(ann, QStringLiteral("second"), 2000);
    }
    MessageFixture fixture;
};

// Texts of the stored messages in row id order, i.e. in the order written.
QStringList storedTexts(const QDir& folder)
{
    const std::unique_ptr<MessageSet> set = readBack(folder);
    QStringList texts;
    for (const _MsgMessage* message : std::as_const(set->messages))
        texts.append(message->text);
    return texts;
}

// A target that already holds two messages of its own.
QDir existingTarget(const QTemporaryDir& dir, MessageFixture& earlier)
{
    const QDir folder(dir.filePath(QStringLiteral("Family")));
    _MsgChat* chat = earlier.addChat(QStringLiteral("+15559999"));
    earlier.addMessage(chat, QStringLiteral("old one"), 500);
    earlier.addMessage(chat, QStringLiteral("old two"), 600, true);
    writeMessages(folder, earlier.messages());
    return folder;
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
    QTemporaryDir home;

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid());
        prepareTestHome(home);
    }

    void backupIntoANewDatabase()
    {
        QTemporaryDir dir;
        const QDir folder(dir.filePath(QStringLiteral("Acme X1_Backup")));
        PhoneMessages phone;
        QList<_MsgMessage*> list = phone.fixture.messages();
        JobRecorder recorder;
        BackupSMSThread job(list, folder, QString(), &recorder, nullptr);
        list.clear(); // the job works on its own copy
        recorder.runToEnd(job);

        const QList<JobRecorder::Call> progress = recorder.callsOf(QStringLiteral("updateProgress"));
        QCOMPARE(progress.size(), 4);
        QCOMPARE(progress[0].text, kBackingUp);
        QCOMPARE(progress[0].progress, 0);
        QCOMPARE(progress[0].progressText, QString());
        const int percents[] = {33, 66, 100};
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(progress[i].text, kBackingUp);
            QCOMPARE(progress[i].progress, percents[i - 1]);
            QCOMPARE(progress[i].progressText, QStringLiteral("SMS: %1/3").arg(i));
        }
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList{successText(3)});
        QCOMPARE(recorder.textsOf(QStringLiteral("errorOccurred")), QStringList());
        // Written oldest first.
        QCOMPARE(storedTexts(folder),
                 (QStringList{QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")}));
    }

    void mergingTheSameMessagesAgainAddsNothing()
    {
        QTemporaryDir dir;
        MessageFixture earlier;
        const QDir folder = existingTarget(dir, earlier);
        PhoneMessages phone;
        JobRecorder first;
        runBackup(first, phone.fixture.messages(), folder);
        QCOMPARE(first.textsOf(QStringLiteral("succeed")), QStringList{successText(3)});
        const DbSnapshot afterFirst = snapshotOf(databaseFile(folder));
        QCOMPARE(afterFirst.messages, 5);

        JobRecorder second;
        runBackup(second, phone.fixture.messages(), folder);
        QCOMPARE(second.textsOf(QStringLiteral("succeed")), QStringList{successText(3)});
        QCOMPARE(snapshotOf(databaseFile(folder)), afterFirst);
    }

    void zeroMessagesStillCreateTheDatabase()
    {
        QTemporaryDir dir;
        const QDir folder(dir.filePath(QStringLiteral("Empty")));
        JobRecorder recorder;
        runBackup(recorder, {}, folder);
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList{successText(0)});
        QCOMPARE(recorder.itemCount(), 0);
        QVERIFY(QFile::exists(databaseFile(folder)));
        QCOMPARE(snapshotOf(databaseFile(folder)).messages, 0);
    }

    void cancelLeavesTheTargetAsItWas_data()
    {
        QTest::addColumn<int>("cancelAtItem"); // 0: before the first
        QTest::newRow("before the first message") << 0;
        QTest::newRow("midway") << 2;
        QTest::newRow("during the last message") << 3;
    }

    void cancelLeavesTheTargetAsItWas()
    {
        QFETCH(int, cancelAtItem);
        QTemporaryDir dir;
        MessageFixture earlier;
        const QDir folder = existingTarget(dir, earlier);
        const DbSnapshot before = snapshotOf(databaseFile(folder));
        PhoneMessages phone;
        JobRecorder recorder;
        if (cancelAtItem == 0)
            recorder.cancelNow();
        else
            recorder.cancelAtItem(cancelAtItem);
        runBackup(recorder, phone.fixture.messages(), folder);

        QCOMPARE(recorder.itemCount(), cancelAtItem);
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList());
        QCOMPARE(recorder.textsOf(QStringLiteral("errorOccurred")), QStringList());
        QCOMPARE(snapshotOf(databaseFile(folder)), before);
    }

    void targetThatCannotBeCreated()
    {
        QTemporaryDir dir;
        // A plain file where the database folder should be.
        const QString blocker = dir.filePath(QStringLiteral("Blocked"));
        {
            QFile file(blocker);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a folder");
        }
        PhoneMessages phone;
        JobRecorder recorder;
        runBackup(recorder, phone.fixture.messages(), QDir(blocker));

        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList());
        const QStringList errors = recorder.textsOf(QStringLiteral("errorOccurred"));
        QCOMPARE(errors.size(), 1);
        QVERIFY(!errors.first().isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{QStringLiteral("Blocked")});
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("not a folder"));
    }

    void readOnlyParentFolder()
    {
        if (geteuid() == 0)
            QSKIP("root ignores folder permissions");
        QTemporaryDir dir;
        const QString parent = dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(parent));
        QVERIFY(QFile::setPermissions(parent, QFile::ReadOwner | QFile::ExeOwner));
        PhoneMessages phone;
        JobRecorder recorder;
        runBackup(recorder, phone.fixture.messages(), QDir(parent + QStringLiteral("/New")));
        QFile::setPermissions(parent, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList());
        QCOMPARE(recorder.textsOf(QStringLiteral("errorOccurred")).size(), 1);
        QCOMPARE(QDir(parent).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList());
    }

    void mmsChatEndsWithTheInvalidChatError()
    {
        QTemporaryDir dir;
        MessageFixture earlier;
        const QDir folder = existingTarget(dir, earlier);
        const DbSnapshot before = snapshotOf(databaseFile(folder));
        MessageFixture phone;
        _MsgChat* sms = phone.addChat(QStringLiteral("+15550001"));
        _MsgChat* mms = phone.addChat(QStringLiteral("+15550003"), QStringLiteral("MMS"));
        phone.addMessage(mms, QStringLiteral("picture"), 2000);
        phone.addMessage(sms, QStringLiteral("written first"), 1000);
        JobRecorder recorder;
        runBackup(recorder, phone.messages(), folder);

        QCOMPARE(recorder.itemCount(), 2);
        QCOMPARE(recorder.textsOf(QStringLiteral("errorOccurred")),
                 QStringList{QStringLiteral("IOS6MessageDb::insertChat, invalid chat, service_name:MMS")});
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList());
        QCOMPARE(snapshotOf(databaseFile(folder)), before);
    }

    void runsUnderTheProgressDialog()
    {
        QTemporaryDir dir;
        const QDir folder(dir.filePath(QStringLiteral("Acme X1_Backup")));
        PhoneMessages phone;
        ProgressForm form(QString(), nullptr);
        BackupSMSThread job(phone.fixture.messages(), folder, QString(), &form, nullptr);
        ModalDriver driver;
        driver.answer(QMessageBox::Ok);
        QVERIFY(runJob(form, job));
        QVERIFY(driver.waitUntilDone());
        QCOMPARE(driver.texts(), QStringList{successText(3)});
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("lbStatus"))->text(), kBackingUp);
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("lbProgress"))->text(), QStringLiteral("SMS: 3/3"));
        QCOMPARE(form.findChild<QProgressBar*>(QStringLiteral("progressBar"))->value(), 100);
        QCOMPARE(snapshotOf(databaseFile(folder)).messages, 3);
    }
};

QTEST_MAIN(TestBackupSMSThread)
#include "tst_backupsmsthread.moc"
