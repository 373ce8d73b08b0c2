#include "store/sql/AbsDb.h"
#include "store/sql/SqliteException.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

namespace {
// A database on a file of its own; open() creates it on first use.
class FileDb : public AbsDb
{
public:
    explicit FileDb(const QString& path) : path(path) {}
    void open() override
    {
        if (!isOpen())
            openThrow(path, ReadWriteCreate);
    }
    int opens = 0;

private:
    QString path;
};

QString errorText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}
} // namespace

class TestSqliteWrapper : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void bindsEveryType();
    void emptyTextAndBlobAreValuesNotNull();
    void nullAndAbsentColumnsReadAsEmpty();
    void columnNamesIgnoreCase();
    void countGivesWholeResult();
    void errorsCarryMessageAndStatement();
    void execReportsWithoutThrowing();
    void transactionRollsBack();
    void commitOfNothingAndEndWithoutBegin();
    void insertRowBuildsInsert();
    void tbInfoListsColumns();
    void sameStatementTwiceAtOnce();
    void cursorOutlivesClose();
    void textRoundTripsUnicodeAndNul();
    void invalidUtf8ReadsWithoutCrash();
    void openFailures();
    void versionIsFive();

private:
    QTemporaryDir dir;
    std::unique_ptr<FileDb> db;
};

void TestSqliteWrapper::init()
{
    QVERIFY(dir.isValid());
    QFile::remove(dir.filePath("t.db"));
    db = std::make_unique<FileDb>(dir.filePath("t.db"));
    db->open();
    db->executeThrow(QStringLiteral("create table t(id integer primary key, i integer, b integer, s text, x blob)"));
}

void TestSqliteWrapper::cleanup()
{
    db.reset();
}

void TestSqliteWrapper::bindsEveryType()
{
    Sqlite3Sql insert(QStringLiteral("insert into t(i, b, s, x) values(?, ?, ?, ?)"));
    insert.addIntParam(-7);
    insert.addInt64Param(Q_INT64_C(9007199254740993));
    insert.addTextParam(QStringLiteral("héllo"));
    insert.addBlobParam(QByteArray("\x00\x01\xff", 3));
    db->executeThrow(insert);
    const qint64 id = db->lastInsertId();
    QVERIFY(id > 0);

    Sqlite3Sql select(QStringLiteral("select i, b, s, x, typeof(x) as tx from t where id=?"));
    select.addInt64Param(id);
    Sqlite3Cursor c = db->queryThrow(select);
    QVERIFY(c.moveNext());
    QCOMPARE(c.getInt("i"), -7);
    QCOMPARE(c.getInt64("b"), Q_INT64_C(9007199254740993));
    QCOMPARE(c.getText("s"), QStringLiteral("héllo"));
    QCOMPARE(c.getBlob("x"), QByteArray("\x00\x01\xff", 3));
    QCOMPARE(c.getText("tx"), QStringLiteral("blob"));
    QVERIFY(!c.moveNext());
    QVERIFY(!c.moveNext()); // stays at the end
}

void TestSqliteWrapper::emptyTextAndBlobAreValuesNotNull()
{
    Sqlite3Sql insert(QStringLiteral("insert into t(s, x) values(?, ?)"));
    insert.addTextParam(QString());
    insert.addBlobParam(QByteArray());
    db->executeThrow(insert);
    Sqlite3Cursor c = db->queryThrow(QStringLiteral("select typeof(s) as ts, typeof(x) as tx, s, x from t"));
    QVERIFY(c.moveNext());
    QCOMPARE(c.getText("ts"), QStringLiteral("text"));
    QCOMPARE(c.getText("tx"), QStringLiteral("blob"));
    QVERIFY(!c.isNull("s"));
    QVERIFY(c.getText("s").isEmpty());
    QVERIFY(c.getBlob("x").isEmpty());
}

