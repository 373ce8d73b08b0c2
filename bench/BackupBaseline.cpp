#include "bench/BackupBaseline.h"

#include "store/MessageHash.h"
#include "store/MessageSet.h"
#include "store/MessageText.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

namespace {

class Statement
{
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "prepare failed: %s\n%s\n", sqlite3_errmsg(db), sql);
            std::exit(1);
        }
    }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& text(const QString& value)
    {
        sqlite3_bind_text16(stmt, ++index, value.utf16(), int(value.size() * 2), SQLITE_STATIC);
        return *this;
    }
    Statement& textOrNull(const QString& value)
    {
        if (value.isEmpty()) {
            sqlite3_bind_null(stmt, ++index);
            return *this;
        }
        return text(value);
    }
    Statement& blobOrNull(const QByteArray& value)
    {
        if (value.isEmpty())
            sqlite3_bind_null(stmt, ++index);
        else
            sqlite3_bind_blob(stmt, ++index, value.constData(), int(value.size()), SQLITE_STATIC);
        return *this;
    }
    Statement& number(qint64 value)
    {
        sqlite3_bind_int64(stmt, ++index, value);
        return *this;
    }
    // Runs the statement; returns the first column of the first row, or 0.
    qint64 run()
    {
        qint64 result = 0;
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW)
            result = sqlite3_column_int64(stmt, 0);
        else if (rc != SQLITE_DONE)
            fail();
        sqlite3_reset(stmt);
        index = 0;
        return result;
    }

private:
    [[noreturn]] void fail()
    {
        std::fprintf(stderr, "step failed: %s\n", sqlite3_errmsg(sqlite3_db_handle(stmt)));
        std::exit(1);
    }

    sqlite3_stmt* stmt = nullptr;
    int index = 0;
};

class Baseline
{
public:
    explicit Baseline(sqlite3* db) : db(db) {}

    void write(const _MsgMessage& m)
    {
        if (!m.chat)
            return;
        const _MsgChat& chat = *m.chat;
        qint64 c = findChat.text(chat.guid).run();
        if (c == 0)
            c = insertChat(chat);
        const qint64 h = m.handle ? storeChatHandle(c, *m.handle) : 0;
        const QString hash = logicHash(m);
        qint64 id = findByHash.text(hash).run();
        if (id == 0)
            id = findByGuid.text(m.guid).run();
        if (id == 0) {
            const qint64 o = m.otherHandle ? storeChatHandle(c, *m.otherHandle) : 0;
            insertMessage(m, h, o, hash);
            id = sqlite3_last_insert_rowid(db);
            joinChatMessage.number(c).number(id).run();
            raiseLast.number(m.date).number(c).number(m.date).run();
        }
        if (m.handle && isGroupChat(chat))
            setLastAddressed.text(m.handle->id).number(c).run();
    }

private:
    qint64 storeChatHandle(qint64 c, const _MsgHandle& handle)
    {
        qint64 h = findHandle.text(handle.id).text(handle.service).run();
        if (h != 0) {
            if (hasChatHandle.number(c).number(h).run() == 0)
                joinChatHandle.number(c).number(h).run();
            return h;
        }
        insertHandle.text(handle.id)
            .textOrNull(handle.country)
            .text(handle.service)
            .textOrNull(handle.uncanonicalized_id)
            .text(handle._ct_name)
            .blobOrNull(handle._photo)
            .run();
        h = sqlite3_last_insert_rowid(db);
        joinChatHandle.number(c).number(h).run();
        return h;
    }

    qint64 insertChat(const _MsgChat& chat)
    {
        const QString groupId = chat.group_id.isEmpty() ? guidFromBytes(chat.guid.toUtf8()) : chat.group_id;
        insertChatRow.text(chat.guid)
            .number(chat.style)
            .number(chat.state)
            .textOrNull(chat.account_id)
            .text(chat.chat_identifier)
            .text(chat.service_name)
            .textOrNull(chat.room_name)
            .text(chat.account_login)
            .number(chat.is_archived)
            .textOrNull(chat.display_name)
            .text(groupId)
            .run();
        const qint64 c = sqlite3_last_insert_rowid(db);
        for (const _MsgHandle* participant : chat.participants)
            storeChatHandle(c, *participant);
        return c;
    }

