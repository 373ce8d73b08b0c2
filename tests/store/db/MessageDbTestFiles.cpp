#include "MessageDbTestFiles.h"

#include "store/sql/Sqlite3DB.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <stdexcept>

namespace MessageDbTestFiles {

QString smsDbPath(const QDir& folder)
{
    return folder.filePath(QStringLiteral("file-relay/var/mobile/Library/SMS/sms.db"));
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void makeRawDb(const QString& path, const QStringList& statements)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    Sqlite3DB db;
    db.openThrow(path, Sqlite3DB::ReadWriteCreate);
    for (const QString& sql : statements) {
        QString error;
        if (db.exec(sql, error) != 0)
            throw std::runtime_error(QString(error + QStringLiteral(" in ") + sql).toStdString());
    }
    db.close();
}

QString fullScanTrigger()
{
    return QStringLiteral(
        "CREATE TRIGGER clean_orphaned_messages AFTER DELETE ON chat_message_join BEGIN DELETE FROM message "
        "WHERE (SELECT 1 FROM chat_message_join WHERE message_id = message.ROWID LIMIT 1) IS NULL; END");
}

QStringList oldStyleSchema(const QStringList& withoutTables)
{
    const QList<QPair<QString, QString>> tables = {
        {QStringLiteral("message"),
         QStringLiteral(
             "CREATE TABLE message (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT UNIQUE NOT NULL, text "
             "TEXT, "
             "replace INTEGER DEFAULT 0, service_center TEXT, handle_id INTEGER DEFAULT 0, subject TEXT, "
             "country TEXT, attributedBody BLOB, version INTEGER DEFAULT 0, type INTEGER DEFAULT 0, service "
             "TEXT, "
             "account TEXT, account_guid TEXT, error INTEGER DEFAULT 0, date INTEGER, date_read INTEGER, "
             "date_delivered INTEGER, is_delivered INTEGER DEFAULT 0, is_finished INTEGER DEFAULT 0, "
             "is_emote INTEGER DEFAULT 0, is_from_me INTEGER DEFAULT 0, is_empty INTEGER DEFAULT 0, "
             "is_delayed INTEGER DEFAULT 0, is_auto_reply INTEGER DEFAULT 0, is_prepared INTEGER DEFAULT 0, "
             "is_read INTEGER DEFAULT 0, is_system_message INTEGER DEFAULT 0, is_sent INTEGER DEFAULT 0, "
             "has_dd_results INTEGER DEFAULT 0, is_service_message INTEGER DEFAULT 0, is_forward INTEGER "
             "DEFAULT 0, was_downgraded INTEGER DEFAULT 0, is_archive INTEGER DEFAULT 0, "
             "cache_has_attachments "
             "INTEGER DEFAULT 0, cache_roomnames TEXT, was_data_detected INTEGER DEFAULT 0, was_deduplicated "
             "INTEGER DEFAULT 0, is_audio_message INTEGER DEFAULT 0, is_played INTEGER DEFAULT 0, "
             "date_played INTEGER)")},
        {QStringLiteral("handle"),
         QStringLiteral(
             "CREATE TABLE handle (ROWID INTEGER PRIMARY KEY AUTOINCREMENT UNIQUE, id TEXT NOT NULL, "
             "country TEXT, service TEXT NOT NULL, uncanonicalized_id TEXT, UNIQUE (id, service))")},
        {QStringLiteral("chat"),
         QStringLiteral(
             "CREATE TABLE chat (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT UNIQUE NOT NULL, "
             "style INTEGER, state INTEGER, account_id TEXT, properties BLOB, chat_identifier TEXT, "
             "service_name TEXT, room_name TEXT, account_login TEXT, is_archived INTEGER DEFAULT 0, "
             "last_addressed_handle TEXT, display_name TEXT)")},
        {QStringLiteral("attachment"),
         QStringLiteral(
             "CREATE TABLE attachment (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT UNIQUE NOT "
             "NULL, created_date INTEGER DEFAULT 0, start_date INTEGER DEFAULT 0, filename TEXT, uti "
             "TEXT, mime_type TEXT, transfer_state INTEGER DEFAULT 0, is_outgoing INTEGER DEFAULT 0)")},
        {QStringLiteral("chat_handle_join"),
         QStringLiteral("CREATE TABLE chat_handle_join (chat_id INTEGER REFERENCES chat (ROWID) ON DELETE "
                        "CASCADE, handle_id INTEGER REFERENCES handle (ROWID) ON DELETE CASCADE, UNIQUE "
                        "(chat_id, handle_id))")},
        {QStringLiteral("chat_message_join"),
         QStringLiteral(
             "CREATE TABLE chat_message_join (chat_id INTEGER REFERENCES chat (ROWID) ON DELETE "
             "CASCADE, message_id INTEGER REFERENCES message (ROWID) ON DELETE CASCADE, PRIMARY KEY "
             "(chat_id, message_id))")},
        {QStringLiteral("message_attachment_join"),
         QStringLiteral(
             "CREATE TABLE message_attachment_join (message_id INTEGER REFERENCES message (ROWID) ON "
             "DELETE CASCADE, attachment_id INTEGER REFERENCES attachment (ROWID) ON DELETE CASCADE, "
             "UNIQUE (message_id, attachment_id))")},
    };
    QStringList statements;
    for (const auto& table : tables) {
        if (!withoutTables.contains(table.first))
            statements.append(table.second);
    }
    if (!withoutTables.contains(QStringLiteral("message")))
        statements.append(QStringLiteral("CREATE INDEX message_idx_handle ON message(handle_id, date)"));
    if (!withoutTables.contains(QStringLiteral("chat_message_join")) &&
        !withoutTables.contains(QStringLiteral("message")))
        statements.append(fullScanTrigger());
    return statements;
}

QStringList columnNames(Sqlite3DB& db, const QString& table)
{
    QStringList names;
    Sqlite3Cursor cursor = db.queryThrow(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    while (cursor.moveNext())
        names.append(cursor.getText(QStringLiteral("name")));
    return names;
}

QStringList objectNames(Sqlite3DB& db, const QString& type)
{
    Sqlite3Sql sql(
        QStringLiteral("select name from sqlite_master where type=? and name not like 'sqlite_autoindex%'"));
    sql.addTextParam(type);
    Sqlite3Cursor cursor = db.queryThrow(sql);
    QStringList names;
    while (cursor.moveNext())
        names.append(cursor.getText(0));
    std::sort(names.begin(), names.end());
    return names;
}

QString objectSql(Sqlite3DB& db, const QString& name)
{
    Sqlite3Sql sql(QStringLiteral("select sql from sqlite_master where name=?"));
    sql.addTextParam(name);
    Sqlite3Cursor cursor = db.queryThrow(sql);
    return cursor.moveNext() ? cursor.getText(0) : QString();
}

qint64 scalar(Sqlite3DB& db, const QString& sql)
{
    Sqlite3Cursor cursor = db.queryThrow(sql);
    return cursor.moveNext() ? cursor.getInt64(0) : 0;
}

} // namespace MessageDbTestFiles
