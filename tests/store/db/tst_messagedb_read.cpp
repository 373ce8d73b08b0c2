// Reading conversations, correspondents and messages into a MessageSet, the
// single-row lookups and the message lists built on a filled set.
#include "MessageDbTestFiles.h"

#include "store/IOS6MessageDb.h"
#include "store/MessageHash.h"
#include "store/MessageLists.h"
#include "store/MessageSet.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace MessageDbTestFiles;

class TestMessageDbRead : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void chatFieldsAndParticipants();
    void handleInTwoChatsIsOneRecord();
    void joinRowOfMissingChatStillAddsHandle();
    void lastFromMessagesWithoutLastColumn();
    void lastColumnIsReadWhenPresent();
    void rereadKeepsRecordsAndAddsNew();

    void handleNormalisation_data();
    void handleNormalisation();

    void messageFields();
    void itemType4NeverRead_data();
    void itemType4NeverRead();
    void messageOfMissingChatHasNoChat();
    void messageInTwoChats();
    void linksHandlesAndCountry();
    void rereadMessagesKeepsRecords();
    void badStoredValuesReadWithoutCrash();

    void lookups();
    void lookupsOpenFirst();
    void messageLists();

private:
    void exec(const QString& sql) { db->executeThrow(sql); }
    void openDb(const QString& mcc);

    QTemporaryDir home;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<IOS6MessageDb> db;
};

void TestMessageDbRead::initTestCase()
{
    // The country library copies its database into the data folder.
    QVERIFY(home.isValid());
    qputenv("HOME", home.path().toUtf8());
}

void TestMessageDbRead::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    openDb(QString());
}

void TestMessageDbRead::openDb(const QString& mcc)
{
    db = std::make_unique<IOS6MessageDb>(QDir(dir->path()), mcc);
    db->open();
}

void TestMessageDbRead::cleanup()
{
    db.reset();
    dir.reset();
}

void TestMessageDbRead::chatFieldsAndParticipants()
{
    exec(QStringLiteral(
        "insert into chat(ROWID, guid, style, state, account_id, properties, chat_identifier, service_name, "
        "room_name, account_login, is_archived, last_addressed_handle, display_name, group_id, _last) "
        "values(3, 'SMS;-;+1', 43, 2, 'acc', x'0102', '+1', 'SMS', 'room', 'E:me', 1, '+2', 'Family', 'G-1', "
        "999)"));
    exec(QStringLiteral(
        "insert into handle(ROWID, id, country, service, uncanonicalized_id, _ct_name, _photo) "
        "values(5, 'ann@example.com', 'us', 'SMS', 'raw', 'Ann', x'ff00'), "
        "(6, 'bob@example.com', 'us', 'iMessage', '', '', NULL)"));
    exec(QStringLiteral("insert into chat_handle_join values(3, 5), (3, 6)"));

    MessageSet set;
    db->readChats(set);
    QCOMPARE(set.chats.size(), 1);
    const _MsgChat* chat = set.chats.value(3);
    QVERIFY(chat);
    QCOMPARE(chat->rowid, 3);
    QCOMPARE(chat->guid, QStringLiteral("SMS;-;+1"));
    QCOMPARE(chat->style, 43);
    QCOMPARE(chat->state, 2);
    QCOMPARE(chat->account_id, QStringLiteral("acc"));
    QCOMPARE(chat->properties, QByteArray("\x01\x02"));
    QCOMPARE(chat->chat_identifier, QStringLiteral("+1"));
    QCOMPARE(chat->service_name, QStringLiteral("SMS"));
    QCOMPARE(chat->room_name, QStringLiteral("room"));
    QCOMPARE(chat->account_login, QStringLiteral("E:me"));
    QCOMPARE(chat->is_archived, 1);
    QCOMPARE(chat->last_addressed_handle, QStringLiteral("+2"));
    QCOMPARE(chat->display_name, QStringLiteral("Family"));
    QCOMPARE(chat->group_id, QStringLiteral("G-1"));
    QCOMPARE(chat->_last, 999);
    QCOMPARE(chat->messages.size(), 0);

    QCOMPARE(chat->participants.keys(), QStringList({"5", "6"}));
    const _MsgHandle* ann = chat->participants.value(QStringLiteral("5"));
    QCOMPARE(ann, set.handles.value(5));
    QCOMPARE(ann->rowid, 5);
    QCOMPARE(ann->id, QStringLiteral("ann@example.com"));
    QCOMPARE(ann->country, QStringLiteral("us"));
    QCOMPARE(ann->service, QStringLiteral("SMS"));
    QCOMPARE(ann->uncanonicalized_id, QStringLiteral("raw"));
    QCOMPARE(ann->_ct_name, QStringLiteral("Ann"));
    QCOMPARE(ann->_photo, QByteArray("\xff\x00", 2));
    QCOMPARE(set.handles.value(6)->service, QStringLiteral("iMessage"));
}

