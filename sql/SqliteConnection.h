#pragma once

#include <QHash>
#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// The open SQLite handle shared by a database object and the cursors it
// handed out, with a small cache of prepared statements keyed by their text.
// Internal to the SQL layer.
class SqliteConnection
{
public:
    explicit SqliteConnection(sqlite3* handle) : db(handle) {}
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    sqlite3* handle() const { return db; }
    bool isOpen() const { return db != nullptr; }

    // A prepared statement for sql, from the cache or freshly prepared; the
    // caller owns it until it hands it back. Throws SqliteException.
    sqlite3_stmt* take(const QString& sql);
    // Resets the statement and keeps it for the next use of the same text, or
    // finalizes it when the connection has been closed meanwhile.
    void giveBack(const QString& sql, sqlite3_stmt* stmt);
    // Finalizes the cache and closes the handle. Statements still held by
    // cursors stay valid to finalize (sqlite3_close_v2 waits for them).
    void close();

    [[noreturn]] void throwError(int code, const QString& sql) const;

private:
    sqlite3* db;
    QHash<QString, sqlite3_stmt*> cache;
};

using SqliteConnectionPtr = std::shared_ptr<SqliteConnection>;
