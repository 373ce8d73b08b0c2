#include "DbSnapshot.h"
#include "JobRecorder.h"
#include "MessageFixture.h"
#include "TestHome.h"
#include "store/DeleteMessagesThread.h"
#include "store/IOS6MessageDb.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QString successText(int count)
{
    return QStringLiteral("Successfully Deleted %1 SMS.").arg(count);
}

// A database with chat A (one message) and chat B (two messages), read back
// so that the records carry their stored row ids.
class Store
{
public:
    Store() : folder(dir.filePath(QStringLiteral("Family")))
    {
        MessageFixture fixture;
        _MsgChat* a = fixture.addChat(QStringLiteral("+15550001"));
        _MsgChat* b = fixture.addChat(QStringLiteral("+15550002"));
        fixture.addMessage(a, QStringLiteral("only in A"), 1000);
        fixture.addMessage(b, QStringLiteral("B one"), 2000);
        fixture.addMessage(b, QStringLiteral("B two"), 3000, true);
        writeMessages(folder, fixture.messages());
        records = readBack(folder);
    }

    _MsgMessage* message(const QString& text) const
    {
        for (_MsgMessage* m : std::as_const(records->messages)) {
            if (m->text == text)
                return m;
        }
        return nullptr;
    }
    QList<_MsgMessage*> messages(const QStringList& texts) const
    {
        QList<_MsgMessage*> list;
        for (const QString& text : texts)
            list.append(message(text));
        return list;
    }
    QString path() const { return databaseFile(folder); }
    // Runs the deletion on the store's own connection.
    void remove(JobRecorder& recorder, const QList<_MsgMessage*>& list)
    {
        DeleteMessagesThread job(&db, &list, &recorder, nullptr);
        recorder.runToEnd(job);
    }
    int count(const QString& sql) const
    {
        Sqlite3DB check;
        check.openThrow(path(), Sqlite3DB::ReadWrite);
        Sqlite3Cursor cursor = check.queryThrow(sql);
        return cursor.moveNext() ? cursor.getInt(0) : -1;
    }

    QTemporaryDir dir;
    QDir folder;
    std::unique_ptr<MessageSet> records;
    IOS6MessageDb db{folder, QString()};
};

} // namespace

