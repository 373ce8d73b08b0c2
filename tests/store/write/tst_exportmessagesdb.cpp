#include "store/ExportMessagesDb.h"
#include "store/MessageHash.h"
#include "store/sql/Sqlite3DB.h"
#include "tests/store/write/WriteTestRecords.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <stdexcept>

using WriteTestDb::scalar;
using WriteTestDb::tableCounts;
using WriteTestDb::text;

class TestExportMessagesDb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void sameMessagesTwiceAddNothing();
    void sameContentIsStoredOnce();
    void systemMessagesAreToldApartByGuid();
    void existingHandleIsReusedAndJoinedOnce();
    void messageOfAnotherChatIsNotJoinedToTheNewChat();
    void lastDateIsRaisedButNeverLowered();
    void groupChatRemembersLastAddressedHandle();
    void otherPartyIsStoredAndJoined();
    void chatRowColumns();
    void handleRowColumns();
    void invalidServiceThrowsAndLeavesNothing();
    void messagesWithoutKnownChatAreSkipped();
    void closingWithoutEndLeavesDatabaseUnchanged();
    void reopenedOlderFileIsWrittenWithItsOwnColumns();

private:
    QDir folder() const { return QDir(dir->filePath(QStringLiteral("db"))); }
    void writeAll(const QList<_MsgMessage*>& messages);
    std::unique_ptr<IOS6MessageDb> openDb();

    QTemporaryDir home;
    std::unique_ptr<QTemporaryDir> dir;
};

void TestExportMessagesDb::initTestCase()
{
    QVERIFY(home.isValid());
    qputenv("HOME", QFile::encodeName(home.path()));
}

void TestExportMessagesDb::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestExportMessagesDb::writeAll(const QList<_MsgMessage*>& messages)
{
    ExportMessagesDb exporter(folder(), QString());
    exporter.begin();
    for (const _MsgMessage* message : messages)
        exporter.write(*message);
    exporter.end();
    QVERIFY(!exporter.db.isOpen());
}

std::unique_ptr<IOS6MessageDb> TestExportMessagesDb::openDb()
{
    auto db = std::make_unique<IOS6MessageDb>(folder(), QString());
    db->open();
    return db;
}

void TestExportMessagesDb::sameMessagesTwiceAddNothing()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"), QStringLiteral("Ann"));
    _MsgHandle* bob = r.handle(QStringLiteral("+447700900002"));
    _MsgChat* single = r.singleChat(ann);
    _MsgChat* group = r.chat(QStringLiteral("SMS;+;chat42"), {ann, bob});
    QList<_MsgMessage*> messages = {
        r.message(single, ann, 1000, false, QStringLiteral("Hello")),
        r.message(single, ann, 1010, true, QStringLiteral("Hi Ann 😀")),
        r.message(single, ann, 1020, false, QStringLiteral("Line one\nLine two")),
        r.message(group, ann, 2000, false, QStringLiteral("Group hello")),
        r.message(group, bob, 2005, false, QStringLiteral("ok")),
        r.systemMessage(group, 3, QStringLiteral("sys-1"), 2100),
    };
    writeAll(messages);
    QString first;
    {
        auto db = openDb();
        first = tableCounts(*db);
        QCOMPARE(scalar(*db, QStringLiteral("select count(*) from message")), 6);
        QCOMPARE(scalar(*db, QStringLiteral("select count(*) from chat")), 2);
        QCOMPARE(scalar(*db, QStringLiteral("select count(*) from handle")), 2);
    }
    writeAll(messages);
    auto db = openDb();
    QCOMPARE(tableCounts(*db), first);
    QCOMPARE(scalar(*db, QStringLiteral("select count(*) from chat_message_join")), 6);
}

void TestExportMessagesDb::sameContentIsStoredOnce()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgChat* chat = r.singleChat(ann);
    _MsgMessage* a = r.message(chat, ann, 5000, false, QStringLiteral("same words"));
    _MsgMessage* b = r.message(chat, ann, 5000, false, QStringLiteral("same words"));
    _MsgMessage* otherDirection = r.message(chat, ann, 5000, true, QStringLiteral("same words"));
    QVERIFY(a->guid != b->guid);
    writeAll({a, b, otherDirection});
    auto db = openDb();
    QCOMPARE(scalar(*db, QStringLiteral("select count(*) from message")), 2);
    QCOMPARE(text(*db, QStringLiteral("select guid from message where is_from_me=0")), a->guid);
    QCOMPARE(text(*db, QStringLiteral("select logic_hash from message where is_from_me=0")), logicHash(*a));
}

