#include "store/IOS6MessageDb.h"

#include "store/MsgChat.h"
#include "store/MsgMessage.h"

// Removes one message; the schema's triggers clear the handle and attachment
// rows that became orphaned, and the chat row goes with its last message.
// The row ids are bound, so every message reuses the same four statements.
void IOS6MessageDb::deleteMessage(const _MsgMessage& message)
{
    openForWriting();
    Sqlite3Sql deleteRow(QStringLiteral("DELETE FROM message WHERE rowid=?"));
    deleteRow.addInt64Param(message.rowid);
    executeThrow(deleteRow);

    Sqlite3Sql deleteChatJoin(QStringLiteral("DELETE FROM chat_message_join where message_id=?"));
    deleteChatJoin.addInt64Param(message.rowid);
    executeThrow(deleteChatJoin);

    Sqlite3Sql deleteAttachmentJoin(QStringLiteral("DELETE FROM message_attachment_join where message_id=?"));
    deleteAttachmentJoin.addInt64Param(message.rowid);
    executeThrow(deleteAttachmentJoin);

    if (!message.chat)
        return;
    Sqlite3Sql deleteChat(QStringLiteral("DELETE FROM chat WHERE rowid=? and (SELECT 1 from "
                                         "chat_message_join WHERE chat_id=? LIMIT 1) IS NULL"));
    deleteChat.addInt64Param(message.chat->rowid);
    deleteChat.addInt64Param(message.chat->rowid);
    executeThrow(deleteChat);
}
