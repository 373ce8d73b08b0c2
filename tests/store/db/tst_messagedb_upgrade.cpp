// Opening existing files: older layouts are brought up to date, the orphan
// trigger is replaced, and files that are not message databases are refused
// without being changed.
#include "MessageDbTestFiles.h"

#include "store/IOS6MessageDb.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace MessageDbTestFiles;

namespace {

const QStringList kAddedMessageColumns = {
    "item_type",       "other_handle", "group_title",  "group_action_type",   "share_status",
    "share_direction", "is_expirable", "expire_state", "message_action_type", "logic_hash"};

QString exceptionText(IOS6MessageDb& db)
{
    try {
        db.open();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

} // namespace

class TestMessageDbUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void oldFileGainsColumnsAndIndex();
    void existingRowsTakeColumnDefaults();
    void logicHashWithoutIndexGetsNoIndex();
    void columnNamesCompareWithoutCase();
    void fileWithoutLastStaysWithout();
    void oldTriggerIsReplaced();
    void missingTriggerIsCreated();
    void secondOpenChangesNothing();

    void refusedFiles_data();
    void refusedFiles();
    void failedOpenRetriesNextTime();
    void failedUpgradeStatementNamesItsRow();
    void failedLogicHashIndexIsRow164();
    void blockedFolderFailsCreation();

private:
    QString path() const { return smsDbPath(QDir(dir->path())); }
    std::unique_ptr<QTemporaryDir> dir;
};

void TestMessageDbUpgrade::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestMessageDbUpgrade::cleanup()
{
    dir.reset();
}

void TestMessageDbUpgrade::oldFileGainsColumnsAndIndex()
{
    makeRawDb(path(), oldStyleSchema());
    IOS6MessageDb db{QDir(dir->path()), QString()};
    db.open();

    const QStringList message = columnNames(db, QStringLiteral("message"));
    QCOMPARE(message.mid(message.size() - kAddedMessageColumns.size()), kAddedMessageColumns);
    QVERIFY(message.contains(QLatin1String("is_audio_message")));
    QCOMPARE(columnNames(db, QStringLiteral("chat")).last(), QStringLiteral("group_id"));
    QVERIFY(!columnNames(db, QStringLiteral("chat")).contains(QLatin1String("_last")));
    QVERIFY(!columnNames(db, QStringLiteral("handle")).contains(QLatin1String("_ct_name")));
    QVERIFY(!columnNames(db, QStringLiteral("handle")).contains(QLatin1String("_photo")));
    QVERIFY(!columnNames(db, QStringLiteral("attachment")).contains(QLatin1String("user_info")));
    QCOMPARE(objectNames(db, QStringLiteral("index")),
             QStringList({"message_idx_handle", "message_idx_logic_hash"}));

    // tableSql is read after the upgrade, so the write path sees the new columns.
    QVERIFY(db.tableCreateSql(QStringLiteral("message")).contains(QLatin1String("logic_hash")));
    QVERIFY(db.tableCreateSql(QStringLiteral("message")).contains(QLatin1String("item_type")));
    QVERIFY(db.tableCreateSql(QStringLiteral("chat")).contains(QLatin1String("group_id")));
    QVERIFY(!db.tableCreateSql(QStringLiteral("chat")).contains(QLatin1String("_last"), Qt::CaseInsensitive));
    QVERIFY(!db.tableCreateSql(QStringLiteral("handle")).contains(QLatin1String("_ct_name")));
}

void TestMessageDbUpgrade::existingRowsTakeColumnDefaults()
{
    QStringList schema = oldStyleSchema();
    schema << QStringLiteral("insert into message(guid, text, date) values('m1', 'hello', 5)");
    makeRawDb(path(), schema);
    IOS6MessageDb db{QDir(dir->path()), QString()};
    db.open();
    Sqlite3Cursor c = db.queryThrow(QStringLiteral("select * from message"));
    QVERIFY(c.moveNext());
    QCOMPARE(c.getText(QStringLiteral("text")), QStringLiteral("hello"));
    QCOMPARE(c.getInt(QStringLiteral("other_handle")), -1);
    QCOMPARE(c.getInt(QStringLiteral("item_type")), 0);
    QVERIFY(c.isNull(QStringLiteral("logic_hash")));
    QVERIFY(c.isNull(QStringLiteral("share_status")));
}

void TestMessageDbUpgrade::logicHashWithoutIndexGetsNoIndex()
{
    QStringList schema = oldStyleSchema();
    schema << QStringLiteral("ALTER TABLE message ADD COLUMN item_type INTEGER DEFAULT 0")
           << QStringLiteral("ALTER TABLE message ADD COLUMN logic_hash TEXT");
    makeRawDb(path(), schema);
    IOS6MessageDb db{QDir(dir->path()), QString()};
    db.open();
    QCOMPARE(objectNames(db, QStringLiteral("index")), QStringList({"message_idx_handle"}));
    QCOMPARE(columnNames(db, QStringLiteral("message")).count(QStringLiteral("logic_hash")), 1);
    QCOMPARE(columnNames(db, QStringLiteral("message")).last(), QStringLiteral("message_action_type"));
}

void TestMessageDbUpgrade::columnNamesCompareWithoutCase()
{
    // Adding "group_id" next to "GROUP_ID" would fail as a duplicate column.
    QStringList schema = oldStyleSchema();
    schema << QStringLiteral("ALTER TABLE chat ADD COLUMN GROUP_ID TEXT")
           << QStringLiteral("ALTER TABLE message ADD COLUMN Logic_Hash TEXT");
    makeRawDb(path(), schema);
    IOS6MessageDb db{QDir(dir->path()), QString()};
    db.open();
    QCOMPARE(columnNames(db, QStringLiteral("chat")).last(), QStringLiteral("GROUP_ID"));
    QVERIFY(!objectNames(db, QStringLiteral("index")).contains(QLatin1String("message_idx_logic_hash")));
}

void TestMessageDbUpgrade::fileWithoutLastStaysWithout()
{
    makeRawDb(path(), oldStyleSchema());
    {
        IOS6MessageDb db{QDir(dir->path()), QString()};
        db.open();
    }
    IOS6MessageDb db{QDir(dir->path()), QString()};
    db.open();
    QVERIFY(!columnNames(db, QStringLiteral("chat")).contains(QLatin1String("_last")));
}

void TestMessageDbUpgrade::oldTriggerIsReplaced()
{
    makeRawDb(path(), oldStyleSchema());
    IOS6MessageDb db{QDir(dir->path()), QString()};
    db.open();
    QCOMPARE(objectSql(db, QStringLiteral("clean_orphaned_messages")),
             IOS6MessageDb::orphanedMessagesTriggerSql());
    QCOMPARE(objectNames(db, QStringLiteral("trigger")), QStringList({"clean_orphaned_messages"}));

    // The new trigger looks only at the message whose join row went.
    db.executeThrow(QStringLiteral("insert into message(ROWID, guid) values(1, 'joined'), (2, 'loose')"));
    db.executeThrow(QStringLiteral("insert into chat_message_join values(1, 1)"));
    db.executeThrow(QStringLiteral("delete from chat_message_join"));
    QCOMPARE(scalar(db, QStringLiteral("select group_concat(ROWID) from message")), 2);
}

void TestMessageDbUpgrade::missingTriggerIsCreated()
{
    QStringList schema = oldStyleSchema();
    schema << QStringLiteral("DROP TRIGGER clean_orphaned_messages");
    makeRawDb(path(), schema);
    IOS6MessageDb db{QDir(dir->path()), QString()};
    db.open();
    QCOMPARE(objectSql(db, QStringLiteral("clean_orphaned_messages")),
             IOS6MessageDb::orphanedMessagesTriggerSql());
}

void TestMessageDbUpgrade::secondOpenChangesNothing()
{
    {
        IOS6MessageDb created{QDir(dir->path()), QString()};
        created.open();
    }
    const QByteArray before = fileBytes(path());
    IOS6MessageDb db{QDir(dir->path()), QString()};
    db.open();
    db.close();
    QCOMPARE(fileBytes(path()), before);
}

void TestMessageDbUpgrade::refusedFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expectedText");