void TestExportMessagesDb::systemMessagesAreToldApartByGuid()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgHandle* bob = r.handle(QStringLiteral("+447700900002"));
    _MsgChat* group = r.chat(QStringLiteral("SMS;+;chat7"), {ann, bob});
    _MsgMessage* left1 = r.systemMessage(group, 3, QStringLiteral("sys-a"), 100);
    _MsgMessage* left2 = r.systemMessage(group, 3, QStringLiteral("sys-b"), 100);
    _MsgMessage* again = r.systemMessage(group, 3, QStringLiteral("sys-a"), 900);
    writeAll({left1, left2, again});
    auto db = openDb();
    QCOMPARE(scalar(*db, QStringLiteral("select count(*) from message")), 2);
    QCOMPARE(scalar(*db, QStringLiteral("select count(*) from message where item_type=3")), 2);
}

void TestExportMessagesDb::existingHandleIsReusedAndJoinedOnce()
{
    WriteTestRecords first;
    _MsgHandle* ann = first.handle(QStringLiteral("+447700900001"), QStringLiteral("Ann"));
    writeAll({first.message(first.singleChat(ann), ann, 100, false, QStringLiteral("one"))});

    // A later load: the same address on the same service in other records,
    // writing into a chat whose participants do not name it.
    WriteTestRecords second;
    _MsgHandle* annAgain = second.handle(QStringLiteral("+447700900001"), QStringLiteral("Ann"));
    _MsgHandle* carl = second.handle(QStringLiteral("+447700900003"));
    _MsgChat* group = second.chat(QStringLiteral("SMS;+;chat9"), {carl});
    writeAll({second.message(group, annAgain, 200, false, QStringLiteral("two")),
              second.message(group, annAgain, 300, false, QStringLiteral("three"))});

    {
        auto db = openDb();
        QCOMPARE(scalar(*db, QStringLiteral("select count(*) from handle where id='+447700900001'")), 1);
        const qint64 annRow =
            scalar(*db, QStringLiteral("select rowid from handle where id='+447700900001'"));
        const qint64 groupRow =
            scalar(*db, QStringLiteral("select rowid from chat where guid='SMS;+;chat9'"));
        QCOMPARE(scalar(*db, QStringLiteral(
                                 "select count(*) from chat_handle_join where chat_id=%1 and handle_id=%2")
                                 .arg(groupRow)
                                 .arg(annRow)),
                 1);
        QCOMPARE(
            scalar(*db,
                   QStringLiteral("select count(*) from chat_handle_join where handle_id=%1").arg(annRow)),
            2);
        QCOMPARE(scalar(*db, QStringLiteral("select count(*) from message where handle_id=%1").arg(annRow)),
                 3);
    }

    // The same address on another service is another correspondent.
    WriteTestRecords third;
    _MsgHandle* imessage = third.handle(QStringLiteral("+447700900001"));
    imessage->service = QStringLiteral("iMessage");
    writeAll({third.message(third.singleChat(imessage), imessage, 400, false, QStringLiteral("four"))});
    auto db = openDb();
    QCOMPARE(scalar(*db, QStringLiteral("select count(*) from handle where id='+447700900001'")), 2);
}

void TestExportMessagesDb::messageOfAnotherChatIsNotJoinedToTheNewChat()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgChat* first = r.singleChat(ann);
    _MsgChat* second = r.chat(QStringLiteral("SMS;-;elsewhere"), {ann});
    _MsgMessage* original = r.message(first, ann, 700, false, QStringLiteral("moved?"));
    _MsgMessage* copy = r.message(second, ann, 700, false, QStringLiteral("moved?"));
    writeAll({original});
    writeAll({copy});

    auto db = openDb();
    const qint64 secondRow =
        scalar(*db, QStringLiteral("select rowid from chat where guid='SMS;-;elsewhere'"));
    QVERIFY(secondRow > 0);
    QCOMPARE(scalar(*db, QStringLiteral("select count(*) from message")), 1);
    QCOMPARE(
        scalar(*db, QStringLiteral("select count(*) from chat_message_join where chat_id=%1").arg(secondRow)),
        0);
    QCOMPARE(scalar(*db, QStringLiteral("select _last from chat where rowid=%1").arg(secondRow)), 0);
}

