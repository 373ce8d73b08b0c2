// A new message database: its file, tables, columns, indexes, triggers and
// SQL functions, and what the triggers do when rows are deleted.
#include "MessageDbTestFiles.h"

#include "store/IOS6MessageDb.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace MessageDbTestFiles;

namespace {

const QStringList kTables = {"attachment", "chat",    "chat_handle_join",        "chat_message_join",
                             "handle",     "message", "message_attachment_join", "sqlite_sequence"};

// "name TYPE", then " NN" for NOT NULL, " =x" for DEFAULT x, " PKn" for the
// n-th primary key column.
QStringList describedColumns(Sqlite3DB& db, const QString& table)
{
    QStringList columns;
    Sqlite3Cursor c = db.queryThrow(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    while (c.moveNext()) {
        QString text =
            c.getText(QStringLiteral("name")) + QLatin1Char(' ') + c.getText(QStringLiteral("type"));
        if (c.getInt(QStringLiteral("notnull")))
            text += QStringLiteral(" NN");
        if (!c.isNull(QStringLiteral("dflt_value")))
            text += QStringLiteral(" =") + c.getText(QStringLiteral("dflt_value"));
        if (c.getInt(QStringLiteral("pk")))
            text += QStringLiteral(" PK%1").arg(c.getInt(QStringLiteral("pk")));
        columns.append(text);
    }
    return columns;
}

// Each unique index of a table as its column list, sorted.
QStringList uniqueColumnSets(Sqlite3DB& db, const QString& table)
{
    QStringList sets;
    Sqlite3Cursor list = db.queryThrow(QStringLiteral("PRAGMA index_list(%1)").arg(table));
    while (list.moveNext()) {
        if (!list.getInt(QStringLiteral("unique")))
            continue;
        Sqlite3Cursor info =
            db.queryThrow(QStringLiteral("PRAGMA index_info(%1)").arg(list.getText(QStringLiteral("name"))));
        QStringList columns;
        while (info.moveNext())
            columns.append(info.getText(QStringLiteral("name")));
        sets.append(columns.join(QLatin1Char(',')));
    }
    std::sort(sets.begin(), sets.end());
    return sets;
}

QStringList indexColumns(Sqlite3DB& db, const QString& index)
{
    QStringList columns;
    Sqlite3Cursor info = db.queryThrow(QStringLiteral("PRAGMA index_info(%1)").arg(index));
    while (info.moveNext())
        columns.append(info.getText(QStringLiteral("name")));
    return columns;
}

QStringList flagColumns()
{
    QStringList flags;
    for (const char* name :
         {"is_delivered", "is_finished", "is_emote", "is_from_me", "is_empty", "is_delayed", "is_auto_reply",
          "is_prepared", "is_read", "is_system_message", "is_sent", "has_dd_results", "is_service_message",
          "is_forward", "was_downgraded", "is_archive", "cache_has_attachments"})
        flags.append(QLatin1String(name) + QStringLiteral(" INTEGER =0"));
    return flags;
}

} // namespace

class TestMessageDbSchema : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void createsFileInFolderTree();
    void schemaObjects();
    void columns_data();
    void columns();
    void uniqueConstraints();
    void namedIndexColumns();
    void foreignKeys();
    void tableSqlHoldsEveryTable();
    void scriptTriggerEqualsConstant();
    void sqlFunctionsReturnZero();
    void reopenKeepsData();

    void deletingLastJoinRowDeletesMessageThenHandle();
    void messageInTwoChatsStaysUntilLastJoinRow();
    void joinRowDeletionLeavesOtherOrphansAlone();
    void handleKeptWhileChatRefersToIt();
    void chatHandleJoinDeletionCleansHandle();
    void attachmentTriggers();

private:
    void exec(const QString& sql) { db->executeThrow(sql); }
    qint64 count(const QString& sql) { return scalar(*db, sql); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<IOS6MessageDb> db;
};

void TestMessageDbSchema::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    db = std::make_unique<IOS6MessageDb>(QDir(dir->path()), QString());
    db->open();
}