void TestMessageDbRead::handleInTwoChatsIsOneRecord()
{
    exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'a'), (2, 'b')"));
    exec(QStringLiteral(
        "insert into handle(ROWID, id, country, service) values(5, '+15550001', 'us', 'SMS')"));
    exec(QStringLiteral("insert into chat_handle_join values(1, 5), (2, 5)"));
    MessageSet set;
    db->readChats(set);
    QCOMPARE(set.handles.size(), 1);
    QCOMPARE(set.chats.value(1)->participants.value(QStringLiteral("5")), set.handles.value(5));
    QCOMPARE(set.chats.value(2)->participants.value(QStringLiteral("5")), set.handles.value(5));
}

void TestMessageDbRead::joinRowOfMissingChatStillAddsHandle()
{
    exec(QStringLiteral(
        "insert into handle(ROWID, id, country, service) values(5, '+15550001', 'us', 'SMS')"));
    exec(QStringLiteral("insert into chat_handle_join values(42, 5)"));
    MessageSet set;
    db->readChats(set);
    QCOMPARE(set.chats.size(), 0);
    QCOMPARE(set.handles.size(), 1);
}

void TestMessageDbRead::lastFromMessagesWithoutLastColumn()
{
    db.reset();
    QVERIFY(QFile::remove(smsDbPath(QDir(dir->path()))));
    makeRawDb(smsDbPath(QDir(dir->path())), oldStyleSchema());
    openDb(QString());
    exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'a'), (2, 'b')"));
    exec(QStringLiteral("insert into message(ROWID, guid, date) values(1, 'm1', 100), (2, 'm2', 300), "
                        "(3, 'm3', 200), (4, 'm4', 900)"));
    exec(QStringLiteral("insert into chat_message_join values(1, 1), (1, 2), (1, 3), (7, 4)"));

    MessageSet set;
    db->readChats(set);
    QCOMPARE(set.chats.value(1)->_last, 300);
    QCOMPARE(set.chats.value(2)->_last, 0);
    QVERIFY(!set.chats.contains(7));
}

void TestMessageDbRead::lastColumnIsReadWhenPresent()
{
    exec(QStringLiteral("insert into chat(ROWID, guid, _last) values(1, 'a', 50)"));
    exec(QStringLiteral("insert into message(ROWID, guid, date) values(1, 'm1', 100)"));
    exec(QStringLiteral("insert into chat_message_join values(1, 1)"));
    MessageSet set;
    db->readChats(set);
    QCOMPARE(set.chats.value(1)->_last, 50);
}

void TestMessageDbRead::rereadKeepsRecordsAndAddsNew()
{
    exec(QStringLiteral("insert into chat(ROWID, guid, display_name) values(1, 'a', 'First')"));
    exec(QStringLiteral("insert into handle(ROWID, id, country, service, _ct_name) "
                        "values(5, 'x@y', 'us', 'SMS', 'Old')"));
    exec(QStringLiteral("insert into chat_handle_join values(1, 5)"));
    MessageSet set;
    db->readChats(set);
    _MsgChat* chat = set.chats.value(1);
    _MsgHandle* handle = set.handles.value(5);

    exec(QStringLiteral("update chat set display_name='Changed'"));
    exec(QStringLiteral("update handle set _ct_name='New'"));
    exec(QStringLiteral("insert into chat(ROWID, guid) values(2, 'b')"));
    exec(QStringLiteral("insert into chat_handle_join values(2, 5)"));
    db->readChats(set);
    QCOMPARE(set.chats.size(), 2);
    QCOMPARE(set.chats.value(1), chat);
    QCOMPARE(chat->display_name, QStringLiteral("First"));
    QCOMPARE(set.handles.value(5), handle);
    QCOMPARE(handle->_ct_name, QStringLiteral("Old"));
    QCOMPARE(set.chats.value(2)->participants.value(QStringLiteral("5")), handle);
    QCOMPARE(chat->participants.size(), 1);
}