    QTest::newRow("not sqlite") << "text"
                                << "not a database";
    QTest::newRow("truncated") << "truncated"
                               << "sms.db";
    QTest::newRow("empty file") << "empty"
                                << "missing table: message, handle, chat";
    QTest::newRow("no message table") << "no message"
                                      << "missing table: message";
    QTest::newRow("no chat table") << "no chat"
                                   << "missing table: chat";
    QTest::newRow("no handle table") << "no handle"
                                     << "missing table: handle";
}

void TestMessageDbUpgrade::refusedFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, expectedText);

    if (kind == QLatin1String("text")) {
        writeBytes(path(), QByteArray("Textferry message export\n").repeated(400));
    } else if (kind == QLatin1String("truncated")) {
        QTemporaryDir other;
        {
            IOS6MessageDb real{QDir(other.path()), QString()};
            real.open();
            for (int i = 0; i < 50; ++i)
                real.executeThrow(QStringLiteral("insert into message(guid, text) values('g%1', '%2')")
                                      .arg(i)
                                      .arg(QString(200, QLatin1Char('x'))));
        }
        writeBytes(path(), fileBytes(smsDbPath(QDir(other.path()))).left(1000));
    } else if (kind == QLatin1String("empty")) {
        writeBytes(path(), QByteArray());
    } else {
        makeRawDb(path(), oldStyleSchema({kind.mid(3)}));
    }
    const QByteArray before = fileBytes(path());

    IOS6MessageDb db{QDir(dir->path()), QString()};
    const QString text = exceptionText(db);
    QVERIFY2(text.contains(expectedText), qPrintable(text));
    QVERIFY(!db.isOpen());
    QCOMPARE(fileBytes(path()), before);
    // Still refused on the next call instead of passing as already open.
    QVERIFY(!exceptionText(db).isEmpty());
    QVERIFY(db.tableCreateSql(QStringLiteral("message")).isEmpty());
    QCOMPARE(fileBytes(path()), before);
}

