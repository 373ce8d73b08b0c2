// Writing messages into a message database through the exporter: no
// duplicates, conversations and correspondents found again, attachment files
// kept inside the database folder, and a generated database read and written back.
#include "tests/kit/StoreTestKit.h"
#include "tests/kit/TestHome.h"

#include "store/ExportMessagesDb.h"
#include "store/MessageHash.h"
#include "store/MessageLists.h"
#include "store/MessageOrder.h"
#include "store/MessageText.h"
#include "tools/gen_messages/MessageGenerator.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <stdexcept>

using namespace StoreTestKit;

class TestExportMessagesDb : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }

    void sameMessagesTwiceAddNothing()
    {
        Records r;
        _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"), QStringLiteral("Ann"));
        _MsgHandle* bob = r.handle(QStringLiteral("+447700900002"));
        _MsgChat* single = r.singleChat(ann);
        _MsgChat* group = r.chat(QStringLiteral("SMS;+;chat42"), {ann, bob});
        const QList<_MsgMessage*> messages = {
            r.message(single, ann, 1000, false, QStringLiteral("Hello")),
            r.message(single, ann, 1010, true, QStringLiteral("Hi Ann 😀")),
            r.message(group, bob, 2005, false, QStringLiteral("ok")),
            r.message(group, nullptr, 2100, true, QString(), 3),
        };
        writeMessages(folder(), messages);
        const QString first = tableCounts(*openDb());
        QCOMPARE(first, QStringLiteral("message=4 chat=2 handle=2 attachment=0 chat_handle_join=3 "
                                       "chat_message_join=4 message_attachment_join=0"));
        writeMessages(folder(), messages);
        QCOMPARE(tableCounts(*openDb()), first);
    }

    void duplicateContent_data()
    {
        QTest::addColumn<int>("itemType");
        QTest::addColumn<int>("stored");
        QTest::newRow("messages differing only in guid") << 0 << 1;
        QTest::newRow("system messages with different guids") << 3 << 2;
    }

    void duplicateContent()
    {
        QFETCH(int, itemType);
        QFETCH(int, stored);
        Records r;
        _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
        _MsgChat* group =
            r.chat(QStringLiteral("SMS;+;chat7"), {ann, r.handle(QStringLiteral("+447700900002"))});
        _MsgMessage* a = r.message(group, ann, 5000, false, QStringLiteral("same words"), itemType);
        _MsgMessage* b = r.message(group, ann, 5000, false, QStringLiteral("same words"), itemType);
        QVERIFY(a->guid != b->guid);
        writeMessages(folder(), {a, b});
        QCOMPARE(scalarOf(QStringLiteral("select count(*) from message")), stored);
        QCOMPARE(textOf(QStringLiteral("select guid from message order by rowid")), a->guid);
        if (itemType == 0)
            QCOMPARE(textOf(QStringLiteral("select logic_hash from message")), logicHash(*a));
    }

    void existingHandleIsReusedAndJoinedOnce()
    {
        Records first;
        _MsgHandle* ann = first.handle(QStringLiteral("+447700900001"), QStringLiteral("Ann"));
        writeMessages(folder(),
                      {first.message(first.singleChat(ann), ann, 100, false, QStringLiteral("one"))});

        // A later load: the same address in other records, writing into a chat
        // whose participants do not name it.
        Records second;
        _MsgHandle* annAgain = second.handle(QStringLiteral("+447700900001"), QStringLiteral("Ann"));
        _MsgChat* group =
            second.chat(QStringLiteral("SMS;+;chat9"), {second.handle(QStringLiteral("+447700900003"))});
        writeMessages(folder(), {second.message(group, annAgain, 200, false, QStringLiteral("two")),
                                 second.message(group, annAgain, 300, false, QStringLiteral("three"))});

        QCOMPARE(scalarOf(QStringLiteral("select count(*) from handle where id='+447700900001'")), 1);
        QCOMPARE(scalarOf(QStringLiteral("select count(*) from chat_handle_join j join handle h on "
                                         "h.rowid=j.handle_id join chat c on c.rowid=j.chat_id where "
                                         "h.id='+447700900001' and c.guid='SMS;+;chat9'")),
                 1);
        QCOMPARE(
            scalarOf(QStringLiteral("select count(*) from message m join handle h on h.rowid=m.handle_id "
                                    "where h.id='+447700900001'")),
            3);
    }

    void messageOfAnotherChatIsNotJoinedToTheNewChat()
    {
        Records r;
        _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
        _MsgChat* second = r.chat(QStringLiteral("SMS;-;elsewhere"), {ann});
        writeMessages(folder(), {r.message(r.singleChat(ann), ann, 700, false, QStringLiteral("moved?"))});
        writeMessages(folder(), {r.message(second, ann, 700, false, QStringLiteral("moved?"))});

        QCOMPARE(scalarOf(QStringLiteral("select count(*) from message")), 1);
        QCOMPARE(scalarOf(QStringLiteral("select count(*) from chat where guid='SMS;-;elsewhere'")), 1);
        QCOMPARE(scalarOf(QStringLiteral("select count(*) from chat_message_join")), 1);
        QCOMPARE(scalarOf(QStringLiteral("select _last from chat where guid='SMS;-;elsewhere'")), 0);
    }

    // A row of an older file may keep no logic hash: the message is found by
    // its guid, neither stored again nor joined, nor is the other party of
    // such a system message stored; the next new message takes the next row id.
    void messageStoredWithoutHashIsFoundByGuid_data()
    {
        QTest::addColumn<bool>("withOtherParty");
        QTest::newRow("a message") << false;
        QTest::newRow("a system message naming another party") << true;
    }

    void messageStoredWithoutHashIsFoundByGuid()
    {
        QFETCH(bool, withOtherParty);
        Records r;
        _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
        _MsgMessage* old = r.message(r.singleChat(ann), ann, 700, false, QStringLiteral("kept"), withOtherParty);
        writeMessages(folder(), {old});
        openDb()->executeThrow(QStringLiteral("update message set logic_hash=null"));

        _MsgChat* elsewhere = r.chat(QStringLiteral("SMS;-;elsewhere"), {ann});
        _MsgMessage* again = r.message(elsewhere, ann, 700, false, QStringLiteral("kept"), withOtherParty);
        again->guid = old->guid;
        again->otherHandle = withOtherParty ? r.handle(QStringLiteral("+447700900009")) : nullptr;
        _MsgMessage* next = r.message(elsewhere, ann, 800, false, QStringLiteral("new"));
        writeMessages(folder(), {again, next});

        QCOMPARE(scalarOf(QStringLiteral("select count(*) from message")), 2);
        QCOMPARE(scalarOf(QStringLiteral("select rowid from message where text='new'")), 2);
        QCOMPARE(scalarOf(QStringLiteral("select count(*) from chat_message_join")), 2);
        QCOMPARE(scalarOf(QStringLiteral("select count(*) from handle where id='+447700900009'")), 0);
        QCOMPARE(scalarOf(QStringLiteral("select _last from chat where guid='SMS;-;elsewhere'")), 800);
    }

    // A message whose guid is made from its content (a phone's, a backup
    // file's) is found by content also under another guid, in a new database
    // as in one that held messages; repeated in one run it is stored once.
    void contentGuidMessagesFoundByContent_data()
    {
        QTest::addColumn<bool>("otherFirst");
        QTest::newRow("the other guid first") << true;
        QTest::newRow("the content guid first") << false;
    }

    void contentGuidMessagesFoundByContent()
    {
        QFETCH(bool, otherFirst);
        SimpleSms phone;
        phone.fill({QStringLiteral("+447700900001"), QString(), QStringLiteral("hi"), QString(), 900, false});
        SimpleSms again;
        again.fill({QStringLiteral("+447700900001"), QString(), QStringLiteral("hi"), QString(), 900, false});
        Records r;
        _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
        _MsgMessage* other = r.message(r.singleChat(ann), ann, 900, false, QStringLiteral("hi"));
        QVERIFY(other->guid != phone.message().guid);
        QCOMPARE(logicHash(*other), phone.logicHashText());

        ExportMessagesDb writer(folder(), QString());
        writer.begin();
        if (otherFirst)
            writer.write(*other);
        writer.write(phone);
        writer.write(again);
        if (!otherFirst)
            writer.write(*other);
        writer.end();
        QCOMPARE(scalarOf(QStringLiteral("select count(*) from message")), 1);
        QCOMPARE(textOf(QStringLiteral("select guid from message")),
                 otherFirst ? other->guid : phone.message().guid);
    }

    void lastDateIsRaisedButNeverLowered()
    {
        Records r;
        _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
        _MsgChat* chat = r.singleChat(ann);
        const QString last = QStringLiteral("select _last from chat");
        writeMessages(folder(), {r.message(chat, ann, 1000, false, QStringLiteral("a")),
                                 r.message(chat, ann, 3000, true, QStringLiteral("b")),
                                 r.message(chat, ann, 2000, false, QStringLiteral("c"))});
        QCOMPARE(scalarOf(last), 3000);
        writeMessages(folder(), {r.message(chat, ann, 1500, false, QStringLiteral("older"))});
        QCOMPARE(scalarOf(last), 3000);
        writeMessages(folder(), {r.message(chat, ann, 5000, false, QStringLiteral("newer"))});
        QCOMPARE(scalarOf(last), 5000);
    }

    void groupChatRemembersLastAddressedHandle()
    {
        Records r;
        _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
        _MsgHandle* bob = r.handle(QStringLiteral("+447700900002"));
        _MsgChat* group = r.chat(QStringLiteral("SMS;+;chat5"), {ann, bob});
        _MsgMessage* fromAnn = r.message(group, ann, 100, false, QStringLiteral("from Ann"));
        writeMessages(folder(), {fromAnn, r.message(group, bob, 200, false, QStringLiteral("from Bob")),
                                 r.message(group, nullptr, 300, true, QStringLiteral("from me")),
                                 r.message(r.singleChat(ann), ann, 400, false, QStringLiteral("just us"))});
        const QString sql =
            QStringLiteral("select ifnull(last_addressed_handle, 'null') from chat order by guid");
        QCOMPARE(column(*openDb(), sql), QStringList({bob->id, QStringLiteral("null")}));
        writeMessages(folder(), {fromAnn}); // already stored, still names its sender
        QCOMPARE(column(*openDb(), sql), QStringList({ann->id, QStringLiteral("null")}));
    }

    void invalidServiceThrowsAndLeavesNothing()
    {
        Records r;
        _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
        _MsgChat* sms = r.singleChat(ann);
        writeMessages(folder(), {r.message(sms, ann, 10, false, QStringLiteral("kept"))});
        const QString before = tableCounts(*openDb());

        _MsgHandle* bob = r.handle(QStringLiteral("+447700900002"));
        _MsgChat* mms = r.chat(QStringLiteral("MMS;-;+447700900002"), {bob});
        mms->service_name = QStringLiteral("MMS");
        ExportMessagesDb exporter(folder(), QString());
        exporter.begin();
        exporter.write(*r.message(sms, ann, 20, false, QStringLiteral("written before the failure")));
        exporter.write(*r.message(r.singleChat(bob), bob, 25, false, QStringLiteral("new chat before it")));
        QString error;
        try {
            exporter.write(*r.message(mms, bob, 30, false, QStringLiteral("picture")));
        } catch (const std::runtime_error& e) {
            error = QString::fromUtf8(e.what());
        }
        QCOMPARE(error, QStringLiteral("IOS6MessageDb::insertChat, invalid chat, service_name:MMS"));
        exporter.abandon(); // what a job does after an error
        QCOMPARE(tableCounts(*openDb()), before);
    }

    void messagesWithoutKnownChatAreSkipped()
    {
        Records r;
        _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
        _MsgChat* unknown = r.singleChat(ann);
        unknown->rowid = -2047483647;
        _MsgChat* limit = r.chat(QStringLiteral("SMS;-;limit"), {ann});
        limit->rowid = -2047483646; // the last row id still written
        QTest::ignoreMessage(QtDebugMsg, "IOS6RestoreMessagesThread skip message with empty chat.");
        QTest::ignoreMessage(QtDebugMsg, "IOS6RestoreMessagesThread skip message with unknown chat.");
        writeMessages(folder(), {r.message(nullptr, ann, 10, false, QStringLiteral("no chat")),
                                 r.message(unknown, ann, 20, false, QStringLiteral("unknown chat")),
                                 r.message(limit, ann, 30, false, QStringLiteral("kept"))});
        QCOMPARE(column(*openDb(), QStringLiteral("select text from message")), QStringList{"kept"});
        QCOMPARE(scalarOf(QStringLiteral("select count(*) from chat")), 1);
    }

    void olderFileIsWrittenWithItsOwnColumns()
    {
        // chat without _last, handle without _ct_name and _photo
        makeOlderFile(folder());
        Records r;
        _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"), QStringLiteral("Ann"));
        writeMessages(folder(),
                      {r.message(r.singleChat(ann), ann, 10, false, QStringLiteral("older schema"))});
        QCOMPARE(textOf(QStringLiteral("select text from message")), QStringLiteral("older schema"));
        QCOMPARE(textOf(QStringLiteral("select id from handle")), ann->id);
    }

    void attachmentCopiedBelowRelayFolder_data()
    {
        QTest::addColumn<QString>("filename");
        QTest::addColumn<QString>("stored");
        QTest::newRow("home prefix") << "~/Library/SMS/Attachments/ab/IMG_0001.jpg"
                                     << "var/mobile/Library/SMS/Attachments/ab/IMG_0001.jpg";
        QTest::newRow("root prefix") << "/var/mobile/Library/SMS/Attachments/cd/IMG_0002.jpg"
                                     << "var/mobile/Library/SMS/Attachments/cd/IMG_0002.jpg";
        QTest::newRow("dot segments inside") << "~/Library/../Media/./clip.mov"
                                             << "var/mobile/Media/clip.mov";
    }

    void attachmentCopiedBelowRelayFolder()
    {
        QFETCH(QString, filename);
        QFETCH(QString, stored);
        const QByteArray bytes("\xff\xd8 picture bytes", 17);
        writeAttachment(filename, bytes);
        QCOMPARE(filesWritten(), QStringList{QStringLiteral("db/file-relay/") + stored});
        QCOMPARE(fileBytes(folder().filePath(QStringLiteral("file-relay/") + stored)), bytes);
    }

    void hostileAttachmentNameWritesNothingOutside_data()
    {
        QTest::addColumn<QString>("filename");
        QTest::newRow("parent segments") << "../../escaped.jpg";
        QTest::newRow("parent after home prefix") << "~/../../../escaped.jpg";
        QTest::newRow("parent after root prefix") << "/../escaped.jpg";
        QTest::newRow("sibling folder with the same prefix") << "../file-relay2/escaped.jpg";
        QTest::newRow("only dots") << "..";
        // A doubled slash is still absolute after the first one is taken off.
        QTest::newRow("absolute") << "//ABSOLUTE/escaped.jpg";
        // "LINK" is a link from below the relay folder to a folder outside it.
        QTest::newRow("through a link below file-relay") << "~/Library/LINK/escaped.jpg";
    }

    void hostileAttachmentNameWritesNothingOutside()
    {
        QFETCH(QString, filename);
        filename.replace(QStringLiteral("ABSOLUTE"), dir->path().mid(1));
        if (filename.contains(QLatin1String("LINK"))) {
            openDb(); // the database first, so the link is the only way out
            QVERIFY(QDir().mkpath(dir->filePath(QStringLiteral("outside"))));
            QVERIFY(QFile::link(dir->filePath(QStringLiteral("outside")),
                                folder().filePath(QStringLiteral("file-relay/var/mobile/Library/LINK"))));
        }
        writeAttachment(filename, "payload"); // the row is written all the same
        QCOMPARE(filesWritten(), QStringList());
    }

    void generatedDatabaseRoundTrip()
    {
        MessageGeneratorOptions options;
        options.messageCount = 300;
        options.conversationCount = 20;
        options.seed = 11;
        const QDir first(dir->filePath(QStringLiteral("first")));
        QCOMPARE(MessageGenerator::writeDatabase(first, QString(), options), 300);
        MessageSet generatedSet, firstSet, secondSet;
        const QList<_MsgMessage*> generated = MessageGenerator(options).generate(generatedSet);
        IOS6MessageDb(first, QString()).readMessages(firstSet, 0);
        QList<_MsgMessage*> read = allMessages(firstSet);
        sortMessagesAscending(read);
        writeMessages(folder(), read);
        IOS6MessageDb(folder(), QString()).readMessages(secondSet, 0);
        QCOMPARE(secondSet.chats.size(), firstSet.chats.size());
        QCOMPARE(secondSet.handles.size(), firstSet.handles.size());

        // Generated, written, read, written again and read: the same messages.
        for (const MessageSet* set : {&firstSet, &secondSet}) {
            QHash<QString, const _MsgMessage*> byGuid;
            for (const _MsgMessage* message : set->messages)
                byGuid.insert(message->guid, message);
            QCOMPARE(byGuid.size(), generated.size());
            for (const _MsgMessage* want : generated) {
                const _MsgMessage* got = byGuid.value(want->guid);
                QVERIFY2(got && got->chat, qPrintable(want->guid));
                QCOMPARE(got->text, want->text);
                QCOMPARE(displayText(*got), displayText(*want));
                QCOMPARE(got->date, want->date);
                QCOMPARE(got->is_from_me, want->is_from_me);
                QCOMPARE(got->country(), want->country());
                QCOMPARE(got->item_type, want->item_type);
                QCOMPARE(logicHash(*got), logicHash(*want));
                QCOMPARE(got->chat->guid, want->chat->guid);
                QCOMPARE(got->chat->display_name, want->chat->display_name);
                QCOMPARE(got->chat->participants.size(), want->chat->participants.size());
                QCOMPARE(got->handle ? got->handle->id : QString(),
                         want->handle ? want->handle->id : QString());
                QCOMPARE(got->handle ? got->handle->_ct_name : QString(),
                         want->handle ? want->handle->_ct_name : QString());
            }
        }
    }