void TestMessageDbRead::handleNormalisation_data()
{
    QTest::addColumn<QString>("mcc");
    QTest::addColumn<QString>("storedCountry");
    QTest::addColumn<QString>("storedId");
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("id");

    QTest::newRow("french number, local db") << ""
                                             << "fr"
                                             << "06 12 34 56 78"
                                             << "fr"
                                             << "+33612345678";
    QTest::newRow("stored code upper case") << "234"
                                            << "FR"
                                            << "0612345678"
                                            << "FR"
                                            << "+33612345678";
    QTest::newRow("no country takes the db's") << "234"
                                               << ""
                                               << "07400 000000"
                                               << "gb"
                                               << "+447400000000";
    QTest::newRow("unknown region: db's country") << "234"
                                                  << "zz"
                                                  << "07400 000000"
                                                  << "zz"
                                                  << "+447400000000";
    QTest::newRow("unknown region, no db country") << ""
                                                   << "zz"
                                                   << "07400 000000"
                                                   << "zz"
                                                   << "07400000000";
    QTest::newRow("no country anywhere") << ""
                                         << ""
                                         << "07400 000000"
                                         << ""
                                         << "07400000000";
    QTest::newRow("named sender") << "234"
                                  << ""
                                  << "BankAlert"
                                  << "gb"
                                  << "bankalert";
    QTest::newRow("already international") << "208"
                                           << "gb"
                                           << "+44 7400 000000"
                                           << "gb"
                                           << "+447400000000";
}

void TestMessageDbRead::handleNormalisation()
{
    QFETCH(QString, mcc);
    QFETCH(QString, storedCountry);
    QFETCH(QString, storedId);
    QFETCH(QString, country);
    QFETCH(QString, id);

    openDb(mcc);
    exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'a')"));
    Sqlite3Sql sql(QStringLiteral("insert into handle(ROWID, id, country, service) values(5, ?, ?, 'SMS')"));
    sql.addTextParam(storedId);
    sql.addTextParam(storedCountry);
    db->executeThrow(sql);
    exec(QStringLiteral("insert into chat_handle_join values(1, 5)"));

    MessageSet set;
    db->readChats(set);
    QCOMPARE(set.handles.value(5)->country, country);
    QCOMPARE(set.handles.value(5)->id, id);
    // The file keeps what was stored.
    QCOMPARE(scalar(*db, QStringLiteral("select count(*) from handle where id='%1'").arg(storedId)), 1);
}