void TestMessageDbUpgrade::failedOpenRetriesNextTime()
{
    writeBytes(path(), QByteArray("not a database at all").repeated(100));
    IOS6MessageDb db{QDir(dir->path()), QString()};
    QVERIFY(!exceptionText(db).isEmpty());

    QFile::remove(path());
    makeRawDb(path(), oldStyleSchema());
    db.open();
    QVERIFY(db.isOpen());
    QVERIFY(columnNames(db, QStringLiteral("message")).contains(QLatin1String("logic_hash")));
}

void TestMessageDbUpgrade::failedUpgradeStatementNamesItsRow()
{
    // A virtual table cannot be altered, so the first upgrade row fails.
    QStringList schema = oldStyleSchema({QStringLiteral("chat")});
    schema << QStringLiteral("CREATE VIRTUAL TABLE chat USING fts4(guid, style)");
    makeRawDb(path(), schema);
    IOS6MessageDb db{QDir(dir->path()), QString()};
    const QString text = exceptionText(db);
    QVERIFY2(
        text.startsWith(QLatin1String("line:122, sql:ALTER TABLE chat ADD COLUMN group_id TEXT;, error:")),
        qPrintable(text));
    QVERIFY(!db.isOpen());
}

void TestMessageDbUpgrade::failedLogicHashIndexIsRow164()
{
    // An index of that name on another table makes the CREATE INDEX fail.
    QStringList schema = oldStyleSchema();
    schema << QStringLiteral("CREATE INDEX message_idx_logic_hash ON chat(guid)");
    makeRawDb(path(), schema);
    IOS6MessageDb db{QDir(dir->path()), QString()};
    const QString text = exceptionText(db);
    QVERIFY2(text.startsWith(QLatin1String(
                 "line:164, sql:CREATE INDEX message_idx_logic_hash ON message(logic_hash);, error:")),
             qPrintable(text));
    // The rows that ran before the failure stay applied.
    Sqlite3DB raw;
    raw.openThrow(path(), Sqlite3DB::ReadWrite);
    QVERIFY(columnNames(raw, QStringLiteral("message")).contains(QLatin1String("logic_hash")));
}

void TestMessageDbUpgrade::blockedFolderFailsCreation()
{
    // A plain file where the file-relay folder belongs.
    writeBytes(dir->filePath(QStringLiteral("file-relay")), QByteArray("x"));
    IOS6MessageDb db{QDir(dir->path()), QString()};
    QVERIFY(!exceptionText(db).isEmpty());
    QVERIFY(!db.isOpen());
    QCOMPARE(fileBytes(dir->filePath(QStringLiteral("file-relay"))), QByteArray("x"));
}

QTEST_GUILESS_MAIN(TestMessageDbUpgrade)
#include "tst_messagedb_upgrade.moc"