void TestMessageDbSchema::cleanup()
{
    db.reset();
    dir.reset();
}

void TestMessageDbSchema::createsFileInFolderTree()
{
    const QString path = dir->path() + QStringLiteral("/file-relay/var/mobile/Library/SMS/sms.db");
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(db->databasePath()).absoluteFilePath(), QFileInfo(path).absoluteFilePath());
    QVERIFY(db->isOpen());
    QCOMPARE(db->version(), 6);
}

void TestMessageDbSchema::schemaObjects()
{
    QCOMPARE(objectNames(*db, QStringLiteral("table")), kTables);
    QCOMPARE(objectNames(*db, QStringLiteral("index")),
             QStringList({"chat_idx_identifier", "chat_idx_last", "chat_message_join_idx_message_id",
                          "message_idx_handle", "message_idx_logic_hash"}));
    QCOMPARE(objectNames(*db, QStringLiteral("trigger")),
             QStringList({"clean_orphaned_attachments", "clean_orphaned_handles", "clean_orphaned_handles2",
                          "clean_orphaned_messages", "clear_message_has_attachments",
                          "set_message_has_attachments"}));
    QCOMPARE(objectNames(*db, QStringLiteral("view")), QStringList());
    // The row id keys count up and never reuse a deleted row's id.
    for (const char* table : {"message", "handle", "chat", "attachment"})
        QVERIFY2(objectSql(*db, QLatin1String(table)).contains(QLatin1String("AUTOINCREMENT")), table);
}

void TestMessageDbSchema::columns_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("message")
        << "message"
        << (QStringList{"ROWID INTEGER PK1", "guid TEXT NN", "text TEXT", "replace INTEGER =0",
                        "service_center TEXT", "handle_id INTEGER =0", "subject TEXT", "country TEXT",
                        "attributedBody BLOB", "version INTEGER =0", "type INTEGER =0", "service TEXT",
                        "account TEXT", "account_guid TEXT", "error INTEGER =0", "date INTEGER",
                        "date_read INTEGER", "date_delivered INTEGER"} +
            flagColumns() +
            QStringList{"cache_roomnames TEXT", "was_data_detected INTEGER =0", "was_deduplicated INTEGER =0",
                        "is_audio_message INTEGER =0", "is_played INTEGER =0", "date_played INTEGER",
                        "item_type INTEGER =0", "other_handle INTEGER =-1", "group_title TEXT",
                        "group_action_type INTEGER =0", "share_status INTEGER", "share_direction INTEGER",
                        "is_expirable INTEGER =0", "expire_state INTEGER =0",
                        "message_action_type INTEGER =0", "logic_hash TEXT"});
    QTest::newRow("handle")
        << "handle"
        << QStringList{"ROWID INTEGER PK1",       "id TEXT NN",    "country TEXT", "service TEXT NN",
                       "uncanonicalized_id TEXT", "_ct_name TEXT", "_photo BLOB"};
    QTest::newRow("chat") << "chat" << QStringList{"ROWID INTEGER PK1",      "guid TEXT NN",
                                                   "style INTEGER",          "state INTEGER",
                                                   "account_id TEXT",        "properties BLOB",
                                                   "chat_identifier TEXT",   "service_name TEXT",
                                                   "room_name TEXT",         "account_login TEXT",
                                                   "is_archived INTEGER =0", "last_addressed_handle TEXT",
                                                   "display_name TEXT",      "group_id TEXT",
                                                   "_last INTEGER =0"};
    QTest::newRow("attachment") << "attachment"
                                << QStringList{"ROWID INTEGER PK1",       "guid TEXT NN",
                                               "created_date INTEGER =0", "start_date INTEGER =0",
                                               "filename TEXT",           "uti TEXT",
                                               "mime_type TEXT",          "transfer_state INTEGER =0",
                                               "is_outgoing INTEGER =0",  "user_info BLOB",
                                               "transfer_name TEXT",      "total_bytes INTEGER =0"};
    QTest::newRow("chat_handle_join")
        << "chat_handle_join" << QStringList{"chat_id INTEGER", "handle_id INTEGER"};
    QTest::newRow("chat_message_join")
        << "chat_message_join" << QStringList{"chat_id INTEGER PK1", "message_id INTEGER PK2"};
    QTest::newRow("message_attachment_join")
        << "message_attachment_join" << QStringList{"message_id INTEGER", "attachment_id INTEGER"};
}