void TestSqliteWrapper::nullAndAbsentColumnsReadAsEmpty()
{
    Sqlite3Sql insert(QStringLiteral("insert into t(i, s, x) values(?, ?, ?)"));
    insert.addNullParam();
    insert.addVariantParam(QVariant());
    insert.addNullParam();
    db->executeThrow(insert);
    Sqlite3Cursor c = db->queryThrow(QStringLiteral("select * from t"));
    // Before the first row nothing is readable.
    QCOMPARE(c.getInt("id"), 0);
    QVERIFY(c.moveNext());
    QVERIFY(c.isNull("i"));
    QCOMPARE(c.getInt("i"), 0);
    QCOMPARE(c.getInt64("i"), Q_INT64_C(0));
    QVERIFY(c.getText("s").isEmpty());
    QVERIFY(c.getBlob("x").isEmpty());
    QCOMPARE(c.columnIndex("no_such_column"), -1);
    QCOMPARE(c.getInt("no_such_column"), 0);
    QCOMPARE(c.getInt64("no_such_column"), Q_INT64_C(0));
    QVERIFY(c.getText("no_such_column").isNull());
    QVERIFY(c.getBlob("no_such_column").isEmpty());
    QVERIFY(c.isNull("no_such_column"));
    QVERIFY(c.getText(99).isEmpty());
}

void TestSqliteWrapper::columnNamesIgnoreCase()
{
    db->executeThrow(QStringLiteral("insert into t(i) values(5)"));
    Sqlite3Cursor c = db->queryThrow(QStringLiteral("select rowid as RowId, I as MixedCase from t"));
    QVERIFY(c.moveNext());
    QCOMPARE(c.getInt("mixedcase"), 5);
    QCOMPARE(c.getInt("MIXEDCASE"), 5);
    QCOMPARE(c.getInt64("ROWID"), Q_INT64_C(1));
    QCOMPARE(c.columnName(1), QStringLiteral("MixedCase"));
    QCOMPARE(c.columnCount(), 2);
}

void TestSqliteWrapper::countGivesWholeResult()
{
    for (int i = 0; i < 7; ++i) {
        Sqlite3Sql insert(QStringLiteral("insert into t(i) values(?)"));
        insert.addIntParam(i);
        db->executeThrow(insert);
    }
    Sqlite3Sql select(QStringLiteral("select i from t where i >= ? order by i"));
    select.addIntParam(2);
    Sqlite3Cursor c = db->queryThrow(select);
    QCOMPARE(c.count(), 5);
    QVERIFY(c.moveNext());
    QVERIFY(c.moveNext());
    QCOMPARE(c.count(), 5); // independent of the position
    QCOMPARE(c.getInt("i"), 3);
    QCOMPARE(db->queryThrow(QStringLiteral("select * from t where 0")).count(), 0);
}

void TestSqliteWrapper::errorsCarryMessageAndStatement()
{
    QString text = errorText([&] { db->queryThrow(QStringLiteral("select * from nope")); });
    QVERIFY2(text.contains("no such table: nope"), qPrintable(text));
    QVERIFY2(text.contains("select * from nope"), qPrintable(text));

    db->executeThrow(QStringLiteral("create table u(k text unique not null)"));
    Sqlite3Sql insert(QStringLiteral("insert into u(k) values(?)"));
    insert.addTextParam(QStringLiteral("κλειδί"));
    db->executeThrow(insert);
    text = errorText([&] { db->executeThrow(insert); });
    QVERIFY2(text.contains("UNIQUE constraint failed: u.k"), qPrintable(text));
    // UTF-8 in what(): the statement text survives intact.
    QVERIFY(QString::fromUtf8(text.toUtf8()).contains("insert into u(k) values(?)"));

    // The failed statement goes back to the cache in a usable state.
    Sqlite3Sql other(QStringLiteral("insert into u(k) values(?)"));
    other.addTextParam(QStringLiteral("second"));
    db->executeThrow(other);
    QCOMPARE(db->queryThrow(QStringLiteral("select * from u")).count(), 2);

    try {
        db->executeThrow(QStringLiteral("insert into u(k) values(null)"));
        QFAIL("no exception");
    } catch (const SqliteException& e) {
        QCOMPARE(e.code() & 0xff, SQLITE_CONSTRAINT);
    }
}