void TestMessageDbRead::messageFields()
{
    exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'a')"));
    exec(QStringLiteral(
        "insert into message(ROWID, guid, text, replace, service_center, handle_id, subject, country, "
        "attributedBody, version, type, service, account, account_guid, error, date, date_read, "
        "date_delivered, "
        "is_delivered, is_finished, is_emote, is_from_me, is_empty, is_delayed, is_auto_reply, is_prepared, "
        "is_read, is_system_message, is_sent, has_dd_results, is_service_message, is_forward, "
        "was_downgraded, "
        "is_archive, cache_has_attachments, cache_roomnames, was_data_detected, was_deduplicated, "
        "is_audio_message, is_played, date_played, item_type, other_handle, group_title, group_action_type, "
        "share_status, share_direction, is_expirable, expire_state, message_action_type, logic_hash) values("
        "77, 'G', 'T', 2, 'SC', 0, 'SU', 'de', x'0a0b', 3, 4, 'SMS', 'AC', 'AG', 5, 6, 7, 8, "
        "9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 'RN', 26, 27, "
        "28, 29, 30, 3, 0, 'GT', 31, 32, 33, 34, 35, 36, 'LH')"));
    exec(QStringLiteral("insert into chat_message_join values(1, 77)"));

    MessageSet set;
    db->readMessages(set, 0);
    const _MsgMessage* m = set.messages.value(77);
    QVERIFY(m);
    QCOMPARE(m->rowid, 77);
    QCOMPARE(m->orderRowid, 77);
    QCOMPARE(m->guid, QStringLiteral("G"));
    QCOMPARE(m->text, QStringLiteral("T"));
    QCOMPARE(m->replace, 2);
    QCOMPARE(m->service_center, QStringLiteral("SC"));
    QCOMPARE(m->handle_id, 0);
    QCOMPARE(m->subject, QStringLiteral("SU"));
    QCOMPARE(m->country, QStringLiteral("de"));
    QCOMPARE(m->attributedBody, QByteArray("\x0a\x0b"));
    QCOMPARE(m->version, 3);
    QCOMPARE(m->type, 4);
    QCOMPARE(m->service, QStringLiteral("SMS"));
    QCOMPARE(m->account, QStringLiteral("AC"));
    QCOMPARE(m->account_guid, QStringLiteral("AG"));
    QCOMPARE(m->error, 5);
    QCOMPARE(m->date, 6);
    QCOMPARE(m->date_read, 7);
    QCOMPARE(m->date_delivered, 8);
    const QList<int> flags = {
        m->is_delivered, m->is_finished,          m->is_emote,           m->is_from_me, m->is_empty,
        m->is_delayed,   m->is_auto_reply,        m->is_prepared,        m->is_read,    m->is_system_message,
        m->is_sent,      m->has_dd_results,       m->is_service_message, m->is_forward, m->was_downgraded,
        m->is_archive,   m->cache_has_attachments};
    QCOMPARE(flags, QList<int>({9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}));
    QCOMPARE(m->cache_roomnames, QStringLiteral("RN"));
    QCOMPARE(m->was_data_detected, 26);
    QCOMPARE(m->was_deduplicated, 27);
    QCOMPARE(m->is_audio_message, 28);
    QCOMPARE(m->is_played, 29);
    QCOMPARE(m->date_played, 30);
    QCOMPARE(m->item_type, 3);
    QCOMPARE(m->other_handle, 0);
    QCOMPARE(m->group_title, QStringLiteral("GT"));
    QCOMPARE(m->group_action_type, 31);
    QCOMPARE(m->share_status, 32);
    QCOMPARE(m->share_direction, 33);
    QCOMPARE(m->is_expirable, 34);
    QCOMPARE(m->expire_state, 35);
    QCOMPARE(m->message_action_type, 36);
    QCOMPARE(m->chat, set.chats.value(1));
    QVERIFY(!m->handle);
    QVERIFY(!m->otherHandle);
    QVERIFY(m->attachments.isEmpty());
}

void TestMessageDbRead::itemType4NeverRead_data()
{
    QTest::addColumn<qint64>("chatRowid");
    QTest::addColumn<QList<qint64>>("expected");
    QTest::newRow("all chats (0)") << qint64(0) << QList<qint64>{1, 2, 3};
    QTest::newRow("all chats (-5)") << qint64(-5) << QList<qint64>{1, 2, 3};
    QTest::newRow("chat 1") << qint64(1) << QList<qint64>{1, 2};
    QTest::newRow("chat 2") << qint64(2) << QList<qint64>{3};
    QTest::newRow("no such chat") << qint64(9) << QList<qint64>{};
}

void TestMessageDbRead::itemType4NeverRead()
{
    QFETCH(qint64, chatRowid);
    QFETCH(QList<qint64>, expected);
    exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'a'), (2, 'b')"));
    exec(QStringLiteral("insert into message(ROWID, guid, item_type) values(1, 'm1', 0), (2, 'm2', 1), "
                        "(3, 'm3', 2), (4, 'm4', 4), (5, 'm5', 4)"));
    exec(QStringLiteral("insert into chat_message_join values(1, 1), (1, 2), (2, 3), (1, 4), (2, 5)"));
    MessageSet set;
    db->readMessages(set, chatRowid);
    QCOMPARE(set.messages.keys(), expected);
    QCOMPARE(set.chats.size(), 2); // the chats are read whole either way
}

void TestMessageDbRead::messageOfMissingChatHasNoChat()
{
    exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'a')"));
    exec(QStringLiteral("insert into message(ROWID, guid) values(1, 'm1'), (2, 'm2')"));
    exec(QStringLiteral("insert into chat_message_join values(1, 1), (8, 2)"));
    MessageSet set;
    db->readMessages(set, 0);
    QCOMPARE(set.messages.size(), 2);
    QVERIFY(!set.messages.value(2)->chat);
    QCOMPARE(set.chats.value(1)->messages.keys(), QStringList({"1"}));
}