void TestExportMessagesDb::lastDateIsRaisedButNeverLowered()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgChat* chat = r.singleChat(ann);
    writeAll({r.message(chat, ann, 1000, false, QStringLiteral("a")),
              r.message(chat, ann, 3000, true, QStringLiteral("b")),
              r.message(chat, ann, 2000, false, QStringLiteral("c"))});
    const QString lastSql = QStringLiteral("select _last from chat where guid='SMS;-;+447700900001'");
    {
        auto db = openDb();
        QCOMPARE(scalar(*db, lastSql), 3000);
    }
    writeAll({r.message(chat, ann, 1500, false, QStringLiteral("older"))});
    {
        auto db = openDb();
        QCOMPARE(scalar(*db, lastSql), 3000);
    }
    writeAll({r.message(chat, ann, 5000, false, QStringLiteral("newer"))});
    auto db = openDb();
    QCOMPARE(scalar(*db, lastSql), 5000);
}

void TestExportMessagesDb::groupChatRemembersLastAddressedHandle()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgHandle* bob = r.handle(QStringLiteral("+447700900002"));
    _MsgChat* group = r.chat(QStringLiteral("SMS;+;chat5"), {ann, bob});
    _MsgChat* single = r.singleChat(ann);
    _MsgMessage* fromAnn = r.message(group, ann, 100, false, QStringLiteral("from Ann"));
    writeAll({fromAnn, r.message(group, bob, 200, false, QStringLiteral("from Bob")),
              r.message(group, nullptr, 300, true, QStringLiteral("from me")),
              r.message(single, ann, 400, false, QStringLiteral("just us"))});
    const QString sql = QStringLiteral("select last_addressed_handle from chat where guid='%1'");
    {
        auto db = openDb();
        QCOMPARE(text(*db, sql.arg(group->guid)), bob->id);
        QCOMPARE(scalar(*db, QStringLiteral("select last_addressed_handle is null from chat where guid='%1'")
                                 .arg(single->guid)),
                 1);
    }
    // A message already stored still names its sender.
    writeAll({fromAnn});
    auto db = openDb();
    QCOMPARE(text(*db, sql.arg(group->guid)), ann->id);
}

void TestExportMessagesDb::otherPartyIsStoredAndJoined()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgHandle* bob = r.handle(QStringLiteral("+447700900002"));
    _MsgHandle* dora = r.handle(QStringLiteral("+447700900004"), QStringLiteral("Dora"));
    _MsgChat* group = r.chat(QStringLiteral("SMS;+;chat8"), {ann, bob});
    _MsgMessage* added = r.systemMessage(group, 1, QStringLiteral("sys-added"), 50);
    added->handle = ann;
    added->otherHandle = dora;
    _MsgMessage* plain = r.message(group, bob, 60, false, QStringLiteral("welcome"));
    writeAll({added, plain});

    auto db = openDb();
    const qint64 doraRow = scalar(*db, QStringLiteral("select rowid from handle where id='+447700900004'"));
    QVERIFY(doraRow > 0);
    QCOMPARE(text(*db, QStringLiteral("select _ct_name from handle where rowid=%1").arg(doraRow)),
             QStringLiteral("Dora"));
    QCOMPARE(scalar(*db, QStringLiteral("select other_handle from message where guid='sys-added'")), doraRow);
    QCOMPARE(scalar(*db, QStringLiteral("select other_handle from message where guid='%1'").arg(plain->guid)),
             -1);
    QCOMPARE(
        scalar(*db, QStringLiteral("select count(*) from chat_handle_join where handle_id=%1").arg(doraRow)),
        1);
    QCOMPARE(scalar(*db, QStringLiteral("select count(*) from chat_handle_join")), 3);
}

