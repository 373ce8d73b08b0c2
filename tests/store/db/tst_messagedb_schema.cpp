// The message database file: the schema of a new file, its triggers, the
// upgrade of older files, and the files it refuses without changing them.
#include "tests/kit/StoreTestKit.h"

#include "store/IOS6MessageDb.h"
#include "store/MessageColumns.h"
#include "tests/kit/ReadOnlyFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace StoreTestKit;

namespace {
// One chat holding one message, "hello".
const char kOneMessage[] = "insert into chat(ROWID, guid) values(1, 'SMS;-;+1');"
                           "insert into message(ROWID, guid, text, date) values(1, 'g1', 'hello', 5);"
                           "insert into chat_message_join values(1, 1)";
} // namespace

class TestMessageDbSchema : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        db.reset();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        db = std::make_unique<IOS6MessageDb>(folder(), QString());
    }

    void newFileSchemaObjects()
    {
        db->open();
        QVERIFY(QFile::exists(dir->filePath(QStringLiteral("file-relay/var/mobile/Library/SMS/sms.db"))));
        const QStringList tables = {"attachment", "chat",    "chat_handle_join",        "chat_message_join",
                                    "handle",     "message", "message_attachment_join", "sqlite_sequence"};
        QCOMPARE(objects(QStringLiteral("table")), tables);
        QCOMPARE(objects(QStringLiteral("index")),
                 QStringList({"chat_idx_identifier", "chat_idx_last", "chat_message_join_idx_message_id",
                              "message_idx_handle", "message_idx_logic_hash"}));
        QCOMPARE(objects(QStringLiteral("trigger")),
                 QStringList({"clean_orphaned_attachments", "clean_orphaned_handles",
                              "clean_orphaned_handles2", "clean_orphaned_messages",
                              "clear_message_has_attachments", "set_message_has_attachments"}));
        QCOMPARE(objects(QStringLiteral("view")), QStringList());
        for (const QString& table : tables)
            QCOMPARE(db->tableCreateSql(table), objectSql(table));
        QVERIFY(db->tableCreateSql(QStringLiteral("message_idx_handle")).isEmpty());
        QCOMPARE(objectSql(QStringLiteral("clean_orphaned_messages")),
                 IOS6MessageDb::orphanedMessagesTriggerSql());
        // The functions a phone's own triggers call exist and do nothing.
        QCOMPARE(scalar(*db, QStringLiteral("select delete_attachment_path('a') + "
                                            "before_delete_attachment_path(1, 'g') + 7")),
                 7);
    }

    void newFileColumns_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columns"); // name type, NN: not null, =x: default, PKn: n-th key column
        QTest::newRow("message")
            << "message"
            << "ROWID INTEGER PK1, guid TEXT NN, text TEXT, replace INTEGER =0, service_center TEXT, "
               "handle_id INTEGER =0, subject TEXT, country TEXT, attributedBody BLOB, "
               "version INTEGER =0, type INTEGER =0, service TEXT, account TEXT, account_guid TEXT, "
               "error INTEGER =0, date INTEGER, date_read INTEGER, date_delivered INTEGER, "
               "is_delivered INTEGER =0, is_finished INTEGER =0, is_emote INTEGER =0, "
               "is_from_me INTEGER =0, is_empty INTEGER =0, is_delayed INTEGER =0, "
               "is_auto_reply INTEGER =0, is_prepared INTEGER =0, is_read INTEGER =0, "
               "is_system_message INTEGER =0, is_sent INTEGER =0, has_dd_results INTEGER =0, "
               "is_service_message INTEGER =0, is_forward INTEGER =0, was_downgraded INTEGER =0, "
               "is_archive INTEGER =0, cache_has_attachments INTEGER =0, cache_roomnames TEXT, "
               "was_data_detected INTEGER =0, was_deduplicated INTEGER =0, is_audio_message INTEGER =0, "
               "is_played INTEGER =0, date_played INTEGER, item_type INTEGER =0, "
               "other_handle INTEGER =-1, group_title TEXT, group_action_type INTEGER =0, "
               "share_status INTEGER, share_direction INTEGER, is_expirable INTEGER =0, "
               "expire_state INTEGER =0, message_action_type INTEGER =0, logic_hash TEXT";
        QTest::newRow("handle") << "handle"
                                << "ROWID INTEGER PK1, id TEXT NN, country TEXT, service TEXT NN, "
                                   "uncanonicalized_id TEXT, _ct_name TEXT, _photo BLOB";
        QTest::newRow("chat")
            << "chat"
            << "ROWID INTEGER PK1, guid TEXT NN, style INTEGER, state INTEGER, account_id TEXT, "
               "properties BLOB, chat_identifier TEXT, service_name TEXT, room_name TEXT, "
               "account_login TEXT, is_archived INTEGER =0, last_addressed_handle TEXT, "
               "display_name TEXT, group_id TEXT, _last INTEGER =0";
        QTest::newRow("attachment") << "attachment"
                                    << "ROWID INTEGER PK1, guid TEXT NN, created_date INTEGER =0, "
                                       "start_date INTEGER =0, filename TEXT, uti TEXT, mime_type TEXT, "
                                       "transfer_state INTEGER =0, is_outgoing INTEGER =0, user_info BLOB, "
                                       "transfer_name TEXT, total_bytes INTEGER =0";
        QTest::newRow("chat_handle_join") << "chat_handle_join"
                                          << "chat_id INTEGER, handle_id INTEGER";
        QTest::newRow("chat_message_join") << "chat_message_join"
                                           << "chat_id INTEGER PK1, message_id INTEGER PK2";
        QTest::newRow("message_attachment_join") << "message_attachment_join"
                                                 << "message_id INTEGER, attachment_id INTEGER";
    }

    void newFileColumns()
    {
        QFETCH(QString, table);
        QFETCH(QString, columns);
        db->open();
        const QStringList described = column(
            *db,
            QStringLiteral(
                "select name || ' ' || type || iif(\"notnull\", ' NN', '') || "
                "ifnull(' =' || dflt_value, '') || iif(pk, ' PK' || pk, '') from pragma_table_info('%1')")
                .arg(table));
        QCOMPARE(described.join(QStringLiteral(", ")), columns);
    }

    // The column table and the schema script name the same message columns
    // in the same order; the columns older files lack are optional ones, and
    // the upgrade adds them in the table's order.
    void columnTableMatchesSchema()
    {
        db->open();
        QStringList names{QStringLiteral("ROWID")};
        QStringList optional;
        int lastStep = 0;
        for (const MessageColumn& messageColumn : messageColumns()) {
            names << messageColumn.name;
            if (!messageColumn.isOptional())
                continue;
            optional << messageColumn.name;
            QVERIFY2(messageColumn.upgrade.line > lastStep, qPrintable(messageColumn.name));
            lastStep = messageColumn.upgrade.line;
        }
        QCOMPARE(names, column(*db, QStringLiteral("select name from pragma_table_info('message')")));
        for (const QString& later : laterMessageColumns())
            QVERIFY2(optional.contains(later), qPrintable(later));
    }

    void triggersDeleteOrphans()
    {
        db->open();
        QString error;
        QCOMPARE(
            db->exec(QStringLiteral(
                         "insert into handle(ROWID, id, service) values(7, '+1', 'SMS'), (8, '+2', 'SMS');"
                         "insert into chat_handle_join values(1, 8);"
                         "insert into message(ROWID, guid, handle_id) values(10, 'a', 7), (11, 'b', 7), "
                         "(12, 'c', 8), (20, 'never joined', 7);"
                         "insert into chat_message_join values(1, 10), (2, 10), (1, 11), (1, 12);"),
                     error),
            0);
        const auto rows = [this](const char* table) {
            return column(*db,
                          QStringLiteral("select group_concat(ROWID) from (select ROWID from %1 order by 1)")
                              .arg(QLatin1String(table)))
                .value(0);
        };
        db->executeThrow(QStringLiteral("delete from chat_message_join where chat_id=2"));
        QCOMPARE(rows("message"), QStringLiteral("10,11,12,20")); // 10 is still in chat 1
        db->executeThrow(QStringLiteral("delete from chat_message_join where message_id=10"));
        // Only the message whose join row went is examined, not every unjoined one.
        QCOMPARE(rows("message"), QStringLiteral("11,12,20"));
        db->executeThrow(QStringLiteral("delete from message where ROWID=20"));
        QCOMPARE(rows("handle"), QStringLiteral("7,8")); // message 11 still refers to 7
        db->executeThrow(QStringLiteral("delete from chat_message_join"));
        QCOMPARE(rows("message"), QString());
        QCOMPARE(rows("handle"), QStringLiteral("8")); // still a participant of chat 1
    }

    void upgradesOlderFile_data()
    {
        QTest::addColumn<QString>("extra");
        QTest::addColumn<bool>("logicHashIndex");
        QTest::newRow("older file") << QString() << true;
        QTest::newRow("logic_hash without index")
            << "ALTER TABLE message ADD COLUMN logic_hash TEXT" << false;
        QTest::newRow("column name in other case")
            << "ALTER TABLE message ADD COLUMN Logic_Hash TEXT" << false;
    }

    // Reading leaves an older file exactly as it was; the first write brings
    // it up to date.
    void upgradesOlderFile()
    {
        QFETCH(QString, extra);
        QFETCH(bool, logicHashIndex);
        makeOlderFile(folder(),
                      QStringList{kOneMessage} + (extra.isEmpty() ? QStringList() : QStringList{extra}));
        const QByteArray older = fileBytes(path());
        MessageSet set;
        db->readMessages(set, 0);
        QCOMPARE(set.messages.value(1)->text, QStringLiteral("hello"));
        db->close();
        QCOMPARE(fileBytes(path()), older);

        db->openForWriting();
        const QStringList message =
            column(*db, QStringLiteral("select lower(name) from pragma_table_info('message')"));
        for (const QString& added : laterMessageColumns())
            QCOMPARE(message.count(added), 1);
        QVERIFY(
            column(*db, QStringLiteral("select name from pragma_table_info('chat')")).contains("group_id"));
        QCOMPARE(objects(QStringLiteral("index")).contains(QStringLiteral("message_idx_logic_hash")),
                 logicHashIndex);
        QCOMPARE(objectSql(QStringLiteral("clean_orphaned_messages")),
                 IOS6MessageDb::orphanedMessagesTriggerSql());
        // The write path reads the table texts after the upgrade.
        QVERIFY(db->tableCreateSql(QStringLiteral("message")).contains(QLatin1String("item_type")));

        // Opened again, the file stays as it is: chat in particular gains no _last.
        db->close();
        const QByteArray upgraded = fileBytes(path());
        db->openForWriting();
        QVERIFY(!column(*db, QStringLiteral("select name from pragma_table_info('chat')")).contains("_last"));
        db->close();
        QCOMPARE(fileBytes(path()), upgraded);
    }

    void readOnlyFileIsReadNotWritten_data()
    {
        QTest::addColumn<bool>("older");
        QTest::newRow("older layout and trigger") << true;
        QTest::newRow("current layout") << false;
    }

    void readOnlyFileIsReadNotWritten()
    {
        QFETCH(bool, older);
        if (older) {
            makeOlderFile(folder(), {kOneMessage});
        } else {
            db->open();
            QString error;
            QCOMPARE(db->exec(QString::fromLatin1(kOneMessage), error), 0);
            db->close();
        }
        const QByteArray before = fileBytes(path());
        const ReadOnlyFile readOnly(path());
        if (!readOnly.holds())
        QSKIP("this process cannot make a file read-only for itself");
        MessageSet set;
        db->readMessages(set, 0);
        QCOMPARE(set.messages.value(1)->text, QStringLiteral("hello"));
        QString text;
        try {
            db->beginTransaction();
        } catch (const std::exception& e) {
            text = QString::fromUtf8(e.what());
        }
        QVERIFY2(text.contains(QStringLiteral("is read-only")), qPrintable(text));
        db->close();
        QCOMPARE(fileBytes(path()), before);
    }

    void refusesOtherFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expectedText");
        QTest::newRow("not SQLite") << "text"
                                    << "not a database";
        QTest::newRow("truncated") << "truncated"
                                   << "sms.db";
        QTest::newRow("empty file") << "empty"
                                    << "missing table: message, handle, chat";
        QTest::newRow("no chat table") << "DROP TABLE chat"
                                       << "missing table: chat";
    }

    void refusesOtherFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QString, expectedText);
        if (kind == QLatin1String("text")) {
            writeBytes(path(), QByteArray("Textferry message export\n").repeated(400));
        } else if (kind == QLatin1String("truncated")) {
            db->open();
            db->close();
            writeBytes(path(), fileBytes(path()).left(1000));
        } else if (kind == QLatin1String("empty")) {
            writeBytes(path(), QByteArray());
        } else {
            makeOlderFile(folder(), {kind});
        }
        const QByteArray before = fileBytes(path());
        for (int attempt = 0; attempt < 2; ++attempt) { // refused again rather than taken as open
            QString text;
            try {
                db->open();
            } catch (const std::exception& e) {
                text = QString::fromUtf8(e.what());
            }
            QVERIFY2(text.contains(expectedText), qPrintable(text));
            QVERIFY(!db->isOpen());
            QCOMPARE(fileBytes(path()), before);
        }
        // Once the file is gone, the next open creates a new one.
        QVERIFY(QFile::remove(path()));
        db->open();
        QCOMPARE(objects(QStringLiteral("table")).size(), 8);
    }

private:
    QDir folder() const { return QDir(dir->path()); }
    QString path() const { return IOS6MessageDb(folder(), QString()).databasePath(); }
    QStringList objects(const QString& type)
    {
        return column(*db, QStringLiteral("select name from sqlite_master where type='%1' and name not like "
                                          "'sqlite_autoindex%' order by name")
                               .arg(type));
    }
    QString objectSql(const QString& name)
    {
        return column(*db, QStringLiteral("select sql from sqlite_master where name='%1'").arg(name))
            .value(0);
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<IOS6MessageDb> db;
};

QTEST_GUILESS_MAIN(TestMessageDbSchema)
#include "tst_messagedb_schema.moc"
