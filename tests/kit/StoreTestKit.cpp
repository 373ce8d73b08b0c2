#include "tests/kit/StoreTestKit.h"

#include "store/ExportMessagesDb.h"
#include "store/IOS6MessageDb.h"

#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace StoreTestKit {

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

QStringList laterMessageColumns()
{
    return {"item_type",       "other_handle", "group_title",  "group_action_type",   "share_status",
            "share_direction", "is_expirable", "expire_state", "message_action_type", "logic_hash"};
}

void makeOlderFile(const QDir& folder, const QStringList& extra)
{
    QString path;
    {
        IOS6MessageDb current(folder, QString());
        current.open();
        path = current.databasePath();
    }
    QStringList statements = {
        QStringLiteral("DROP INDEX message_idx_logic_hash"), QStringLiteral("DROP INDEX chat_idx_last"),
        QStringLiteral("DROP TRIGGER clean_orphaned_messages"),
        QStringLiteral("CREATE TRIGGER clean_orphaned_messages AFTER DELETE ON chat_message_join BEGIN "
                       "DELETE FROM message WHERE (SELECT 1 FROM chat_message_join WHERE message_id = "
                       "message.ROWID LIMIT 1) IS NULL; END")};
    for (const QString& c : laterMessageColumns())
        statements.append(QStringLiteral("ALTER TABLE message DROP COLUMN ") + c);
    for (const char* c : {"chat DROP COLUMN group_id", "chat DROP COLUMN _last",
                          "handle DROP COLUMN _ct_name", "handle DROP COLUMN _photo"})
        statements.append(QStringLiteral("ALTER TABLE ") + QLatin1String(c));
    Sqlite3DB db;
    db.openThrow(path, Sqlite3DB::ReadWrite);
    for (const QString& sql : statements + extra) {
        QString error;
        if (db.exec(sql, error) != 0)
            throw std::runtime_error(QString(error + QStringLiteral(" in ") + sql).toStdString());
    }
}

QStringList column(Sqlite3DB& db, const QString& sql)
{
    QStringList values;
    Sqlite3Cursor cursor = db.queryThrow(sql);
    while (cursor.moveNext())
        values.append(cursor.getText(0));
    return values;
}

qint64 scalar(Sqlite3DB& db, const QString& sql)
{
    Sqlite3Cursor cursor = db.queryThrow(sql);
    return cursor.moveNext() ? cursor.getInt64(0) : 0;
}

QString tableCounts(Sqlite3DB& db)
{
    QStringList parts;
    for (const char* table : {"message", "chat", "handle", "attachment", "chat_handle_join",
                              "chat_message_join", "message_attachment_join"}) {
        const QString name = QLatin1String(table);
        parts.append(name + QLatin1Char('=') +
                     QString::number(scalar(db, QStringLiteral("select count(*) from ") + name)));
    }
    return parts.join(QLatin1Char(' '));
}

void writeMessages(const QDir& folder, const QList<_MsgMessage*>& messages)
{
    ExportMessagesDb exporter(folder, QString());
    exporter.begin();
    for (const _MsgMessage* message : messages)
        exporter.write(*message);
    exporter.end();
}

} // namespace StoreTestKit

_MsgHandle* Records::handle(const QString& id, const QString& name)
{
    auto* handle = new _MsgHandle;
    handle->rowid = nextRowid++;
    handle->id = id;
    handle->country = QStringLiteral("gb");
    handle->_ct_name = name;
    set.handles.insert(handle->rowid, handle);
    return handle;
}

_MsgChat* Records::chat(const QString& guid, const QList<_MsgHandle*>& participants)
{
    auto* chat = new _MsgChat;
    chat->rowid = nextRowid++;
    chat->guid = guid;
    chat->chat_identifier = guid.mid(guid.lastIndexOf(QLatin1Char(';')) + 1);
    for (_MsgHandle* participant : participants)
        chat->participants.insert(participant->id, participant);
    set.chats.insert(chat->rowid, chat);
    return chat;
}

_MsgMessage* Records::message(_MsgChat* chat, _MsgHandle* handle, int date, bool fromMe, const QString& text,
                              int itemType)
{
    auto* message = new _MsgMessage;
    message->rowid = nextRowid++;
    message->guid = QStringLiteral("guid-%1").arg(message->rowid);
    message->text = text;
    message->chat = chat;
    message->handle = handle;
    message->date = date;
    message->is_from_me = fromMe ? 1 : 0;
    message->item_type = itemType;
    message->set_service(QStringLiteral("SMS"));
    if (chat)
        chat->messages.append(message);
    set.messages.insert(message->rowid, message);
    return message;
}