void TestExportMessagesDb::chatRowColumns()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgChat* plain = r.singleChat(ann);
    _MsgChat* named = r.chat(QStringLiteral("SMS;+;chat77"), {ann});
    named->display_name = QStringLiteral("Family 👨‍👩‍👧");
    named->group_id = QStringLiteral("GROUP-1");
    named->account_id = QStringLiteral("acct");
    named->room_name = QStringLiteral("room");
    _MsgChat* imessage = r.chat(QStringLiteral("iMessage;-;ann@example.com"), {ann});
    imessage->service_name = QStringLiteral("iMessage");
    writeAll({r.message(plain, ann, 1, false, QStringLiteral("x")),
              r.message(named, ann, 2, false, QStringLiteral("y")),
              r.message(imessage, ann, 3, false, QStringLiteral("z"))});

    auto db = openDb();
    const QString where = QStringLiteral(" from chat where guid='%1'");
    QCOMPARE(text(*db, QStringLiteral("select group_id") + where.arg(plain->guid)),
             guidFromBytes(plain->guid.toUtf8()));
    QCOMPARE(text(*db, QStringLiteral("select typeof(display_name)") + where.arg(plain->guid)),
             QStringLiteral("null"));
    QCOMPARE(text(*db, QStringLiteral("select typeof(account_id)") + where.arg(plain->guid)),
             QStringLiteral("null"));
    QCOMPARE(text(*db, QStringLiteral("select typeof(room_name)") + where.arg(plain->guid)),
             QStringLiteral("null"));
    QCOMPARE(scalar(*db, QStringLiteral("select style") + where.arg(plain->guid)), 45);
    QCOMPARE(text(*db, QStringLiteral("select account_login") + where.arg(plain->guid)),
             QStringLiteral("E:"));
    QCOMPARE(text(*db, QStringLiteral("select display_name") + where.arg(named->guid)), named->display_name);
    QCOMPARE(text(*db, QStringLiteral("select group_id") + where.arg(named->guid)),
             QStringLiteral("GROUP-1"));
    QCOMPARE(text(*db, QStringLiteral("select account_id") + where.arg(named->guid)), QStringLiteral("acct"));
    QCOMPARE(text(*db, QStringLiteral("select room_name") + where.arg(named->guid)), QStringLiteral("room"));
    QCOMPARE(text(*db, QStringLiteral("select service_name") + where.arg(imessage->guid)),
             QStringLiteral("iMessage"));
}

void TestExportMessagesDb::handleRowColumns()
{
    WriteTestRecords r;
    _MsgHandle* bare = r.handle(QStringLiteral("+447700900001"));
    bare->country.clear();
    _MsgHandle* full = r.handle(QStringLiteral("+447700900002"), QStringLiteral("Zoé"));
    full->uncanonicalized_id = QStringLiteral("07700 900002");
    full->_photo = QByteArray("\x89PNG", 4);
    writeAll({r.message(r.singleChat(bare), bare, 1, false, QStringLiteral("x")),
              r.message(r.singleChat(full), full, 2, false, QStringLiteral("y"))});

    auto db = openDb();
    const QString bareRow = QStringLiteral(" from handle where id='%1'").arg(bare->id);
    const QString fullRow = QStringLiteral(" from handle where id='%1'").arg(full->id);
    QCOMPARE(text(*db, QStringLiteral("select typeof(country)") + bareRow), QStringLiteral("null"));
    QCOMPARE(text(*db, QStringLiteral("select typeof(uncanonicalized_id)") + bareRow),
             QStringLiteral("null"));
    // The contact name and photo columns are written even when empty.
    QCOMPARE(text(*db, QStringLiteral("select typeof(_ct_name)") + bareRow), QStringLiteral("text"));
    QCOMPARE(scalar(*db, QStringLiteral("select length(_photo)") + bareRow), 0);
    QCOMPARE(text(*db, QStringLiteral("select country") + fullRow), QStringLiteral("gb"));
    QCOMPARE(text(*db, QStringLiteral("select uncanonicalized_id") + fullRow),
             QStringLiteral("07700 900002"));
    QCOMPARE(text(*db, QStringLiteral("select _ct_name") + fullRow), QStringLiteral("Zoé"));
    QCOMPARE(scalar(*db, QStringLiteral("select length(_photo)") + fullRow), 4);
}

void TestExportMessagesDb::invalidServiceThrowsAndLeavesNothing()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgChat* sms = r.singleChat(ann);
    writeAll({r.message(sms, ann, 10, false, QStringLiteral("kept"))});
    QString before;
    {
        auto db = openDb();
        before = tableCounts(*db);
    }

    _MsgHandle* bob = r.handle(QStringLiteral("+447700900002"));
    _MsgChat* mms = r.chat(QStringLiteral("MMS;-;+447700900002"), {bob});
    mms->service_name = QStringLiteral("MMS");
    ExportMessagesDb exporter(folder(), QString());
    exporter.begin();
    exporter.write(*r.message(sms, ann, 20, false, QStringLiteral("written before the failure")));
    exporter.write(
        *r.message(r.singleChat(bob), bob, 25, false, QStringLiteral("new chat before the failure")));
    QString error;
    try {
        exporter.write(*r.message(mms, bob, 30, false, QStringLiteral("picture")));
    } catch (const std::runtime_error& e) {
        error = QString::fromUtf8(e.what());
    }
    QCOMPARE(error, QStringLiteral("IOS6MessageDb::insertChat, invalid chat, service_name:MMS"));
    exporter.db.close(); // what a job does after an error

    auto db = openDb();
    QCOMPARE(tableCounts(*db), before);
}