class TestDeleteMessagesThread : public QObject
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

    void onlyMessageTakesItsChatAndKeepsItsHandles()
    {
        Store store;
        const _MsgMessage* only = store.message(QStringLiteral("only in A"));
        QVERIFY(only && only->chat);
        const qint64 chatRowid = only->chat->rowid;
        const DbSnapshot before = snapshotOf(store.path());
        JobRecorder recorder;
        store.remove(recorder, {store.message(QStringLiteral("only in A"))});

        const QList<JobRecorder::Call> progress = recorder.callsOf(QStringLiteral("updateProgress"));
        QCOMPARE(progress.size(), 2);
        QCOMPARE(progress[0].text, QStringLiteral("Deleting SMS..."));
        QCOMPARE(progress[0].progress, 0);
        QCOMPARE(progress[1].text, QString());
        QCOMPARE(progress[1].progress, 100);
        QCOMPARE(progress[1].progressText, QString());
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList{successText(1)});

        const DbSnapshot after = snapshotOf(store.path());
        QCOMPARE(after.messages, before.messages - 1);
        QCOMPARE(after.chats, before.chats - 1);
        QCOMPARE(after.handles, before.handles);
        QCOMPARE(store.count(QStringLiteral("SELECT count(*) FROM chat WHERE rowid=%1").arg(chatRowid)), 0);
        QCOMPARE(store.count(QStringLiteral("SELECT count(*) FROM chat_message_join WHERE message_id=%1")
                                 .arg(only->rowid)),
                 0);
        QCOMPARE(store.count(
                     QStringLiteral("SELECT count(*) FROM chat_handle_join WHERE chat_id=%1").arg(chatRowid)),
                 1);
        // The connection stays open and outside any transaction.
        QVERIFY(store.db.isOpen());
        QVERIFY(!store.db.isInTransaction());
    }

    void oneOfTwoKeepsTheChat()
    {
        Store store;
        const DbSnapshot before = snapshotOf(store.path());
        JobRecorder recorder;
        store.remove(recorder, store.messages({QStringLiteral("B one")}));
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList{successText(1)});
        const DbSnapshot after = snapshotOf(store.path());
        QCOMPARE(after.messages, before.messages - 1);
        QCOMPARE(after.chats, before.chats);
        const std::unique_ptr<MessageSet> left = readBack(store.folder);
        QStringList texts;
        for (const _MsgMessage* m : std::as_const(left->messages))
            texts.append(m->text);
        QCOMPARE(texts, (QStringList{QStringLiteral("only in A"), QStringLiteral("B two")}));
    }

    void messageWithoutChatLeavesTheChatRow()
    {
        Store store;
        _MsgMessage* only = store.message(QStringLiteral("only in A"));
        only->chat = nullptr;
        const DbSnapshot before = snapshotOf(store.path());
        JobRecorder recorder;
        store.remove(recorder, {only});
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList{successText(1)});
        const DbSnapshot after = snapshotOf(store.path());
        QCOMPARE(after.messages, before.messages - 1);
        QCOMPARE(after.chats, before.chats);
    }

    void wholeConversation()
    {
        Store store;
        const DbSnapshot before = snapshotOf(store.path());
        JobRecorder recorder;
        store.remove(recorder, store.messages({QStringLiteral("B one"), QStringLiteral("B two")}));
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList{successText(2)});
        const QList<JobRecorder::Call> progress = recorder.callsOf(QStringLiteral("updateProgress"));
        QCOMPARE(progress.size(), 3);
        QCOMPARE(progress[1].progress, 50);
        QCOMPARE(progress[2].progress, 100);
        const DbSnapshot after = snapshotOf(store.path());
        QCOMPARE(after.messages, before.messages - 2);
        QCOMPARE(after.chats, before.chats - 1);
    }

    void emptyListCommitsAndReportsZero()
    {
        Store store;
        const DbSnapshot before = snapshotOf(store.path());
        JobRecorder recorder;
        store.remove(recorder, {});
        QCOMPARE(recorder.itemCount(), 0);
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList{successText(0)});
        QCOMPARE(snapshotOf(store.path()), before);
        QVERIFY(!store.db.isInTransaction());
    }

    void cancelKeepsEverything_data()
    {
        QTest::addColumn<int>("cancelAtItem"); // 0: before the first
        QTest::newRow("before the first message") << 0;
        QTest::newRow("midway") << 1;
        QTest::newRow("during the last message") << 3;
    }

    void cancelKeepsEverything()
    {
        QFETCH(int, cancelAtItem);
        Store store;
        const DbSnapshot before = snapshotOf(store.path());
        JobRecorder recorder;
        if (cancelAtItem == 0)
            recorder.cancelNow();
        else
            recorder.cancelAtItem(cancelAtItem);
        store.remove(recorder, store.messages({QStringLiteral("only in A"), QStringLiteral("B one"),
                                               QStringLiteral("B two")}));
        QCOMPARE(recorder.itemCount(), cancelAtItem);
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList());
        QCOMPARE(recorder.textsOf(QStringLiteral("errorOccurred")), QStringList());
        QCOMPARE(snapshotOf(store.path()), before);
        QVERIFY(!store.db.isInTransaction());
    }

    void sqlFailureRollsBackTheWholeRun_data()
    {
        QTest::addColumn<QString>("raise");
        // ABORT undoes the statement, ROLLBACK ends the whole transaction itself.
        QTest::newRow("statement aborted") << QStringLiteral("ABORT");
        QTest::newRow("transaction rolled back by SQLite") << QStringLiteral("ROLLBACK");
    }

    void sqlFailureRollsBackTheWholeRun()
    {
        QFETCH(QString, raise);
        Store store;
        const _MsgMessage* second = store.message(QStringLiteral("B two"));
        executeOn(store.path(), QStringLiteral("CREATE TRIGGER refuse_delete BEFORE DELETE ON message "
                                               "WHEN old.rowid = %1 BEGIN SELECT RAISE(%2, "
                                               "'deletion refused by test'); END")
                                    .arg(second->rowid)
                                    .arg(raise));
        const DbSnapshot before = snapshotOf(store.path());
        JobRecorder recorder;
        const QList<_MsgMessage*> list =
            store.messages({QStringLiteral("only in A"), QStringLiteral("B one"), QStringLiteral("B two")});
        store.remove(recorder, list);

        QCOMPARE(recorder.itemCount(), 3);
        QCOMPARE(recorder.textsOf(QStringLiteral("succeed")), QStringList());
        const QStringList errors = recorder.textsOf(QStringLiteral("errorOccurred"));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QLatin1String("deletion refused by test")),
                 qPrintable(errors.first()));
        QCOMPARE(snapshotOf(store.path()), before);

        // The connection is left usable: without the trigger the same run succeeds.
        executeOn(store.path(), QStringLiteral("DROP TRIGGER refuse_delete"));
        JobRecorder retry;
        store.remove(retry, list);
        QCOMPARE(retry.textsOf(QStringLiteral("succeed")), QStringList{successText(3)});
        QCOMPARE(snapshotOf(store.path()).messages, 0);
    }
};

QTEST_MAIN(TestDeleteMessagesThread)
#include "tst_deletemessagesthread.moc"