    void insertMessage(const _MsgMessage& m, qint64 h, qint64 o, const QString& hash)
    {
        Statement& s = insertMessageRow;
        s.text(m.guid).text(m.text).number(m.replace()).textOrNull(m.service_center()).number(h);
        s.textOrNull(m.subject()).textOrNull(m.country()).blobOrNull(m.attributedBody());
        s.number(m.version()).number(m.type()).text(m.service()).text(m.account()).text(m.account_guid());
        s.number(m.error()).number(m.date).number(m.date_read).number(m.date_delivered);
        s.number(m.is_delivered()).number(m.is_finished()).number(m.is_emote()).number(m.is_from_me);
        s.number(m.is_empty()).number(m.is_delayed()).number(m.is_auto_reply()).number(m.is_prepared());
        s.number(m.is_read()).number(m.is_system_message()).number(m.is_sent()).number(m.has_dd_results());
        s.number(m.is_service_message()).number(m.is_forward()).number(m.was_downgraded()).number(m.is_archive());
        s.number(m.cache_has_attachments()).text(m.cache_roomnames()).number(m.was_data_detected());
        s.number(m.was_deduplicated()).number(m.is_audio_message()).number(m.is_played()).number(m.date_played());
        s.number(m.item_type).number(o > 0 ? o : -1).textOrNull(m.group_title()).number(m.group_action_type());
        s.number(m.share_status()).number(m.share_direction()).number(m.is_expirable()).number(m.expire_state());
        s.number(m.message_action_type()).text(hash);
        s.run();
    }

    sqlite3* db;
    Statement findChat{db, "select rowid from chat where guid=?"};
    Statement insertChatRow{db, "insert into chat(guid,style,state,account_id,chat_identifier,service_name,"
                                "room_name,account_login,is_archived,display_name,group_id) "
                                "values(?,?,?,?,?,?,?,?,?,?,?)"};
    Statement findHandle{db, "select rowid from handle where id=? and service=?"};
    Statement insertHandle{db, "insert into handle(id,country,service,uncanonicalized_id,_ct_name,_photo) "
                               "values(?,?,?,?,?,?)"};
    Statement hasChatHandle{db, "select 1 from chat_handle_join where chat_id=? and handle_id=?"};
    Statement joinChatHandle{db, "replace into chat_handle_join(chat_id,handle_id) values(?,?)"};
    Statement findByHash{db, "select rowid from message where logic_hash=?"};
    Statement findByGuid{db, "select rowid from message where guid=?"};
    Statement insertMessageRow{
        db,
        "insert into message(guid,text,replace,service_center,handle_id,subject,country,attributedBody,"
        "version,type,service,account,account_guid,error,date,date_read,date_delivered,is_delivered,"
        "is_finished,is_emote,is_from_me,is_empty,is_delayed,is_auto_reply,is_prepared,is_read,"
        "is_system_message,is_sent,has_dd_results,is_service_message,is_forward,was_downgraded,is_archive,"
        "cache_has_attachments,cache_roomnames,was_data_detected,was_deduplicated,is_audio_message,"
        "is_played,date_played,item_type,other_handle,group_title,group_action_type,share_status,"
        "share_direction,is_expirable,expire_state,message_action_type,logic_hash) "
        "values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?"
        ","
        "?,?,?)"};
    Statement joinChatMessage{db, "replace into chat_message_join(chat_id,message_id) values(?,?)"};
    Statement raiseLast{db, "update chat set _last=? where rowid=? and _last < ?"};
    Statement setLastAddressed{db, "update chat set last_addressed_handle=? where rowid=?"};
};

} // namespace

void runBackupBaseline(const QString& path, const QList<_MsgMessage*>& messages)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
        std::exit(1);
    }
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    {
        Baseline baseline(db);
        for (const _MsgMessage* message : messages)
            baseline.write(*message);
    }
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "commit failed: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    sqlite3_close(db);
}