void TestMessageDbSchema::columns()
{
    QFETCH(QString, table);
    QFETCH(QStringList, expected);
    QCOMPARE(describedColumns(*db, table), expected);
}

void TestMessageDbSchema::uniqueConstraints()
{
    QCOMPARE(uniqueColumnSets(*db, QStringLiteral("message")), QStringList({"guid"}));
    QCOMPARE(uniqueColumnSets(*db, QStringLiteral("handle")), QStringList({"ROWID", "id,service"}));
    QCOMPARE(uniqueColumnSets(*db, QStringLiteral("chat")), QStringList({"guid"}));
    QCOMPARE(uniqueColumnSets(*db, QStringLiteral("attachment")), QStringList({"guid"}));
    QCOMPARE(uniqueColumnSets(*db, QStringLiteral("chat_handle_join")), QStringList({"chat_id,handle_id"}));
    QCOMPARE(uniqueColumnSets(*db, QStringLiteral("chat_message_join")), QStringList({"chat_id,message_id"}));
    QCOMPARE(uniqueColumnSets(*db, QStringLiteral("message_attachment_join")),
             QStringList({"message_id,attachment_id"}));
}

void TestMessageDbSchema::namedIndexColumns()
{
    QCOMPARE(indexColumns(*db, QStringLiteral("message_idx_handle")), QStringList({"handle_id", "date"}));
    QCOMPARE(indexColumns(*db, QStringLiteral("message_idx_logic_hash")), QStringList({"logic_hash"}));
    QCOMPARE(indexColumns(*db, QStringLiteral("chat_idx_last")), QStringList({"_last"}));
    QCOMPARE(indexColumns(*db, QStringLiteral("chat_idx_identifier")), QStringList({"chat_identifier"}));
    QCOMPARE(indexColumns(*db, QStringLiteral("chat_message_join_idx_message_id")),
             QStringList({"message_id", "chat_id"}));
}

void TestMessageDbSchema::foreignKeys()
{
    const auto keys = [this](const QString& table) {
        QStringList list;
        Sqlite3Cursor c = db->queryThrow(QStringLiteral("PRAGMA foreign_key_list(%1)").arg(table));
        while (c.moveNext()) {
            list.append(QStringLiteral("%1->%2(%3) %4")
                            .arg(c.getText(QStringLiteral("from")), c.getText(QStringLiteral("table")),
                                 c.getText(QStringLiteral("to")), c.getText(QStringLiteral("on_delete"))));
        }
        std::sort(list.begin(), list.end());
        return list;
    };
    QCOMPARE(keys(QStringLiteral("chat_handle_join")),
             QStringList({"chat_id->chat(ROWID) CASCADE", "handle_id->handle(ROWID) CASCADE"}));
    QCOMPARE(keys(QStringLiteral("chat_message_join")),
             QStringList({"chat_id->chat(ROWID) CASCADE", "message_id->message(ROWID) CASCADE"}));
    QCOMPARE(keys(QStringLiteral("message_attachment_join")),
             QStringList({"attachment_id->attachment(ROWID) CASCADE", "message_id->message(ROWID) CASCADE"}));
}

