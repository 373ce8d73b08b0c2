#include "sql/Sqlite3Cursor.h"

#include "sql/Sqlite3Sql.h"
#include "sql/SqliteBinding.h"
#include "sql/SqliteException.h"

#include <QHash>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace {
// Texts up to this many UTF-8 bytes are remembered per column (see TextMemo).
constexpr int kMemoBytes = 16;

// The last short text read from one column, with its UTF-8 bytes. Columns
// such as a service name or a country code repeat the same few values row
// after row; handing out the remembered QString shares one buffer among all
// those rows instead of allocating and decoding a copy for each.
struct TextMemo
{
    int size = -1;
    char bytes[kMemoBytes];
    QString value;
};
} // namespace

struct Sqlite3Cursor::State
{
    SqliteConnectionPtr connection;
    Sqlite3Sql sql;
    sqlite3_stmt* stmt = nullptr;
    bool hasRow = false;
    bool finished = false;
    int columnCount = 0;                 // of the statement, read once
    mutable QHash<QString, int> columns; // lower-case name -> first position
    mutable bool columnsRead = false;
    mutable std::vector<TextMemo> memo; // by column position, filled on first use

    ~State()
    {
        if (connection)
            connection->giveBack(sql.sql(), stmt);
    }
};

Sqlite3Cursor::Sqlite3Cursor(const SqliteConnectionPtr& connection, const Sqlite3Sql& sql)
    : d(std::make_shared<State>())
{
    d->sql = sql;
    d->stmt = connection->take(sql.sql());
    d->connection = connection; // from here on the state hands the statement back
    d->columnCount = sqlite3_column_count(d->stmt);
    const int rc = bindSqliteParams(d->stmt, d->sql.params()); // kept alive by the state
    if (rc != SQLITE_OK)
        connection->throwError(rc, sql.sql());
}

bool Sqlite3Cursor::moveNext()
{
    if (!d || d->finished)
        return false;
    if (!d->connection->isOpen())
        throw SqliteException(SQLITE_MISUSE, QStringLiteral("database was closed"), d->sql.sql());
    const int rc = sqlite3_step(d->stmt);
    if (rc == SQLITE_ROW) {
        d->hasRow = true;
        return true;
    }
    d->hasRow = false;
    d->finished = true;
    if (rc != SQLITE_DONE)
        d->connection->throwError(rc, d->sql.sql());
    return false;
}

int Sqlite3Cursor::columnCount() const
{
    return d ? sqlite3_column_count(d->stmt) : 0;
}

QString Sqlite3Cursor::columnName(int column) const
{
    if (!d || column < 0 || column >= columnCount())
        return QString();
    return QString::fromUtf8(sqlite3_column_name(d->stmt, column));
}

int Sqlite3Cursor::columnIndex(const QString& name) const
{
    if (!d)
        return -1;
    if (!d->columnsRead) {
        const int n = sqlite3_column_count(d->stmt);
        d->columns.reserve(n);
        for (int i = 0; i < n; ++i) {
            const QString key = QString::fromUtf8(sqlite3_column_name(d->stmt, i)).toLower();
            if (!d->columns.contains(key))
                d->columns.insert(key, i);
        }
        d->columnsRead = true;
    }
    auto it = d->columns.constFind(name);
    if (it == d->columns.constEnd())
        it = d->columns.constFind(name.toLower());
    return it == d->columns.constEnd() ? -1 : it.value();
}

// Inline: asked before every column of every row read, and a call of its own
// (a library function may be interposed, so it is not inlined otherwise) cost
// as much as the check.
inline bool Sqlite3Cursor::readable(int column) const
{
    return d && d->hasRow && column >= 0 && column < d->columnCount;
}

int Sqlite3Cursor::getInt(int column) const
{
    if (!readable(column))
        return 0;
    const qint64 value = sqlite3_column_int64(d->stmt, column);
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

qint64 Sqlite3Cursor::getInt64(int column) const
{
    return readable(column) ? sqlite3_column_int64(d->stmt, column) : 0;
}

QString Sqlite3Cursor::getText(int column) const
{
    if (!readable(column))
        return QString();
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(d->stmt, column));
    const int size = sqlite3_column_bytes(d->stmt, column);
    if (!text)
        return QString();
    if (size > kMemoBytes)
        return QString::fromUtf8(text, size);
    if (d->memo.empty())
        d->memo.resize(size_t(d->columnCount));
    TextMemo& memo = d->memo[size_t(column)];
    if (memo.size != size || std::memcmp(memo.bytes, text, size_t(size)) != 0) {
        memo.value = QString::fromUtf8(text, size);
        memo.size = size;
        std::memcpy(memo.bytes, text, size_t(size));
    }
    return memo.value;
}

QByteArray Sqlite3Cursor::getBlob(int column) const
{
    if (!readable(column))
        return QByteArray();
    const void* data = sqlite3_column_blob(d->stmt, column);
    const int size = sqlite3_column_bytes(d->stmt, column);
    return data ? QByteArray(static_cast<const char*>(data), size) : QByteArray();
}

QByteArrayView Sqlite3Cursor::getUtf8(int column) const
{
    if (!readable(column))
        return QByteArrayView();
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(d->stmt, column));
    return text ? QByteArrayView(text, sqlite3_column_bytes(d->stmt, column)) : QByteArrayView();
}

bool Sqlite3Cursor::isNull(int column) const
{
    return !readable(column) || sqlite3_column_type(d->stmt, column) == SQLITE_NULL;
}

int Sqlite3Cursor::count() const
{
    if (!d)
        return 0;
    sqlite3* db = d->connection->handle();
    if (!db)
        throw SqliteException(SQLITE_MISUSE, QStringLiteral("database was closed"), d->sql.sql());
    const QByteArray utf8 = d->sql.sql().toUtf8();
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr);
    if (rc == SQLITE_OK)
        rc = bindSqliteParams(stmt, d->sql.params());
    int rows = 0;
    while (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ++rows;
        rc = SQLITE_OK;
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_OK)
        d->connection->throwError(rc, d->sql.sql());
    return rows;
}
