// Reading conversations, correspondents and messages into a MessageSet.
#include "tests/kit/StoreTestKit.h"
#include "tests/kit/TestHome.h"

#include "store/IOS6MessageDb.h"
#include "store/MessageLists.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace StoreTestKit;

class TestMessageDbRead : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        db.reset();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }

    void chatLastDate_data()
    {
        QTest::addColumn<bool>("olderFile");
        QTest::addColumn<int>("expected");
        QTest::newRow("stored _last") << false << 50;
        QTest::newRow("no _last column: newest message") << true << 300;
    }

    void chatLastDate()
    {
        QFETCH(bool, olderFile);
        QFETCH(int, expected);
        openDb(QString(), olderFile);
        exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'a'), (2, 'b');"
                            "insert into message(ROWID, guid, date) values(1, 'm1', 100), (2, 'm2', 300), "
                            "(3, 'm3', 200), (4, 'm4', 900);"
                            "insert into chat_message_join values(1, 1), (1, 2), (1, 3), (7, 4);"));
        if (!olderFile)
            exec(QStringLiteral("update chat set _last=50 where ROWID=1"));
        MessageSet set;
        db->readChats(set);
        QCOMPARE(set.chats.value(1)->_last, expected);
        QCOMPARE(set.chats.value(2)->_last, 0);
        QVERIFY(!set.chats.contains(7));
    }

    void itemType4NeverRead_data()
    {
        QTest::addColumn<qint64>("chatRowid");
        QTest::addColumn<QList<qint64>>("expected");
        QTest::newRow("all chats (0)") << qint64(0) << QList<qint64>{1, 2, 3, 6};
        QTest::newRow("all chats (-5)") << qint64(-5) << QList<qint64>{1, 2, 3, 6};
        QTest::newRow("chat 1") << qint64(1) << QList<qint64>{1, 2};
        QTest::newRow("chat 2") << qint64(2) << QList<qint64>{3};
    }

    void itemType4NeverRead()
    {
        QFETCH(qint64, chatRowid);
        QFETCH(QList<qint64>, expected);
        openDb();
        exec(QStringLiteral(
            "insert into chat(ROWID, guid) values(1, 'a'), (2, 'b');"
            "insert into message(ROWID, guid, item_type) values(1, 'm1', 0), (2, 'm2', 1), "
            "(3, 'm3', 2), (4, 'm4', 4), (5, 'm5', 4), (6, 'm6', 0);"
            "insert into chat_message_join values(1, 1), (1, 2), (2, 3), (1, 4), (2, 5), (8, 6);"));
        MessageSet set;
        db->readMessages(set, chatRowid);
        QCOMPARE(set.messages.keys(), expected);
        QCOMPARE(set.chats.size(), 2); // the chats are read whole either way
        QCOMPARE(set.messages.first()->chat, set.chats.value(chatRowid == 2 ? 2 : 1));
        if (chatRowid <= 0) { // message 6 is joined to a chat that does not exist
            QVERIFY(!set.messages.value(6)->chat);
            QCOMPARE(messagesOfChats({set.chats.value(2)}), QList<_MsgMessage*>{set.messages.value(3)});
        }
    }

    // Rows come in the join table's order, not the row ids': the set and each
    // chat still hold their messages by row id, and a message joined to two
    // chats is one record in both lists.
    void joinOrderAndMessageInTwoChats()
    {
        openDb();
        exec(QStringLiteral(
            "insert into chat(ROWID, guid) values(1, 'a'), (2, 'b');"
            "insert into message(ROWID, guid) values(1, 'm1'), (2, 'm2'), (3, 'm3'), "
            "(10, 'm10'), (11, 'm11');"
            "insert into chat_message_join(chat_id, message_id) values(1, 11), (1, 2), (2, 10), "
            "(1, 1), (2, 2), (2, 3);"));
        MessageSet set;
        db->readMessages(set, 0);
        QCOMPARE(set.messages.keys(), (QList<qint64>{1, 2, 3, 10, 11}));
        const auto rowids = [](const _MsgChat* chat) {
            QList<qint64> list;
            for (const _MsgMessage* message : chat->messages)
                list.append(message->rowid);
            return list;
        };
        QCOMPARE(rowids(set.chats.value(1)), (QList<qint64>{1, 2, 11}));
        QCOMPARE(rowids(set.chats.value(2)), (QList<qint64>{2, 3, 10}));
        QVERIFY(set.chats.value(1)->messages.at(1) == set.chats.value(2)->messages.at(0));
        QVERIFY(set.messages.value(2)->chat == set.chats.value(1) ||
                set.messages.value(2)->chat == set.chats.value(2));
        for (const _MsgMessage* message : set.messages)
            QCOMPARE(message->guid, QStringLiteral("m%1").arg(message->rowid));
    }

    // A file rewritten since the last read names other records under the same
    // row ids: a read replaces what the set held, chats, correspondents and
    // messages alike, so no old record is linked to a new row.
    void rereadReplacesRecords()
    {
        openDb();
        exec(
            QStringLiteral("insert into chat(ROWID, guid, display_name) values(1, 'a', 'First');"
                           "insert into handle(ROWID, id, country, service, _ct_name) values(5, 'x@y', 'us', "
                           "'SMS', 'Old');"
                           "insert into chat_handle_join values(1, 5);"
                           "insert into message(ROWID, guid, text, handle_id) values(1, 'm1', 'old', 5);"
                           "insert into chat_message_join values(1, 1);"));
        MessageSet set;
        db->readMessages(set, 0);
        QCOMPARE(set.messages.value(1)->handle->_ct_name, QStringLiteral("Old"));

        exec(
            QStringLiteral("delete from chat_message_join; delete from chat_handle_join; delete from message;"
                           "delete from handle; delete from chat;"
                           "insert into chat(ROWID, guid, display_name) values(1, 'b', 'Second');"
                           "insert into handle(ROWID, id, country, service, _ct_name) values(5, 'z@w', 'us', "
                           "'SMS', 'New');"
                           "insert into chat_handle_join values(1, 5);"
                           "insert into message(ROWID, guid, text, handle_id) values(1, 'n1', 'new', 5), "
                           "(2, 'n2', 'newer', 5);"
                           "insert into chat_message_join values(1, 1), (1, 2);"));
        db->readChats(set);
        QCOMPARE(set.messages.size(), 0); // the old messages went with their chats
        QCOMPARE(set.chats.value(1)->display_name, QStringLiteral("Second"));
        db->readMessages(set, 0);
        QCOMPARE(set.chats.size(), 1);
        QCOMPARE(set.handles.size(), 1);
        _MsgChat* chat = set.chats.value(1);
        _MsgHandle* handle = set.handles.value(5);
        QCOMPARE(chat->guid, QStringLiteral("b"));
        QCOMPARE(chat->participants.values(), QList<_MsgHandle*>{handle});
        QCOMPARE(handle->_ct_name, QStringLiteral("New"));
        QCOMPARE(handle->id, QStringLiteral("z@w"));
        QCOMPARE(chat->messages.size(), 2);
        for (const _MsgMessage* message : std::as_const(set.messages)) {
            QVERIFY(message->text.toString().startsWith(QLatin1String("new")));
            QCOMPARE(message->handle, handle);
            QCOMPARE(message->chat, chat);
        }
    }

    void handleNormalisation_data()
    {
        QTest::addColumn<QString>("mcc");
        QTest::addColumn<QStringList>("stored"); // country, id
        QTest::addColumn<QStringList>("read");
        QTest::newRow("stored country fr")
            << "" << QStringList{"fr", "06 12 34 56 78"} << QStringList{"fr", "+33612345678"};
        QTest::newRow("empty country: the mcc's")
            << "234" << QStringList{"", "07400 000000"} << QStringList{"gb", "+447400000000"};
        QTest::newRow("unknown region: the mcc's rules")
            << "234" << QStringList{"zz", "07400 000000"} << QStringList{"zz", "+447400000000"};
        QTest::newRow("unknown region, no mcc")
            << "" << QStringList{"zz", "07400 000000"} << QStringList{"zz", "07400000000"};
    }

    void handleNormalisation()
    {
        QFETCH(QString, mcc);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, read);
        openDb(mcc);
        exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'a');"
                            "insert into chat_handle_join values(1, 5);"));
        Sqlite3Sql sql(
            QStringLiteral("insert into handle(ROWID, id, country, service) values(5, ?, ?, 'SMS')"));
        sql.addTextParam(stored[1]);
        sql.addTextParam(stored[0]);
        db->executeThrow(sql);

        MessageSet set;
        db->readChats(set);
        QCOMPARE(QStringList({set.handles.value(5)->country, set.handles.value(5)->id}), read);
        QCOMPARE(column(*db, QStringLiteral("select id from handle")),
                 QStringList{stored[1]}); // file unchanged
    }

    // Integers beyond the fields' range are clamped, never wrapped: a far
    // future date stays in the future, a huge handle id names no handle.
    void badStoredValuesReadWithoutCrash()
    {
        openDb();
        exec(QStringLiteral(
            "insert into chat(ROWID, guid) values(1, 'a');"
            "insert into handle(ROWID, id, service) values(3, '+3', 'SMS');"
            "insert into chat_handle_join values(1, 3);"
            "insert into message(ROWID, guid, text, subject, date, date_read, handle_id, other_handle, "
            "version, is_from_me) "
            "values(1, 'm1', CAST(x'61ff62c3' AS TEXT), CAST(x'610062' AS TEXT), 9223372036854775807, "
            "-9000000000000, 9223372036854775807, 1099511627779, 'abc', 4294967296), "
            "(2, 'm2', x'00', NULL, 1e308, 'soon', -1, -99999999999, 2.5, 0);"
            "insert into chat_message_join values(1, 1), (1, 2);"));
        MessageSet set;
        db->readMessages(set, 0);
        QCOMPARE(set.messages.size(), 2);
        const _MsgMessage* m1 = set.messages.value(1);
        const _MsgMessage* m2 = set.messages.value(2);
        QVERIFY(m1->text.toString().startsWith(QLatin1Char('a')));
        QCOMPARE(m1->subject(), QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b")));
        QVERIFY(!m1->handle);
        QVERIFY(!m1->otherHandle); // 2^40 + 3 is not handle 3
        QCOMPARE(m1->other_handle(), std::numeric_limits<int>::max());
        QCOMPARE(m1->date, std::numeric_limits<int>::max());
        QCOMPARE(m1->date_read, std::numeric_limits<int>::min());
        QCOMPARE(m1->is_from_me, std::numeric_limits<int>::max()); // sent, as stored
        QCOMPARE(m2->date, std::numeric_limits<int>::max());
        QCOMPARE(m2->other_handle(), std::numeric_limits<int>::min());
        QCOMPARE(m2->version(), 2);
    }

    // Rows that differ from their neighbours in one seldom set column keep
    // their own values exactly, a row without a handle takes no country from
    // the row before, and changing one record leaves the others alone.
    void repeatingColumnsKeptPerRow()
    {
        openDb();
        exec(QStringLiteral(
            "insert into chat(ROWID, guid) values(1, 'a');"
            "insert into handle(ROWID, id, country, service) values(3, '+3', 'us', 'SMS');"
            "insert into chat_handle_join values(1, 3);"
            "insert into message(ROWID, guid, text, handle_id, service, is_sent, error, country) values"
            "(1, 'm1', 'x', 3, 'SMS', 1, 0, NULL), (2, 'm2', 'x', 0, 'SMS', 1, 0, NULL),"
            "(3, 'm3', 'x', 0, 'SMS', 2, 0, NULL), (4, 'm4', 'x', 0, 'SMS', 1, 70000, NULL),"
            "(5, 'm5', 'x', 0, 'SMS', 1, 0, NULL), (6, 'm6', '', 0, 'iMessage', 1, 0, 'de');"
            "insert into chat_message_join values(1, 1), (1, 2), (1, 3), (1, 4), (1, 5), (1, 6);"));
        MessageSet set;
        db->readChats(set);
        db->readMessages(set, 0);
        QCOMPARE(set.messages.size(), 6);
        QStringList got;
        for (const _MsgMessage* m : std::as_const(set.messages))
            got << QStringLiteral("%1 %2 %3 %4 %5 %6")
                       .arg(m->guid.toString(), m->service(), QString::number(m->is_sent()),
                            QString::number(m->error()), m->country(), m->text.toString());
        QCOMPARE(got, (QStringList{"m1 SMS 1 0 us x", "m2 SMS 1 0  x", "m3 SMS 2 0  x", "m4 SMS 1 70000  x",
                                   "m5 SMS 1 0  x", "m6 iMessage 1 0 de "}));
        _MsgMessage* m2 = set.messages.value(2);
        const _MsgMessage* m5 = set.messages.value(5);
        m2->set_error(70001);
        QCOMPARE(m2->error(), 70001);
        QCOMPARE(m5->error(), 0);
        QCOMPARE(set.messages.value(4)->error(), 70000);
    }

private:
    void exec(const QString& sql)
    {
        QString error;
        QVERIFY2(db->exec(sql, error) == 0, qPrintable(error));
    }
    void openDb(const QString& mcc = QString(), bool olderFile = false)
    {
        if (olderFile)
            makeOlderFile(QDir(dir->path()));
        db = std::make_unique<IOS6MessageDb>(QDir(dir->path()), mcc);
        db->open();
    }

    TestHome home; // the country library copies its database into the data folder
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<IOS6MessageDb> db;
};

QTEST_GUILESS_MAIN(TestMessageDbRead)
#include "tst_messagedb_read.moc"
