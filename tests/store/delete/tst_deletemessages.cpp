// Deleting messages from a message database: IOS6MessageDb::deleteMessage on
// records read back from the file, and the deletion job around it.
#include "store/DeleteMessagesThread.h"
#include "store/IOS6MessageDb.h"
#include "tests/kit/JobRecorder.h"
#include "tests/kit/StoreTestKit.h"
#include "tests/kit/TestHome.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace StoreTestKit;

namespace {

// A database with chat A (one message) and chat B (two messages), read back
// so that the records carry their stored row ids.
struct Store
{
    Store()
    {
        Records r;
        _MsgHandle* ann = r.handle(QStringLiteral("+15550001"));
        _MsgHandle* bob = r.handle(QStringLiteral("+15550002"));
        _MsgChat* b = r.singleChat(bob);
        writeMessages(folder, {r.message(r.singleChat(ann), ann, 1000, false, QStringLiteral("only in A")),
                               r.message(b, bob, 2000, false, QStringLiteral("B one")),
                               r.message(b, bob, 3000, true, QStringLiteral("B two"))});
        db.readMessages(set, 0);
    }

    QList<_MsgMessage*> messages(const QStringList& texts) const
    {
        QList<_MsgMessage*> list;
        for (_MsgMessage* m : std::as_const(set.messages)) {
            if (texts.contains(m->text))
                list.append(m);
        }
        return list;
    }
    // Texts of the messages left, the chats left, and the row counts.
    QString state()
    {
        return column(db, QStringLiteral("select group_concat(text, ',') from message")).value(0) +
               QLatin1Char('|') +
               column(db, QStringLiteral("select group_concat(chat_identifier, ',') from chat")).value(0) +
               QLatin1Char('|') + tableCounts(db);
    }
    QStringList runJob(JobRecorder& recorder, const QList<_MsgMessage*>& list)
    {
        DeleteMessagesThread job(&db, &list, &recorder, nullptr);
        recorder.runToEnd(job);
        return recorder.textsOf(QStringLiteral("succeed"));
    }

    QTemporaryDir dir;
    QDir folder{dir.filePath(QStringLiteral("Family"))};
    IOS6MessageDb db{folder, QString()};
    MessageSet set;
};

QString successText(int count)
{
    return QCoreApplication::translate("DeleteMessagesThread", "IDS_SUC_DELETE_%1_MESSAGES").arg(count);
}

} // namespace

class TestDeleteMessages : public QObject
{
    Q_OBJECT

private:
    TestHome home;

private slots:
    void deletes_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("withoutChat");
        QTest::addColumn<bool>("viaJob");
        QTest::addColumn<QString>("left"); // messages | chats
        const QString both = QStringLiteral("|+15550001,+15550002");
        QTest::newRow("only message of its chat")
            << QStringList{"only in A"} << false << false << "B one,B two|+15550002";
        QTest::newRow("one of two") << QStringList{"B one"} << false << false << "only in A,B two" + both;
        QTest::newRow("message without chat")
            << QStringList{"only in A"} << true << false << "B one,B two" + both;
        QTest::newRow("job: only message of its chat")
            << QStringList{"only in A"} << false << true << "B one,B two|+15550002";
        QTest::newRow("job: empty list") << QStringList() << false << true << "only in A,B one,B two" + both;
    }

    void deletes()
    {
        QFETCH(QStringList, texts);
        QFETCH(bool, withoutChat);
        QFETCH(bool, viaJob);
        QFETCH(QString, left);
        Store store;
        const QList<_MsgMessage*> list = store.messages(texts);
        QCOMPARE(list.size(), texts.size());
        if (withoutChat)
            list.first()->chat = nullptr;
        if (viaJob) {
            JobRecorder recorder;
            QCOMPARE(store.runJob(recorder, list), QStringList{successText(int(list.size()))});
            QCOMPARE(recorder.textsOf(QStringLiteral("updateProgress")).value(0),
                     QStringLiteral("Deleting SMS..."));
            QVERIFY(store.db.isOpen() && !store.db.isInTransaction());
        } else {
            for (const _MsgMessage* message : list)
                store.db.deleteMessage(*message);
        }
        QVERIFY2(store.state().startsWith(left + QLatin1Char('|')), qPrintable(store.state()));
        // The handles and their chat_handle_join rows stay; no message join row is left behind.
        QCOMPARE(scalar(store.db, QStringLiteral("select count(*) from handle")), 2);
        QCOMPARE(scalar(store.db, QStringLiteral("select count(*) from chat_handle_join")), 2);
        QCOMPARE(scalar(store.db, QStringLiteral("select count(*) from chat_message_join")),
                 scalar(store.db, QStringLiteral("select count(*) from message")));
    }

    void cancelKeepsEverything_data()
    {
        QTest::addColumn<int>("cancelAtItem"); // 0: before the first
        QTest::newRow("before the first message") << 0;
        QTest::newRow("during the last message") << 3;
    }

    void cancelKeepsEverything()
    {
        QFETCH(int, cancelAtItem);
        Store store;
        const QString before = store.state();
        JobRecorder recorder;
        if (cancelAtItem == 0)
            recorder.cancelNow();
        else
            recorder.cancelAtItem(cancelAtItem);
        QCOMPARE(store.runJob(recorder, store.set.messages.values()), QStringList());
        QCOMPARE(recorder.itemCount(), cancelAtItem);
        QCOMPARE(recorder.textsOf(QStringLiteral("errorOccurred")), QStringList());
        QCOMPARE(store.state(), before);
        QVERIFY(!store.db.isInTransaction());
    }

    void sqlFailureRollsBack_data()
    {
        QTest::addColumn<QString>("raise");
        // ABORT undoes the statement, ROLLBACK ends the whole transaction itself.
        QTest::newRow("statement aborted") << QStringLiteral("ABORT");
        QTest::newRow("transaction rolled back by SQLite") << QStringLiteral("ROLLBACK");
    }

    void sqlFailureRollsBack()
    {
        QFETCH(QString, raise);
        Store store;
        store.db.executeThrow(
            QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON message WHEN "
                           "old.text = 'B two' BEGIN SELECT RAISE(%1, 'refused by test'); END")
                .arg(raise));
        const QString before = store.state();
        const QList<_MsgMessage*> all = store.set.messages.values();
        JobRecorder recorder;
        QCOMPARE(store.runJob(recorder, all), QStringList());
        const QStringList errors = recorder.textsOf(QStringLiteral("errorOccurred"));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QLatin1String("refused by test")), qPrintable(errors.first()));
        QCOMPARE(store.state(), before);

        // The connection is left usable: without the trigger the same run succeeds.
        store.db.executeThrow(QStringLiteral("DROP TRIGGER refuse"));
        JobRecorder retry;
        QCOMPARE(store.runJob(retry, all), QStringList{successText(3)});
        QCOMPARE(scalar(store.db, QStringLiteral("select count(*) from message")), 0);
    }
};

QTEST_MAIN(TestDeleteMessages)
#include "tst_deletemessages.moc"