private:
    QDir folder() const { return QDir(dir->filePath(QStringLiteral("db"))); }
    std::unique_ptr<IOS6MessageDb> openDb()
    {
        auto db = std::make_unique<IOS6MessageDb>(folder(), QString());
        db->open();
        return db;
    }
    qint64 scalarOf(const QString& sql) { return scalar(*openDb(), sql); }
    QString textOf(const QString& sql) { return column(*openDb(), sql).value(0); }
    void writeAttachment(const QString& filename, const QByteArray& bytes)
    {
        const QString source = dir->filePath(QStringLiteral("source.bin"));
        writeBytes(source, bytes);
        Records r;
        _MsgHandle* ann = r.handle(QStringLiteral("+447700900001"));
        _MsgMessage* message = r.message(r.singleChat(ann), ann, 100, false, QStringLiteral("photo"));
        auto* attachment = new _MsgAttachment;
        attachment->guid = QStringLiteral("att-1");
        attachment->filename = filename;
        attachment->sourcePath = source;
        r.set.attachments.insert(1, attachment);
        message->attachments.insert(1, attachment);
        writeMessages(folder(), {message});
        QVERIFY(QFile::remove(source));
        QCOMPARE(scalarOf(QStringLiteral("select count(*) from message_attachment_join")), 1);
    }

    // Every file below the test folder except the database file itself.
    QStringList filesWritten() const
    {
        QStringList files;
        QDirIterator it(dir->path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.endsWith(QLatin1String("/sms.db")) && !path.contains(QLatin1String("/sms.db-")))
                files.append(QDir(dir->path()).relativeFilePath(path));
        }
        return files;
    }

    TestHome home;
    std::unique_ptr<QTemporaryDir> dir;
};

QTEST_GUILESS_MAIN(TestExportMessagesDb)
#include "tst_exportmessagesdb.moc"