void TestMessageDbRead::messageInTwoChats()
{
    exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'a'), (2, 'b')"));
    exec(QStringLiteral("insert into message(ROWID, guid) values(10, 'm')"));
    exec(QStringLiteral("insert into chat_message_join values(1, 10), (2, 10)"));
    MessageSet set;
    db->readMessages(set, 0);
    _MsgMessage* m = set.messages.value(10);
    QCOMPARE(set.messages.size(), 1);
    QCOMPARE(set.chats.value(1)->messages.value(QStringLiteral("10")), m);
    QCOMPARE(set.chats.value(2)->messages.value(QStringLiteral("10")), m);
    QVERIFY(m->chat == set.chats.value(1) || m->chat == set.chats.value(2));
}

void TestMessageDbRead::linksHandlesAndCountry()
{
    exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'a')"));
    exec(QStringLiteral("insert into handle(ROWID, id, country, service) values(5, 'a@b', 'it', 'SMS'), "
                        "(6, 'c@d', 'es', 'SMS'), (7, 'e@f', 'nl', 'SMS')"));
    exec(QStringLiteral("insert into chat_handle_join values(1, 5), (1, 6)"));
    exec(QStringLiteral(
        "insert into message(ROWID, guid, handle_id, country, other_handle) values"
        "(1, 'm1', 5, '', 6), (2, 'm2', 5, 'ch', -1), (3, 'm3', 7, '', 0), (4, 'm4', 0, '', 5)"));
    exec(QStringLiteral("insert into chat_message_join values(1, 1), (1, 2), (1, 3), (1, 4)"));
    MessageSet set;
    db->readMessages(set, 0);
    const _MsgMessage* m1 = set.messages.value(1);
    QCOMPARE(m1->handle, set.handles.value(5));
    QCOMPARE(m1->country, QStringLiteral("it"));
    QCOMPARE(m1->otherHandle, set.handles.value(6));
    const _MsgMessage* m2 = set.messages.value(2);
    QCOMPARE(m2->country, QStringLiteral("ch"));
    QVERIFY(!m2->otherHandle);
    // Handle 7 belongs to no chat, so it was never read.
    QVERIFY(!set.messages.value(3)->handle);
    QVERIFY(set.messages.value(3)->country.isEmpty());
    QVERIFY(!set.messages.value(4)->handle);
    QCOMPARE(set.messages.value(4)->otherHandle, set.handles.value(5));
}

void TestMessageDbRead::rereadMessagesKeepsRecords()
{
    exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'a')"));
    exec(QStringLiteral("insert into message(ROWID, guid, text) values(1, 'm1', 'old')"));
    exec(QStringLiteral("insert into chat_message_join values(1, 1)"));
    MessageSet set;
    db->readMessages(set, 0);
    _MsgMessage* first = set.messages.value(1);

    exec(QStringLiteral("update message set text='new'"));
    exec(QStringLiteral("insert into message(ROWID, guid, text) values(2, 'm2', 'second')"));
    exec(QStringLiteral("insert into chat_message_join values(1, 2)"));
    db->readMessages(set, 0);
    QCOMPARE(set.messages.size(), 2);
    QCOMPARE(set.messages.value(1), first);
    QCOMPARE(first->text, QStringLiteral("old"));
    QCOMPARE(set.chats.value(1)->messages.size(), 2);
}

void TestMessageDbRead::badStoredValuesReadWithoutCrash()
{
    exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'a')"));
    exec(QStringLiteral(
        "insert into message(ROWID, guid, text, subject, date, date_read, handle_id, other_handle, version) "
        "values"
        "(1, 'm1', CAST(x'61ff62c3' AS TEXT), CAST(x'610062' AS TEXT), 9223372036854775807, -9000000000000, "
        "9223372036854775807, 99999999999, 'abc'), "
        "(2, 'm2', x'00', NULL, 1e300, 'soon', -1, -99999999999, 2.5)"));
    exec(QStringLiteral("insert into chat_message_join values(1, 1), (1, 2)"));
    MessageSet set;
    db->readMessages(set, 0);
    QCOMPARE(set.messages.size(), 2);
    const _MsgMessage* m1 = set.messages.value(1);
    QVERIFY(m1->text.startsWith(QLatin1Char('a')));
    QCOMPARE(m1->subject, QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b")));
    QVERIFY(!m1->handle);
    QVERIFY(!m1->otherHandle);
    QCOMPARE(set.messages.value(2)->version, 2);
}

