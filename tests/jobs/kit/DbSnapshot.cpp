#include "DbSnapshot.h"

#include "store/sql/Sqlite3DB.h"
#include "store/sql/SqliteException.h"

#include <QCryptographicHash>
#include <QStringList>

namespace {

int countRows(Sqlite3DB& db, const QString& table)
{
    Sqlite3Cursor cursor = db.queryThrow(QStringLiteral("SELECT count(*) FROM %1").arg(table));
    return cursor.moveNext() ? cursor.getInt(0) : 0;
}

void hashTable(Sqlite3DB& db, const QString& table, QCryptographicHash& hash)
{
    hash.addData(table.toUtf8());
    Sqlite3Cursor cursor =
        db.queryThrow(QStringLiteral("SELECT rowid, * FROM \"%1\" ORDER BY rowid").arg(table));
    while (cursor.moveNext()) {
        for (int column = 0; column < cursor.columnCount(); ++column) {
            hash.addData(cursor.isNull(column) ? QByteArrayLiteral("\x01NULL") : cursor.getBlob(column));
            hash.addData(QByteArrayLiteral("\x02"));
        }
        hash.addData(QByteArrayLiteral("\x03"));
    }
}

} // namespace

DbSnapshot snapshotOf(const QString& databasePath)
{
    Sqlite3DB db;
    db.openThrow(databasePath, Sqlite3DB::ReadWrite);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QStringList tables;
    Sqlite3Cursor schema =
        db.queryThrow(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY name"));
    while (schema.moveNext()) {
        hash.addData(schema.getText(2).toUtf8());
        if (schema.getText(0) == QLatin1String("table"))
            tables.append(schema.getText(1));
    }
    for (const QString& table : std::as_const(tables))
        hashTable(db, table, hash);

    DbSnapshot snapshot;
    snapshot.messages = countRows(db, QStringLiteral("message"));
    snapshot.chats = countRows(db, QStringLiteral("chat"));
    snapshot.handles = countRows(db, QStringLiteral("handle"));
    snapshot.checksum = hash.result().toHex();
    return snapshot;
}

void executeOn(const QString& databasePath, const QString& sql)
{
    Sqlite3DB db;
    db.openThrow(databasePath, Sqlite3DB::ReadWrite);
    QString error;
    if (db.exec(sql, error) != 0)
        throw SqliteException(1, error, sql);
}

char* toString(const DbSnapshot& snapshot)
{
    const QString text = QStringLiteral("messages %1, chats %2, handles %3, checksum %4")
                             .arg(snapshot.messages)
                             .arg(snapshot.chats)
                             .arg(snapshot.handles)
                             .arg(QString::fromLatin1(snapshot.checksum));
    return qstrdup(text.toUtf8().constData());
}
