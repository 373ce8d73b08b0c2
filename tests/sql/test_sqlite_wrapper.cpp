#include "sql/AbsDb.h"
#include "sql/SqliteException.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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

    QTemporaryDir dir;
    std::unique_ptr<FileDb> db;
    int rows() { return db->queryThrow(QStringLiteral("select * from t")).count(); }

private slots:
    void init()
    {
        QFile::remove(dir.filePath("t.db"));
        db = std::make_unique<FileDb>(dir.filePath("t.db"));
        db->open();
        db->executeThrow(
            QStringLiteral("create table t(id integer primary key, i int, b int, s text, x blob)"));
    }

    void cleanup() { db.reset(); }

    void bindsEveryType()
    {
        const QString text = QStringLiteral("a\u0000b ✅ 😀 中文");
        Sqlite3Sql insert(QStringLiteral("insert into t(i, b, s, x) values(?, ?, ?, ?), (0, 0, ?, ?)"));
        insert.addIntParam(-7);
        insert.addInt64Param(Q_INT64_C(9007199254740993));
        insert.addTextParam(text);
        insert.addBlobParam(QByteArray("\x00\x01\xff", 3));
        insert.addTextParam(QString()); // empty values are values, not NULL
        insert.addBlobParam(QByteArray());
        db->executeThrow(insert);

        Sqlite3Cursor c = db->queryThrow(QStringLiteral("select *, typeof(s) || typeof(x) as Types from t"));
        QVERIFY(c.moveNext());
        QCOMPARE(c.getInt("i"), -7);
        QCOMPARE(c.getInt64("B"), Q_INT64_C(9007199254740993)); // names ignore case
        QCOMPARE(c.getText("s"), text);
        QCOMPARE(c.getUtf8(c.columnIndex("s")).toByteArray(), text.toUtf8());
        QCOMPARE(c.getBlob("x"), QByteArray("\x00\x01\xff", 3));
        QCOMPARE(c.getText("types"), QStringLiteral("textblob"));
        QVERIFY(c.moveNext());
        QCOMPARE(c.getText("types"), QStringLiteral("textblob"));
        QVERIFY(c.getText("s").isEmpty() && c.getBlob("x").isEmpty());
        QVERIFY(!c.moveNext());
        QVERIFY(!c.moveNext()); // stays at the end
    }

    void nullAndAbsentColumnsReadAsEmpty()
    {
        Sqlite3Sql insert(QStringLiteral("insert into t(i, s, x) values(?, ?, ?)"));
        insert.addNullParam();
        insert.addVariantParam(QVariant());
        insert.addNullParam();
        db->executeThrow(insert);
        Sqlite3Cursor c = db->queryThrow(QStringLiteral("select * from t"));
        QCOMPARE(c.getInt("id"), 0); // nothing is readable before the first row
        QVERIFY(c.moveNext());
        QVERIFY(c.isNull("i"));
        QCOMPARE(c.getInt64("i"), Q_INT64_C(0));
        QVERIFY(c.getText("s").isEmpty() && c.getBlob("x").isEmpty());
        QCOMPARE(c.columnIndex("no_such_column"), -1);
        QCOMPARE(c.getInt("no_such_column"), 0);
        QVERIFY(c.getText("no_such_column").isEmpty() && c.getBlob("no_such_column").isEmpty());
        QVERIFY(c.getText(99).isEmpty());
        QVERIFY(c.getUtf8(c.columnIndex("s")).isEmpty() && c.getUtf8(99).isEmpty());
    }

    void countAndSameStatementTwiceAtOnce()
    {
        db->executeThrow(QStringLiteral("insert into t(i) values(1), (2), (3), (4)"));
        Sqlite3Sql select(QStringLiteral("select i from t where i >= ? order by i"));
        select.addIntParam(2);
        Sqlite3Cursor outer = db->queryThrow(select);
        QCOMPARE(outer.count(), 3);
        int pairs = 0;
        while (outer.moveNext()) {
            QCOMPARE(outer.count(), 3);                   // whatever the position
            Sqlite3Cursor inner = db->queryThrow(select); // the same text while the first runs
            while (inner.moveNext())
                pairs += inner.getInt("i") * outer.getInt("i");
        }
        QCOMPARE(pairs, 81); // (2 + 3 + 4)²
        QCOMPARE(db->queryThrow(QStringLiteral("select * from t where 0")).count(), 0);
    }

    void errorsCarryMessageAndStatement()
    {
        QString text = errorText([&] { db->queryThrow(QStringLiteral("select * from nope")); });
        QVERIFY2(text.contains("no such table: nope") && text.contains("select * from nope"),
                 qPrintable(text));

        db->executeThrow(QStringLiteral("create table u(k text unique not null)"));
        Sqlite3Sql insert(QStringLiteral("insert into u(k) values(?)"));
        insert.addTextParam(QStringLiteral("κλειδί"));
        db->executeThrow(insert);
        try {
            db->executeThrow(insert);
            QFAIL("no exception");
        } catch (const SqliteException& e) {
            text = QString::fromUtf8(e.what());
            QCOMPARE(e.code() & 0xff, 19); // SQLITE_CONSTRAINT
        }
        QVERIFY2(text.contains("UNIQUE constraint failed: u.k") &&
                     text.contains("insert into u(k) values(?)"),
                 qPrintable(text));
        // The failed statement goes back to the cache in a usable state.
        Sqlite3Sql other(QStringLiteral("insert into u(k) values(?)"));
        other.addTextParam(QStringLiteral("second"));
        db->executeThrow(other);
        QCOMPARE(db->queryThrow(QStringLiteral("select * from u")).count(), 2);

        QString error; // exec() reports instead of throwing
        QVERIFY(db->exec(QStringLiteral("alter table t add column i integer"), error) != 0);
        QVERIFY2(error.contains("duplicate column name"), qPrintable(error));
    }

    void transactions()
    {
        db->beginTransaction();
        QVERIFY(db->isInTransaction());
        db->executeThrow(QStringLiteral("insert into t(i) values(1)"));
        db->endTransaction(false);
        QVERIFY(!db->isInTransaction());
        QCOMPARE(rows(), 0);

        db->beginTransaction();
        db->executeThrow(QStringLiteral("insert into t(i) values(2)"));
        db->endTransaction(true);
        QCOMPARE(rows(), 1);

        // Closing with an open transaction loses it, as a crash would.
        db->beginTransaction();
        db->executeThrow(QStringLiteral("insert into t(i) values(3)"));
        db->close();
        QVERIFY(!db->isInTransaction());
        db->open();
        QCOMPARE(rows(), 1);
    }

    void cursorAfterCloseThrows()
    {
        db->executeThrow(QStringLiteral("insert into t(i) values(1)"));
        Sqlite3Cursor c = db->queryThrow(QStringLiteral("select i from t"));
        db->close();
        QVERIFY(!errorText([&] { c.moveNext(); }).isEmpty());
        QVERIFY(!errorText([&] { db->queryThrow(QStringLiteral("select 1")); }).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSqliteWrapper)
#include "test_sqlite_wrapper.moc"