void TestMessageDbSchema::tableSqlHoldsEveryTable()
{
    for (const QString& table : kTables) {
        QVERIFY2(!db->tableCreateSql(table).isEmpty(), qPrintable(table));
        QCOMPARE(db->tableCreateSql(table), objectSql(*db, table));
    }
    QVERIFY(db->tableCreateSql(QStringLiteral("message_idx_handle")).isEmpty());
    QVERIFY(db->tableCreateSql(QStringLiteral("clean_orphaned_messages")).isEmpty());
    // The texts the readers and writers search in.
    QVERIFY(db->tableCreateSql(QStringLiteral("chat")).contains(QLatin1String("_last INTEGER")));
    QVERIFY(db->tableCreateSql(QStringLiteral("handle")).contains(QLatin1String("_ct_name TEXT")));
    QVERIFY(db->tableCreateSql(QStringLiteral("handle")).contains(QLatin1String("_photo BLOB")));
}

void TestMessageDbSchema::scriptTriggerEqualsConstant()
{
    QCOMPARE(objectSql(*db, QStringLiteral("clean_orphaned_messages")),
             IOS6MessageDb::orphanedMessagesTriggerSql());
    // Opening the new file again leaves the trigger as the script made it.
    db->close();
    db->open();
    QCOMPARE(objectSql(*db, QStringLiteral("clean_orphaned_messages")),
             IOS6MessageDb::orphanedMessagesTriggerSql());
}

void TestMessageDbSchema::sqlFunctionsReturnZero()
{
    Sqlite3Cursor c = db->queryThrow(QStringLiteral(
        "select delete_attachment_path('a/b.jpg') as a, before_delete_attachment_path(5, 'g') as b, "
        "delete_attachment_path(NULL) as c"));
    QVERIFY(c.moveNext());
    QCOMPARE(c.getInt64(0), 0);
    QCOMPARE(c.getInt64(1), 0);
    QCOMPARE(c.getInt64(2), 0);
    QVERIFY(!c.isNull(0));
    // The argument counts are part of the functions' names.
    QVERIFY_THROWS_EXCEPTION(std::exception,
                             db->queryThrow(QStringLiteral("select delete_attachment_path(1, 2)")));
}

void TestMessageDbSchema::reopenKeepsData()
{
    exec(QStringLiteral("insert into chat(guid) values('SMS;-;+1')"));
    db->open(); // already open: nothing happens
    db->close();
    QVERIFY(!db->isOpen());
    QVERIFY(db->tableCreateSql(QStringLiteral("chat")).startsWith(QLatin1String("CREATE TABLE chat")));

    IOS6MessageDb again{QDir(dir->path()), QString()};
    again.open();
    QCOMPARE(scalar(again, QStringLiteral("select count(*) from chat")), 1);
    QCOMPARE(objectNames(again, QStringLiteral("table")), kTables);
}

void TestMessageDbSchema::deletingLastJoinRowDeletesMessageThenHandle()
{
    exec(QStringLiteral("insert into handle(ROWID, id, service) values(7, '+1', 'SMS')"));
    exec(QStringLiteral("insert into chat(ROWID, guid) values(1, 'c1')"));
    exec(QStringLiteral("insert into message(ROWID, guid, handle_id) values(10, 'm10', 7)"));
    exec(QStringLiteral("insert into chat_message_join values(1, 10)"));

    exec(QStringLiteral("delete from chat_message_join where message_id=10"));
    QCOMPARE(count(QStringLiteral("select count(*) from message")), 0);
    QCOMPARE(count(QStringLiteral("select count(*) from handle")), 0);
    QCOMPARE(count(QStringLiteral("select count(*) from chat")), 1);
}

void TestMessageDbSchema::messageInTwoChatsStaysUntilLastJoinRow()
{
    exec(QStringLiteral("insert into handle(ROWID, id, service) values(7, '+1', 'SMS')"));
    exec(QStringLiteral("insert into message(ROWID, guid, handle_id) values(10, 'm10', 7)"));
    exec(QStringLiteral("insert into message(ROWID, guid, handle_id) values(11, 'm11', 7)"));
    exec(QStringLiteral("insert into chat_message_join values(1, 10), (2, 10), (1, 11)"));

    exec(QStringLiteral("delete from chat_message_join where chat_id=1 and message_id=10"));
    QCOMPARE(count(QStringLiteral("select count(*) from message where ROWID=10")), 1);
    exec(QStringLiteral("delete from chat_message_join where chat_id=2 and message_id=10"));
    QCOMPARE(count(QStringLiteral("select count(*) from message where ROWID=10")), 0);
    // Message 11 still refers to the handle.
    QCOMPARE(count(QStringLiteral("select count(*) from handle where ROWID=7")), 1);
    exec(QStringLiteral("delete from chat_message_join where message_id=11"));
    QCOMPARE(count(QStringLiteral("select count(*) from handle")), 0);
}