void TestMessageDbRead::lookups()
{
    exec(QStringLiteral("insert into chat(ROWID, guid) values(4, 'SMS;-;+1')"));
    exec(QStringLiteral(
        "insert into handle(ROWID, id, service) values(6, '+1', 'SMS'), (7, '+1', 'iMessage')"));
    exec(QStringLiteral("insert into chat_handle_join values(4, 6)"));
    exec(QStringLiteral("insert into attachment(ROWID, guid) values(9, 'AT-1')"));
    _MsgMessage stored;
    stored.guid = QStringLiteral("MG-1");
    stored.text = QStringLiteral("hi");
    stored.date = 1000;
    Sqlite3Sql sql(
        QStringLiteral("insert into message(ROWID, guid, text, date, logic_hash) values(12, ?, ?, ?, ?)"));
    sql.addTextParam(stored.guid);
    sql.addTextParam(stored.text);
    sql.addIntParam(stored.date);
    sql.addTextParam(logicHash(stored));
    db->executeThrow(sql);

    _MsgChat chat;
    chat.guid = QStringLiteral("SMS;-;+1");
    QCOMPARE(db->findChatRowid(chat), 4);
    chat.guid = QStringLiteral("SMS;-;+2");
    QCOMPARE(db->findChatRowid(chat), 0);

    _MsgHandle handle;
    handle.id = QStringLiteral("+1");
    QCOMPARE(db->findHandleRowid(handle), 6);
    handle.service = QStringLiteral("iMessage");
    QCOMPARE(db->findHandleRowid(handle), 7);
    handle.service = QStringLiteral("MMS");
    QCOMPARE(db->findHandleRowid(handle), 0);

    _MsgMessage other = stored;
    other.guid = QStringLiteral("MG-2"); // same content under another guid
    QCOMPARE(db->findMessageRowid(stored), 12);
    QCOMPARE(db->findMessageRowid(other), 0);
    QCOMPARE(db->findMessageRowidByLogicHash(other), 12);
    other.text = QStringLiteral("hello");
    QCOMPARE(db->findMessageRowidByLogicHash(other), 0);

    _MsgAttachment attachment;
    attachment.guid = QStringLiteral("AT-1");
    QCOMPARE(db->findAttachmentRowid(attachment), 9);
    attachment.guid = QStringLiteral("AT-2");
    QCOMPARE(db->findAttachmentRowid(attachment), 0);

    QVERIFY(db->hasChatHandle(4, 6));
    QVERIFY(!db->hasChatHandle(4, 7));
    QVERIFY(!db->hasChatHandle(6, 4));
}

void TestMessageDbRead::lookupsOpenFirst()
{
    exec(QStringLiteral("insert into chat(ROWID, guid) values(4, 'g')"));
    db->close();
    _MsgChat chat;
    chat.guid = QStringLiteral("g");
    QCOMPARE(db->findChatRowid(chat), 4);
    QVERIFY(db->isOpen());
    db->close();
    MessageSet set;
    db->readChats(set);
    QCOMPARE(set.chats.size(), 1);
}

void TestMessageDbRead::messageLists()
{
    exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'a'), (2, 'b')"));
    exec(QStringLiteral("insert into message(ROWID, guid) values(1, 'm1'), (2, 'm2'), (3, 'm3'), (4, 'm4')"));
    exec(QStringLiteral("insert into chat_message_join values(2, 1), (1, 2), (2, 3), (5, 4)"));
    MessageSet set;
    db->readMessages(set, 0);

    const QList<_MsgMessage*> all = allMessages(set);
    QCOMPARE(all.size(), 4);
    QCOMPARE(all, set.messages.values());

    const QList<_MsgMessage*> ofChats = messagesOfChats({set.chats.value(2), set.chats.value(1)});
    QCOMPARE(ofChats,
             QList<_MsgMessage*>({set.messages.value(1), set.messages.value(3), set.messages.value(2)}));
    QVERIFY(messagesOfChats({}).isEmpty());
}

QTEST_GUILESS_MAIN(TestMessageDbRead)
#include "tst_messagedb_read.moc"
