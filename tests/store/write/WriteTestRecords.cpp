#include "tests/store/write/WriteTestRecords.h"

#include "store/sql/Sqlite3DB.h"

#include <QStringList>

_MsgHandle* WriteTestRecords::handle(const QString& id, const QString& name)
{
    auto* handle = new _MsgHandle;
    handle->rowid = nextRowid++;
    handle->id = id;
    handle->country = QStringLiteral("gb");
    handle->_ct_name = name;
    set.handles.insert(handle->rowid, handle);
    return handle;
}

_MsgChat* WriteTestRecords::singleChat(_MsgHandle* handle)
{
    _MsgChat* made = chat(QStringLiteral("SMS;-;") + handle->id, {handle});
    made->chat_identifier = handle->id;
    return made;
}

_MsgChat* WriteTestRecords::chat(const QString& guid, const QList<_MsgHandle*>& participants)
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

_MsgMessage* WriteTestRecords::message(_MsgChat* chat, _MsgHandle* handle, int date, bool fromMe,
                                       const QString& text)
{
    auto* message = new _MsgMessage;
    message->rowid = nextRowid++;
    message->guid = QStringLiteral("guid-%1").arg(message->rowid);
    message->text = text;
    message->chat = chat;
    message->handle = handle;
    message->date = date;
    message->is_from_me = fromMe ? 1 : 0;
    message->service = QStringLiteral("SMS");
    if (chat)
        chat->messages.insert(QString::number(message->rowid), message);
    set.messages.insert(message->rowid, message);
    return message;
}

_MsgMessage* WriteTestRecords::systemMessage(_MsgChat* chat, int itemType, const QString& guid, int date)
{
    _MsgMessage* made = message(chat, nullptr, date, true, QString());
    made->item_type = itemType;
    made->guid = guid;
    return made;
}

_MsgAttachment* WriteTestRecords::attachment(_MsgMessage* message, const QString& filename,
                                             const QString& sourcePath)
{
    auto* attachment = new _MsgAttachment;
    attachment->rowid = nextRowid++;
    attachment->guid = QStringLiteral("att-%1").arg(attachment->rowid);
    attachment->filename = filename;
    attachment->mime_type = QStringLiteral("image/jpeg");
    attachment->sourcePath = sourcePath;
    message->attachments.insert(attachment->rowid, attachment);
    set.attachments.insert(attachment->rowid, attachment);
    return attachment;
}

namespace WriteTestDb {

qint64 scalar(Sqlite3DB& db, const QString& sql)
{
    Sqlite3Cursor cursor = db.queryThrow(sql);
    return cursor.moveNext() ? cursor.getInt64(0) : 0;
}

QString text(Sqlite3DB& db, const QString& sql)
{
    Sqlite3Cursor cursor = db.queryThrow(sql);
    return cursor.moveNext() ? cursor.getText(0) : QString();
}

QString tableCounts(Sqlite3DB& db)
{
    static const char* const tables[] = {"message",
                                         "chat",
                                         "handle",
                                         "attachment",
                                         "chat_handle_join",
                                         "chat_message_join",
                                         "message_attachment_join"};
    QStringList parts;
    for (const char* table : tables) {
        const QString name = QLatin1String(table);
        parts.append(name + QLatin1Char('=') +
                     QString::number(scalar(db, QStringLiteral("select count(*) from ") + name)));
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace WriteTestDb