void TestExportMessagesDb::messagesWithoutKnownChatAreSkipped()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgMessage* orphan = r.message(nullptr, ann, 10, false, QStringLiteral("no chat"));
    _MsgChat* unknown = r.singleChat(ann);
    unknown->rowid = -2047483647;
    _MsgMessage* unknownChat = r.message(unknown, ann, 20, false, QStringLiteral("unknown chat"));
    _MsgChat* limit = r.chat(QStringLiteral("SMS;-;limit"), {ann});
    limit->rowid = -2047483646; // the last row id still written
    QTest::ignoreMessage(QtDebugMsg, "IOS6RestoreMessagesThread skip message with empty chat.");
    QTest::ignoreMessage(QtDebugMsg, "IOS6RestoreMessagesThread skip message with unknown chat.");
    writeAll({orphan, unknownChat, r.message(limit, ann, 30, false, QStringLiteral("kept"))});

    auto db = openDb();
    QCOMPARE(scalar(*db, QStringLiteral("select count(*) from message")), 1);
    QCOMPARE(text(*db, QStringLiteral("select text from message")), QStringLiteral("kept"));
    QCOMPARE(scalar(*db, QStringLiteral("select count(*) from chat")), 1);
}

void TestExportMessagesDb::closingWithoutEndLeavesDatabaseUnchanged()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgChat* chat = r.singleChat(ann);
    writeAll({r.message(chat, ann, 10, false, QStringLiteral("committed"))});
    QString before;
    {
        auto db = openDb();
        before = tableCounts(*db);
    }
    _MsgHandle* bob = r.handle(QStringLiteral("+447700900002"));
    {
        // Cancelled: the job closes the database.
        ExportMessagesDb exporter(folder(), QString());
        exporter.begin();
        exporter.write(*r.message(chat, ann, 20, false, QStringLiteral("cancelled")));
        exporter.write(*r.message(r.singleChat(bob), bob, 30, false, QStringLiteral("cancelled too")));
        exporter.db.close();
    }
    {
        // Dropped without end(): the destructor closes the connection.
        ExportMessagesDb exporter(folder(), QString());
        exporter.begin();
        exporter.write(*r.message(chat, ann, 40, false, QStringLiteral("never committed")));
    }
    auto db = openDb();
    QCOMPARE(tableCounts(*db), before);
    QCOMPARE(scalar(*db, QStringLiteral("select _last from chat")), 10);
}

void TestExportMessagesDb::reopenedOlderFileIsWrittenWithItsOwnColumns()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"), QStringLiteral("Ann"));
    _MsgChat* chat = r.singleChat(ann);
    ExportMessagesDb exporter(folder(), QString());
    exporter.begin();
    exporter.write(*r.message(chat, ann, 10, false, QStringLiteral("current schema")));
    exporter.end();

    // The same exporter writes again after the file was replaced by one of an
    // older layout: chat without _last, handle without _ct_name and _photo.
    const QString path = exporter.db.databasePath();
    QVERIFY(QFile::remove(path));
    QFile ddl(QStringLiteral(":/res/localmsgdb_ddl.sql"));
    QVERIFY(ddl.open(QIODevice::ReadOnly));
    QString script = QString::fromLatin1(ddl.readAll());
    QVERIFY(script.contains(QLatin1String(", _last INTEGER DEFAULT 0")));
    script.remove(QStringLiteral(", _last INTEGER DEFAULT 0"));
    script.remove(QStringLiteral("CREATE INDEX chat_idx_last ON chat(_last);"));
    script.remove(QStringLiteral(", _ct_name TEXT, _photo BLOB"));
    {
        Sqlite3DB raw;
        raw.openThrow(path, Sqlite3DB::ReadWriteCreate);
        QString error;
        QCOMPARE(raw.exec(script, error), 0);
    }
    exporter.begin();
    exporter.write(*r.message(chat, ann, 20, false, QStringLiteral("older schema")));
    exporter.end();

    auto db = openDb();
    QVERIFY(!db->tableCreateSql(QStringLiteral("chat")).contains(QLatin1String("_last")));
    QCOMPARE(scalar(*db, QStringLiteral("select count(*) from message")), 1);
    QCOMPARE(text(*db, QStringLiteral("select text from message")), QStringLiteral("older schema"));
    QCOMPARE(text(*db, QStringLiteral("select id from handle")), ann->id);
}

QTEST_GUILESS_MAIN(TestExportMessagesDb)
#include "tst_exportmessagesdb.moc"