void TestSqliteWrapper::execReportsWithoutThrowing()
{
    QString error;
    QCOMPARE(db->exec(QStringLiteral("insert into t(i) values(1); insert into t(i) values(2);"), error), 0);
    QVERIFY(error.isEmpty());
    QVERIFY(db->exec(QStringLiteral("alter table t add column i integer"), error) != 0);
    QVERIFY2(error.contains("duplicate column name"), qPrintable(error));
    db->close();
    QVERIFY(db->exec(QStringLiteral("select 1"), error) != 0);
    QVERIFY(!error.isEmpty());
}

void TestSqliteWrapper::transactionRollsBack()
{
    db->beginTransaction();
    QVERIFY(db->isInTransaction());
    db->executeThrow(QStringLiteral("insert into t(i) values(1)"));
    db->endTransaction(false);
    QVERIFY(!db->isInTransaction());
    QCOMPARE(db->queryThrow(QStringLiteral("select * from t")).count(), 0);

    db->beginTransaction();
    db->executeThrow(QStringLiteral("insert into t(i) values(2)"));
    db->endTransaction(true);
    QCOMPARE(db->queryThrow(QStringLiteral("select * from t")).count(), 1);

    // Closing with an open transaction loses it, as a crash would.
    db->beginTransaction();
    db->executeThrow(QStringLiteral("insert into t(i) values(3)"));
    db->close();
    QVERIFY(!db->isInTransaction());
    db->open();
    QCOMPARE(db->queryThrow(QStringLiteral("select * from t")).count(), 1);
}

void TestSqliteWrapper::commitOfNothingAndEndWithoutBegin()
{
    db->endTransaction(true); // no transaction: nothing happens
    db->endTransaction(false);
    db->beginTransaction();
    db->endTransaction(true);
    // A second connection can write afterwards: the lock was released.
    FileDb other(dir.filePath("t.db"));
    other.open();
    other.executeThrow(QStringLiteral("insert into t(i) values(1)"));
    QCOMPARE(db->queryThrow(QStringLiteral("select * from t")).count(), 1);
}

void TestSqliteWrapper::insertRowBuildsInsert()
{
    Sqlite3Row row;
    row.insert(QStringLiteral("s"), QStringLiteral("a'b\"c"));
    row.insert(QStringLiteral("i"), 4);
    row.insert(QStringLiteral("b"), Q_INT64_C(1) << 40);
    row.insert(QStringLiteral("x"), QByteArray("z"));
    row.insert(QStringLiteral("i"), 5); // replaces, keeps its place
    QCOMPARE(row.size(), 4);
    const Sqlite3Sql sql = row.insertSql(QStringLiteral("t"));
    QCOMPARE(sql.params().size(), 4);
    QVERIFY(!sql.sql().contains("a'b")); // values are bound, never pasted
    const qint64 id = db->insertRow(row, QStringLiteral("t"));
    Sqlite3Sql select(QStringLiteral("select * from t where id=?"));
    select.addInt64Param(id);
    Sqlite3Cursor c = db->queryThrow(select);
    QVERIFY(c.moveNext());
    QCOMPARE(c.getText("s"), QStringLiteral("a'b\"c"));
    QCOMPARE(c.getInt("i"), 5);
    QCOMPARE(c.getInt64("b"), Q_INT64_C(1) << 40);
    QCOMPARE(c.getBlob("x"), QByteArray("z"));

    const Sqlite3Sql partial = row.insertSql(QStringLiteral("t"), {QStringLiteral("x")});
    QCOMPARE(partial.params().size(), 3);
    QVERIFY(!partial.sql().contains("\"x\""));
}

