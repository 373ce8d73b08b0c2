#include "bench/BareSqlite.h"

#include <QByteArray>
#include <QList>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char kMessageQuery[] = "select j.chat_id, m.* from chat_message_join as j inner join message as m "
                             "on j.message_id = m.rowid and m.item_type <> 4";
const char kChatQuery[] = "select * from chat";
const char kHandleQuery[] =
    "select j.chat_id, h.* from chat_handle_join as j inner join handle as h on j.handle_id = h.rowid";

enum class Kind
{
    Int,
    Int64,
    Text,
    Blob
};

// How the reader takes each column: the text and blob columns of the three
// tables by name, the row ids as 64-bit numbers, every other column as an int.
Kind kindOf(const QByteArray& name)
{
    static const QList<QByteArray> texts = {"guid",
                                            "text",
                                            "service_center",
                                            "subject",
                                            "country",
                                            "service",
                                            "account",
                                            "account_guid",
                                            "cache_roomnames",
                                            "group_title",
                                            "account_id",
                                            "chat_identifier",
                                            "service_name",
                                            "room_name",
                                            "account_login",
                                            "last_addressed_handle",
                                            "display_name",
                                            "group_id",
                                            "id",
                                            "uncanonicalized_id",
                                            "_ct_name"};
    if (name == "chat_id" || name == "rowid" || name == "handle_id")
        return Kind::Int64;
    if (name == "attributedbody" || name == "properties" || name == "_photo")
        return Kind::Blob;
    return texts.contains(name) ? Kind::Text : Kind::Int;
}

sqlite3* openReadOnly(const QString& path)
{
    sqlite3* db = nullptr;
    // Without SQLite's per-call lock, as the program's own connections are opened.
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
        std::exit(1);
    }
    return db;
}

sqlite3_stmt* prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot prepare %s: %s\n", sql, sqlite3_errmsg(db));
        std::exit(1);
    }
    return stmt;
}

qint64 readQuery(sqlite3* db, const char* sql)
{
    sqlite3_stmt* stmt = prepare(db, sql);
    QList<Kind> kinds;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i)
        kinds.append(kindOf(QByteArray(sqlite3_column_name(stmt, i)).toLower()));
    qint64 sum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int i = 0; i < kinds.size(); ++i) {
            switch (kinds[i]) {
            case Kind::Int:
                sum += sqlite3_column_int(stmt, i);
                break;
            case Kind::Int64:
                sum += sqlite3_column_int64(stmt, i);
                break;
            case Kind::Text:
                sum += sqlite3_column_text(stmt, i) ? sqlite3_column_bytes(stmt, i) : 0;
                break;
            case Kind::Blob:
                sum += sqlite3_column_blob(stmt, i) ? sqlite3_column_bytes(stmt, i) : 0;
                break;
            }
        }
    }
    sqlite3_finalize(stmt);
    return sum;
}

} // namespace

namespace BareSqlite {

qint64 readMessages(const QString& databasePath)
{
    sqlite3* db = openReadOnly(databasePath);
    const qint64 sum = readQuery(db, kMessageQuery);
    sqlite3_close(db);
    return sum;
}

qint64 readSource(const QString& databasePath)
{
    sqlite3* db = openReadOnly(databasePath);
    qint64 sum = readQuery(db, kChatQuery);
    sum += readQuery(db, kHandleQuery);
    sum += readQuery(db, kMessageQuery);
    sqlite3_close(db);
    return sum;
}

qint64 messageTextBytes(const QString& databasePath)
{
    sqlite3* db = openReadOnly(databasePath);
    sqlite3_stmt* stmt =
        prepare(db, "select sum(length(cast(m.guid as blob)) + length(cast(m.text as blob))) "
                    "from chat_message_join as j inner join message as m "
                    "on j.message_id = m.rowid and m.item_type <> 4");
    const qint64 bytes = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return bytes;
}

} // namespace BareSqlite
