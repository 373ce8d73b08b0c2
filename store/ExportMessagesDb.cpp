#include "store/ExportMessagesDb.h"

#include "store/MessageText.h"
#include "store/MsgAttachment.h"
#include "store/MsgChat.h"
#include "store/MsgHandle.h"

#include <QDebug>

#include <algorithm>

namespace {
// Chat row ids below this mark records of an unknown conversation.
constexpr qint64 kUnknownChatRowid = -2047483646;
} // namespace

ExportMessagesDb::ExportMessagesDb(const QDir& folder, const QString& mcc) : db(folder, mcc) {}

void ExportMessagesDb::begin()
{
    db.beginTransaction();
}

void ExportMessagesDb::end()
{
    db.endTransaction(true);
    db.close();
}

void ExportMessagesDb::write(const _MsgMessage& message)
{
    if (message.item_type != 0 && !db.storesSystemMessages())
        return;
    if (!message.chat) {
        qDebug("IOS6RestoreMessagesThread skip message with empty chat.");
        return;
    }
    if (message.chat->rowid < kUnknownChatRowid) {
        qDebug("IOS6RestoreMessagesThread skip message with unknown chat.");
        return;
    }
    const _MsgChat& chat = *message.chat;

    qint64 chatRowid = db.findChatRowid(chat);
    if (chatRowid == 0)
        chatRowid = db.insertChat(chat);

    const qint64 handleRowid = message.handle ? storeChatHandle(chatRowid, *message.handle) : 0;

    // Already stored (by content, then by guid): neither inserted nor joined again.
    qint64 messageRowid = db.findMessageRowidByLogicHash(message);
    if (messageRowid == 0)
        messageRowid = db.findMessageRowid(message);
    if (messageRowid == 0) {
        const qint64 otherRowid = message.otherHandle ? storeChatHandle(chatRowid, *message.otherHandle) : 0;
        messageRowid = db.insertMessage(message, handleRowid, otherRowid, QString());
        db.joinChatMessage(chatRowid, messageRowid);
        db.raiseChatLast(chatRowid, message.date);
    }

    if (message.handle && isGroupChat(chat))
        db.setLastAddressedHandle(chatRowid, message.handle->id);

    storeAttachments(message, messageRowid);
}

qint64 ExportMessagesDb::storeChatHandle(qint64 chatRowid, const _MsgHandle& handle)
{
    qint64 handleRowid = db.findHandleRowid(handle);
    if (handleRowid != 0) {
        if (!db.hasChatHandle(chatRowid, handleRowid))
            db.joinChatHandle(chatRowid, handleRowid);
        return handleRowid;
    }
    handleRowid = db.insertHandle(handle);
    db.joinChatHandle(chatRowid, handleRowid);
    return handleRowid;
}

void ExportMessagesDb::storeAttachments(const _MsgMessage& message, qint64 messageRowid)
{
    if (message.attachments.isEmpty())
        return;
    QList<const _MsgAttachment*> attachments;
    for (const _MsgAttachment* attachment : message.attachments) {
        if (attachment)
            attachments.append(attachment);
    }
    std::stable_sort(attachments.begin(), attachments.end(),
                     [](const _MsgAttachment* a, const _MsgAttachment* b) { return a->rowid < b->rowid; });
    for (const _MsgAttachment* attachment : std::as_const(attachments)) {
        db.copyAttachmentFile(*attachment);
        qint64 attachmentRowid = db.findAttachmentRowid(*attachment);
        if (attachmentRowid == 0)
            attachmentRowid = db.insertAttachment(*attachment);
        db.joinMessageAttachment(messageRowid, attachmentRowid);
    }
}
