#include "store/ExportMessagesDb.h"
#include "store/MessageSet.h"
#include "store/sql/Sqlite3DB.h"
#include "tests/store/write/WriteTestRecords.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using WriteTestDb::scalar;

// IOS6MessageDb::deleteMessage on a database written by the exporter and
// read back, as the delete commands do it.
class TestMessageDbDelete : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void onlyMessageTakesChatAlongButKeepsHandles();
    void oneOfTwoMessagesKeepsChat();
    void messageWithoutChatLeavesChatRow();
    void attachmentGoesWithItsLastMessage();
    void rollbackKeepsEverything();

private:
    QDir folder() const { return QDir(dir->filePath(QStringLiteral("db"))); }
    // Writes the messages, then reads the database into set through db.
    void writeAndRead(const QList<_MsgMessage*>& messages);
    _MsgMessage* storedMessage(const QString& text) const;
    void deleteMessages(const QList<_MsgMessage*>& messages, bool commit = true);
    qint64 count(const QString& table)
    {
        return scalar(*db, QStringLiteral("select count(*) from ") + table);
    }

    QTemporaryDir home;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<IOS6MessageDb> db;
    std::unique_ptr<MessageSet> set;
};

void TestMessageDbDelete::initTestCase()
{
    QVERIFY(home.isValid());
    qputenv("HOME", QFile::encodeName(home.path()));
}

void TestMessageDbDelete::init()
{
    db.reset();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    set = std::make_unique<MessageSet>();
}

void TestMessageDbDelete::writeAndRead(const QList<_MsgMessage*>& messages)
{
    ExportMessagesDb exporter(folder(), QString());
    exporter.begin();
    for (const _MsgMessage* message : messages)
        exporter.write(*message);
    exporter.end();
    db = std::make_unique<IOS6MessageDb>(folder(), QString());
    db->readMessages(*set, 0);
}

_MsgMessage* TestMessageDbDelete::storedMessage(const QString& text) const
{
    for (_MsgMessage* message : std::as_const(set->messages)) {
        if (message->text == text)
            return message;
    }
    qFatal("message not read back");
    return nullptr;
}

void TestMessageDbDelete::deleteMessages(const QList<_MsgMessage*>& messages, bool commit)
{
    db->beginTransaction();
    for (const _MsgMessage* message : messages)
        db->deleteMessage(*message);
    db->endTransaction(commit);
}

void TestMessageDbDelete::onlyMessageTakesChatAlongButKeepsHandles()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgHandle* bob = r.handle(QStringLiteral("+447700900002"));
    writeAndRead({r.message(r.singleChat(ann), ann, 10, false, QStringLiteral("only")),
                  r.message(r.singleChat(bob), bob, 20, false, QStringLiteral("other chat"))});
    _MsgMessage* only = storedMessage(QStringLiteral("only"));
    QVERIFY(only->chat);
    const qint64 chatRowid = only->chat->rowid;

    deleteMessages({only});

    QCOMPARE(count(QStringLiteral("message")), 1);
    QCOMPARE(scalar(*db, QStringLiteral("select count(*) from message where rowid=%1").arg(only->rowid)), 0);
    QCOMPARE(
        scalar(*db,
               QStringLiteral("select count(*) from chat_message_join where message_id=%1").arg(only->rowid)),
        0);
    QCOMPARE(scalar(*db, QStringLiteral("select count(*) from chat where rowid=%1").arg(chatRowid)), 0);
    QCOMPARE(count(QStringLiteral("chat")), 1);
    // The chat's correspondent and its join row stay in the file.
    QCOMPARE(count(QStringLiteral("handle")), 2);
    QCOMPARE(
        scalar(*db, QStringLiteral("select count(*) from chat_handle_join where chat_id=%1").arg(chatRowid)),
        1);
}

void TestMessageDbDelete::oneOfTwoMessagesKeepsChat()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgChat* chat = r.singleChat(ann);
    writeAndRead({r.message(chat, ann, 10, false, QStringLiteral("first")),
                  r.message(chat, ann, 20, true, QStringLiteral("second"))});
    _MsgMessage* first = storedMessage(QStringLiteral("first"));

    deleteMessages({first});

    QCOMPARE(count(QStringLiteral("message")), 1);
    QCOMPARE(count(QStringLiteral("chat")), 1);
    QCOMPARE(count(QStringLiteral("chat_message_join")), 1);
    QCOMPARE(scalar(*db, QStringLiteral(
                             "select count(*) from chat_message_join where chat_id=%1 and message_id=%2")
                             .arg(first->chat->rowid)
                             .arg(storedMessage(QStringLiteral("second"))->rowid)),
             1);

    deleteMessages({storedMessage(QStringLiteral("second"))});
    QCOMPARE(count(QStringLiteral("message")), 0);
    QCOMPARE(count(QStringLiteral("chat")), 0);
}

void TestMessageDbDelete::messageWithoutChatLeavesChatRow()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    writeAndRead({r.message(r.singleChat(ann), ann, 10, false, QStringLiteral("alone"))});
    _MsgMessage copy = *storedMessage(QStringLiteral("alone"));
    copy.chat = nullptr;

    deleteMessages({&copy});

    QCOMPARE(count(QStringLiteral("message")), 0);
    QCOMPARE(count(QStringLiteral("chat_message_join")), 0);
    QCOMPARE(count(QStringLiteral("chat")), 1);
}

void TestMessageDbDelete::attachmentGoesWithItsLastMessage()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgChat* chat = r.singleChat(ann);
    _MsgMessage* first = r.message(chat, ann, 10, false, QStringLiteral("with file"));
    _MsgMessage* second = r.message(chat, ann, 20, false, QStringLiteral("same file"));
    _MsgAttachment* file = r.attachment(first, QStringLiteral("~/pic.jpg"), QString());
    second->attachments.insert(file->rowid, file);
    writeAndRead({first, second});
    QCOMPARE(count(QStringLiteral("message_attachment_join")), 2);

    deleteMessages({storedMessage(QStringLiteral("with file"))});
    QCOMPARE(count(QStringLiteral("message_attachment_join")), 1);
    QCOMPARE(count(QStringLiteral("attachment")), 1);

    deleteMessages({storedMessage(QStringLiteral("same file"))});
    QCOMPARE(count(QStringLiteral("message_attachment_join")), 0);
    QCOMPARE(count(QStringLiteral("attachment")), 0);
}

void TestMessageDbDelete::rollbackKeepsEverything()
{
    WriteTestRecords r;
    _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
    _MsgChat* chat = r.singleChat(ann);
    writeAndRead({r.message(chat, ann, 10, false, QStringLiteral("a")),
                  r.message(chat, ann, 20, false, QStringLiteral("b"))});
    const QString before = WriteTestDb::tableCounts(*db);

    deleteMessages({storedMessage(QStringLiteral("a")), storedMessage(QStringLiteral("b"))}, false);

    QCOMPARE(WriteTestDb::tableCounts(*db), before);
}

QTEST_GUILESS_MAIN(TestMessageDbDelete)
#include "tst_messagedbdelete.moc"
