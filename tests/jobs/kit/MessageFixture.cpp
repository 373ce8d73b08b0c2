#include "MessageFixture.h"

#include "store/ExportMessagesDb.h"
#include "store/IOS6MessageDb.h"

_MsgChat* MessageFixture::addChat(const QString& address, const QString& serviceName)
{
    auto* handle = new _MsgHandle;
    handle->rowid = nextRowid++;
    handle->id = address;
    handle->service = serviceName;
    set.handles.insert(handle->rowid, handle);

    auto* chat = new _MsgChat;
    chat->rowid = nextRowid++;
    chat->guid = serviceName + QStringLiteral(";-;") + address;
    chat->chat_identifier = address;
    chat->service_name = serviceName;
    chat->participants.insert(address, handle);
    set.chats.insert(chat->rowid, chat);
    return chat;
}

_MsgMessage* MessageFixture::addMessage(_MsgChat* chat, const QString& text, int date, bool fromMe)
{
    auto* message = addLooseMessage(text, date);
    message->chat = chat;
    message->handle = chat->participants.first();
    message->service = chat->service_name;
    message->is_from_me = fromMe ? 1 : 0;
    chat->messages.insert(QString::number(message->rowid), message);
    return message;
}

_MsgMessage* MessageFixture::addLooseMessage(const QString& text, int date)
{
    auto* message = new _MsgMessage;
    message->rowid = nextRowid++;
    message->orderRowid = message->rowid;
    message->guid = QStringLiteral("guid-%1").arg(message->rowid);
    message->text = text;
    message->date = date;
    message->service = QStringLiteral("SMS");
    set.messages.insert(message->rowid, message);
    return message;
}

void writeMessages(const QDir& folder, const QList<_MsgMessage*>& messages)
{
    ExportMessagesDb exporter(folder, QString());
    exporter.begin();
    for (const _MsgMessage* message : messages)
        exporter.write(*message);
    exporter.end();
}

std::unique_ptr<MessageSet> readBack(const QDir& folder)
{
    auto set = std::make_unique<MessageSet>();
    IOS6MessageDb db(folder, QString());
    db.readMessages(*set, 0);
    return set;
}

QString databaseFile(const QDir& folder)
{
    return IOS6MessageDb(folder, QString()).databasePath();
}