void TestMessageDbSchema::joinRowDeletionLeavesOtherOrphansAlone()
{
    // A message that never had a join row is not the deleted row's message.
    exec(QStringLiteral("insert into message(ROWID, guid) values(10, 'm10'), (20, 'loose')"));
    exec(QStringLiteral("insert into chat_message_join values(1, 10)"));
    exec(QStringLiteral("delete from chat_message_join where message_id=10"));
    QCOMPARE(count(QStringLiteral("select group_concat(ROWID) from message")), 20);
}

void TestMessageDbSchema::handleKeptWhileChatRefersToIt()
{
    exec(QStringLiteral("insert into handle(ROWID, id, service) values(7, '+1', 'SMS')"));
    exec(QStringLiteral("insert into chat_handle_join values(1, 7)"));
    exec(QStringLiteral("insert into message(ROWID, guid, handle_id) values(10, 'm10', 7)"));
    exec(QStringLiteral("insert into chat_message_join values(1, 10)"));
    exec(QStringLiteral("delete from message where ROWID=10"));
    QCOMPARE(count(QStringLiteral("select count(*) from handle")), 1);
}

void TestMessageDbSchema::chatHandleJoinDeletionCleansHandle()
{
    exec(QStringLiteral("insert into handle(ROWID, id, service) values(7, '+1', 'SMS'), (8, '+2', 'SMS')"));
    exec(QStringLiteral("insert into chat_handle_join values(1, 7), (2, 7), (1, 8)"));
    exec(QStringLiteral("insert into message(ROWID, guid, handle_id) values(10, 'm10', 8)"));

    exec(QStringLiteral("delete from chat_handle_join where chat_id=1"));
    // 7 is still in chat 2, 8 is still the handle of message 10.
    QCOMPARE(count(QStringLiteral("select count(*) from handle")), 2);
    exec(QStringLiteral("delete from chat_handle_join"));
    QCOMPARE(count(QStringLiteral("select group_concat(ROWID) from handle")), 8);
}

void TestMessageDbSchema::attachmentTriggers()
{
    exec(QStringLiteral("insert into message(ROWID, guid) values(10, 'm10'), (11, 'm11')"));
    exec(QStringLiteral("insert into attachment(ROWID, guid) values(1, 'a1'), (2, 'a2')"));
    exec(QStringLiteral("insert into message_attachment_join values(10, 1), (10, 2), (11, 2)"));
    QCOMPARE(count(QStringLiteral("select sum(cache_has_attachments) from message")), 2);

    exec(QStringLiteral("delete from message_attachment_join where message_id=10 and attachment_id=1"));
    QCOMPARE(count(QStringLiteral("select group_concat(ROWID) from attachment")), 2);
    QCOMPARE(count(QStringLiteral("select cache_has_attachments from message where ROWID=10")), 1);

    exec(QStringLiteral("delete from message_attachment_join where message_id=10"));
    QCOMPARE(count(QStringLiteral("select cache_has_attachments from message where ROWID=10")), 0);
    QCOMPARE(count(QStringLiteral("select count(*) from attachment")), 1); // message 11 still uses it

    exec(QStringLiteral("delete from message_attachment_join where message_id=11"));
    QCOMPARE(count(QStringLiteral("select count(*) from attachment")), 0);
    QCOMPARE(count(QStringLiteral("select cache_has_attachments from message where ROWID=11")), 0);
}

QTEST_GUILESS_MAIN(TestMessageDbSchema)
#include "tst_messagedb_schema.moc"
