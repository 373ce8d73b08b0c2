#include "store/ExportMessagesDb.h"

#include "store/MessageHash.h"
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
    forgetRows();
    inserted = 0;
    db.beginTransaction();
    onlyHashGuids = !db.hasMessages();
    db.setPageCacheMegabytes(kPageCacheMegabytes);
}

void ExportMessagesDb::end()
{
    for (auto it = newestDates.cbegin(); it != newestDates.cend(); ++it)
        db.raiseChatLast(it.key(), it.value());
    forgetRows();
    db.endTransaction(true);
    db.close();
}

void ExportMessagesDb::abandon()
{
    forgetRows();
    db.close();
}

bool ExportMessagesDb::hasMessageWithLogicHash(const QString& hash)
{
    return db.findMessageRowidByLogicHash(hash) != 0;
}

CountryInfo ExportMessagesDb::country()
{
    return db.countries().currentCountry();
}

CountryInfo ExportMessagesDb::countryOfRegion(const QString& regionCode)
{
    return db.countries().findBySn(regionCode);
}

void ExportMessagesDb::forgetRows()
{
    chatRowids.clear();
    handleRowids.clear();
    joinedChatHandles.clear();
    newestDates.clear();
}

void ExportMessagesDb::write(const _MsgMessage& message)
{
    if (message.item_type != 0 && !db.storesSystemMessages())
        return;
    store(message, logicHash(message), false);
}

void ExportMessagesDb::write(const SimpleSms& sms)
{
    store(sms.message(), sms.logicHashText(), true);
}

qint64 ExportMessagesDb::findStored(const _MsgMessage& message, const QString& hash, bool guidFromHash)
{
    qint64 rowid = 0;
    if (!(guidFromHash && onlyHashGuids))
        rowid = db.findMessageRowidByLogicHash(hash);
    // The other party is stored only with a new message, so such a message
    // is looked up by guid before; any other's guid is asked by its insert.
    if (rowid == 0 && message.otherHandle)
        rowid = db.findMessageRowid(message);
    return rowid;
}

void ExportMessagesDb::store(const _MsgMessage& message, const QString& hash, bool guidFromHash)
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

    const qint64 chatRowid = storeChat(chat);

    const qint64 handleRowid = message.handle ? storeChatHandle(chatRowid, *message.handle) : 0;

    // Already stored (by content, then by guid): neither inserted nor joined
    // again. The content hash is computed once for the look-up and the row.
    qint64 messageRowid = findStored(message, hash, guidFromHash);
    bool stored = messageRowid != 0;
    if (!stored) {
        const qint64 otherRowid = message.otherHandle ? storeChatHandle(chatRowid, *message.otherHandle) : 0;
        messageRowid = db.insertMessageUnlessStored(message, handleRowid, otherRowid, hash, stored);
        onlyHashGuids = onlyHashGuids && (guidFromHash || stored);
    }
    if (!stored) {
        db.joinChatMessage(chatRowid, messageRowid);
        ++inserted;
        const auto newest = newestDates.find(chatRowid);
        if (newest == newestDates.end())
            newestDates.insert(chatRowid, message.date);
        else if (message.date > newest.value())
            newest.value() = message.date;
    }

    if (message.handle && isGroupChat(chat))
        db.setLastAddressedHandle(chatRowid, message.handle->id);

    storeAttachments(message, messageRowid);
}

qint64 ExportMessagesDb::storeChat(const _MsgChat& chat)
{
    qint64& rowid = chatRowids[chat.guid];
    if (rowid == 0)
        rowid = db.findChatRowid(chat);
    if (rowid == 0)
        rowid = db.insertChat(chat);
    return rowid;
}

qint64 ExportMessagesDb::storeChatHandle(qint64 chatRowid, const _MsgHandle& handle)
{
    qint64& handleRowid = handleRowids[qMakePair(handle.id, handle.service)];
    const QPair<qint64, qint64> join(chatRowid, handleRowid);
    if (handleRowid != 0 && joinedChatHandles.contains(join))
        return handleRowid;
    if (handleRowid == 0)
        handleRowid = db.findHandleRowid(handle);
    if (handleRowid != 0) {
        if (!db.hasChatHandle(chatRowid, handleRowid))
            db.joinChatHandle(chatRowid, handleRowid);
    } else {
        handleRowid = db.insertHandle(handle);
        db.joinChatHandle(chatRowid, handleRowid);
    }
    joinedChatHandles.insert(qMakePair(chatRowid, handleRowid));
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
