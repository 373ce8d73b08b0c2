#include "sql/SqliteConnection.h"

#include "sql/SqliteException.h"

#include <sqlite3.h>

namespace {
// Statements whose text holds literal numbers would fill the cache forever;
// past this size the cache starts over.
constexpr int kMaxCachedStatements = 64;
} // namespace

SqliteConnection::~SqliteConnection()
{
    close();
}

sqlite3_stmt* SqliteConnection::take(const QString& sql)
{
    if (!db)
        throw SqliteException(SQLITE_MISUSE, QStringLiteral("database is not open"), sql);
    auto it = cache.find(sql);
    if (it != cache.end()) {
        sqlite3_stmt* stmt = it.value();
        cache.erase(it);
        return stmt;
    }
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        throwError(rc, sql);
    }
    if (!stmt) // only white space or a comment
        throw SqliteException(SQLITE_MISUSE, QStringLiteral("empty statement"), sql);
    return stmt;
}

void SqliteConnection::giveBack(const QString& sql, sqlite3_stmt* stmt)
{
    if (!stmt)
        return;
    if (!db || cache.contains(sql)) {
        sqlite3_finalize(stmt);
        return;
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (cache.size() >= kMaxCachedStatements) {
        for (sqlite3_stmt* old : std::as_const(cache))
            sqlite3_finalize(old);
        cache.clear();
    }
    cache.insert(sql, stmt);
}

void SqliteConnection::close()
{
    for (sqlite3_stmt* stmt : std::as_const(cache))
        sqlite3_finalize(stmt);
    cache.clear();
    if (db) {
        sqlite3_close_v2(db);
        db = nullptr;
    }
}

void SqliteConnection::throwError(int code, const QString& sql) const
{
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
    throw SqliteException(code, message, sql);
}