void TestSqliteWrapper::tbInfoListsColumns()
{
    const QHash<QString, QVariant> info = db->tbInfo(QStringLiteral("t"));
    QCOMPARE(info.size(), 5);
    QVERIFY(info.contains("s"));
    QCOMPARE(info.value("x").toString().toLower(), QStringLiteral("blob"));
    QVERIFY(db->tbInfo(QStringLiteral("missing")).isEmpty());
    QVERIFY(db->tbInfo(QStringLiteral("t\"; drop table t; --")).isEmpty());
    QCOMPARE(db->tbInfo(QStringLiteral("t")).size(), 5);
}

void TestSqliteWrapper::sameStatementTwiceAtOnce()
{
    for (int i = 0; i < 3; ++i)
        db->executeThrow(QStringLiteral("insert into t(i) values(1)"));
    const QString sql = QStringLiteral("select i from t");
    Sqlite3Cursor outer = db->queryThrow(sql);
    int pairs = 0;
    while (outer.moveNext()) {
        Sqlite3Cursor inner = db->queryThrow(sql); // the same text while the first runs
        while (inner.moveNext())
            ++pairs;
    }
    QCOMPARE(pairs, 9);
    // Cursors copy as handles on one result.
    Sqlite3Cursor a = db->queryThrow(sql);
    Sqlite3Cursor b = a;
    QVERIFY(a.moveNext());
    QVERIFY(b.moveNext());
    QVERIFY(b.moveNext());
    QVERIFY(!a.moveNext());
}

void TestSqliteWrapper::cursorOutlivesClose()
{
    db->executeThrow(QStringLiteral("insert into t(i) values(1)"));
    Sqlite3Cursor c = db->queryThrow(QStringLiteral("select i from t"));
    QVERIFY(c.moveNext());
    db->close();
    QVERIFY(!db->isOpen());
    QCOMPARE(db->handle(), nullptr);
    QVERIFY(!errorText([&] { c.moveNext(); }).isEmpty());
    QVERIFY(!errorText([&] { db->queryThrow(QStringLiteral("select 1")); }).isEmpty());
    db->open(); // a new connection; the old cursor dies harmlessly later
    QCOMPARE(db->queryThrow(QStringLiteral("select i from t")).count(), 1);
}

void TestSqliteWrapper::textRoundTripsUnicodeAndNul()
{
    const QString text = QStringLiteral("a\u0000b ✅ 😀 中文 \u202e");
    Sqlite3Sql insert(QStringLiteral("insert into t(s) values(?)"));
    insert.addTextParam(text);
    db->executeThrow(insert);
    Sqlite3Cursor c = db->queryThrow(QStringLiteral("select s from t"));
    QVERIFY(c.moveNext());
    QCOMPARE(c.getText("s"), text);
}

void TestSqliteWrapper::invalidUtf8ReadsWithoutCrash()
{
    db->executeThrow(QStringLiteral("insert into t(s) values(cast(x'61ff80fe62' as text))"));
    Sqlite3Cursor c = db->queryThrow(QStringLiteral("select s from t"));
    QVERIFY(c.moveNext());
    const QString s = c.getText("s");
    QVERIFY(s.startsWith('a'));
    QVERIFY(s.endsWith('b'));
}

void TestSqliteWrapper::openFailures()
{
    Sqlite3DB raw;
    QString text = errorText([&] { raw.openThrow(dir.filePath("missing.db"), Sqlite3DB::ReadWrite); });
    QVERIFY2(text.contains("unable to open"), qPrintable(text));
    QVERIFY(!raw.isOpen());

    QFile junk(dir.filePath("junk.db"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    raw.openThrow(junk.fileName(), Sqlite3DB::ReadWrite);
    text = errorText([&] { raw.queryThrow(QStringLiteral("select * from sqlite_master")).moveNext(); });
    QVERIFY2(text.contains("not a database"), qPrintable(text));
    raw.close();
    QVERIFY(junk.open(QIODevice::ReadOnly));
    QCOMPARE(junk.readAll(), QByteArray(4096, 'x'));
}

void TestSqliteWrapper::versionIsFive()
{
    QCOMPARE(sqlite_qt_version(), 5);
}

QTEST_GUILESS_MAIN(TestSqliteWrapper)
#include "test_sqlite_wrapper.moc"
