#include "sql/Sqlite3DB.h"

#include "sql/SqliteBinding.h"
#include "sql/SqliteException.h"

#include <sqlite3.h>

namespace {
// How long a statement waits for another connection's lock before it fails.
constexpr int kBusyTimeoutMs = 5000;
} // namespace

Sqlite3DB::~Sqlite3DB()
{
    Sqlite3DB::close();
}

void Sqlite3DB::openThrow(const QString& path, int flags)
{
    close();
    sqlite3* db = nullptr;
    // A connection serves one thread at a time (its statement cache is not
    // locked either), so SQLite's own lock around every call, a mutex round
    // trip for each column of each row read, buys nothing.
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw SqliteException(rc, QStringLiteral("%1: %2").arg(message, path), QString());
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    connection = std::make_shared<SqliteConnection>(db);
}

SqliteConnection& Sqlite3DB::connectionOrThrow(const QString& sql) const
{
    if (!connection || !connection->isOpen())
        throw SqliteException(SQLITE_MISUSE, QStringLiteral("database is not open"), sql);
    return *connection;
}

Sqlite3Cursor Sqlite3DB::queryThrow(const Sqlite3Sql& sql)
{
    connectionOrThrow(sql.sql());
    return Sqlite3Cursor(connection, sql);
}

void Sqlite3DB::executeThrow(const Sqlite3Sql& sql)
{
    SqliteConnection& conn = connectionOrThrow(sql.sql());
    sqlite3_stmt* stmt = conn.take(sql.sql());
    int rc = bindSqliteParams(stmt, sql.params());
    if (rc == SQLITE_OK) {
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
    }
    if (rc != SQLITE_DONE && rc != SQLITE_OK) {
        // Read the message before the reset in giveBack() can touch it.
        const QString message = QString::fromUtf8(sqlite3_errmsg(conn.handle()));
        conn.giveBack(sql.sql(), stmt);
        throw SqliteException(rc, message, sql.sql());
    }
    conn.giveBack(sql.sql(), stmt);
}

int Sqlite3DB::exec(const QString& sql, QString& error)
{
    error.clear();
    if (!isOpen()) {
        error = QStringLiteral("database is not open");
        return SQLITE_MISUSE;
    }
    char* message = nullptr;
    const int rc = sqlite3_exec(handle(), sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK)
        error = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_free(message);
    return rc;
}

void Sqlite3DB::beginTran()
{
    executeThrow(QStringLiteral("BEGIN IMMEDIATE"));
}

void Sqlite3DB::commitTran()
{
    executeThrow(QStringLiteral("COMMIT"));
}

void Sqlite3DB::rollbackTran()
{
    // A failed statement can already have ended the transaction; rolling back
    // then has nothing to undo and is not an error.
    if (isOpen() && sqlite3_get_autocommit(handle()))
        return;
    executeThrow(QStringLiteral("ROLLBACK"));
}

qint64 Sqlite3DB::lastInsertId() const
{
    return isOpen() ? sqlite3_last_insert_rowid(handle()) : 0;
}

void Sqlite3DB::close()
{
    if (connection) {
        connection->close();
        connection.reset();
    }
}

QHash<QString, QVariant> Sqlite3DB::tbInfo(const QString& table)
{
    QString quoted = table;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    Sqlite3Cursor cursor = queryThrow(QStringLiteral("PRAGMA table_info(\"%1\")").arg(quoted));
    QHash<QString, QVariant> columns;
    const int name = cursor.columnIndex(QStringLiteral("name"));
    const int type = cursor.columnIndex(QStringLiteral("type"));
    while (cursor.moveNext())
        columns.insert(cursor.getText(name), cursor.getText(type));
    return columns;
}

sqlite3* Sqlite3DB::handle() const
{
    return connection ? connection->handle() : nullptr;
}
