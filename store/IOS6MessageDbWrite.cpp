#include "store/IOS6MessageDb.h"

#include "base/PathGuard.h"
#include "store/MessageColumns.h"
#include "store/MessageHash.h"
#include "store/MsgAttachment.h"
#include "store/MsgChat.h"
#include "store/MsgHandle.h"
#include "store/MsgMessage.h"
#include "sql/Sqlite3Row.h"
#include "sql/SqliteException.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <stdexcept>

// What the tables of the open file allow the writer to fill. Taken from the
// CREATE texts once and kept with them: the texts are held here, so a
// refreshed tableSql (a reopened connection) always brings new text buffers
// and the checks are taken again.
struct IOS6MessageDb::WriteColumns
{
    bool chatDisplayName = false;
    bool chatGroupId = false;
    bool chatLast = false;

    bool handleContactName = false;
    bool handlePhoto = false;

    // The message columns a new row fills: every one that all files have,
    // and each optional one that the table's CREATE text names.
    std::vector<const MessageColumn*> message;
    bool itemType = false;
    bool logicHash = false;

    bool userInfo = false;
    bool transferName = false;
    bool totalBytes = false;
};

namespace {

bool has(const QString& createSql, const char* text)
{
    return createSql.contains(QLatin1String(text), Qt::CaseSensitive);
}

bool hasIgnoringCase(const QString& createSql, const char* text)
{
    return createSql.contains(QLatin1String(text), Qt::CaseInsensitive);
}

// The attachment's file name as a path below the file-relay folder: without a
// leading "/", with "~/" meaning the phone user's folder, and without the
// characters that no file name on the computer may hold.
QString relayRelativeName(const QString& filename)
{
    QString name = filename;
    if (name.startsWith(QLatin1Char('/')))
        name.remove(0, 1);
    if (name.startsWith(QLatin1String("~/")))
        name.replace(0, 2, QStringLiteral("var/mobile/"));
    static const QString forbidden = QStringLiteral(":*?\"<>|");
    QString cleaned;
    cleaned.reserve(name.size());
    for (const QChar c : std::as_const(name)) {
        if (!forbidden.contains(c))
            cleaned.append(c);
    }
    return cleaned;
}

} // namespace

const IOS6MessageDb::WriteColumns& IOS6MessageDb::writeColumns()
{
    openForWriting();
    if (writeColumnsCache)
        return *writeColumnsCache;
    const QString chat = tableSql.value(QStringLiteral("chat"));
    const QString handle = tableSql.value(QStringLiteral("handle"));
    const QString message = tableSql.value(QStringLiteral("message"));
    const QString attachment = tableSql.value(QStringLiteral("attachment"));

    auto columns = std::make_shared<WriteColumns>();

    columns->chatDisplayName = has(chat, "display_name");
    columns->chatGroupId = has(chat, "group_id");
    columns->chatLast = hasIgnoringCase(chat, "_last INTEGER");

    columns->handleContactName = hasIgnoringCase(handle, "_ct_name TEXT");
    columns->handlePhoto = hasIgnoringCase(handle, "_photo BLOB");

    for (const MessageColumn& column : messageColumns()) {
        if (!column.isOptional() || message.contains(column.name, Qt::CaseSensitive))
            columns->message.push_back(&column);
    }
    columns->itemType = has(message, "item_type");
    columns->logicHash = has(message, "logic_hash");

    columns->userInfo = has(attachment, "user_info");
    columns->transferName = has(attachment, "transfer_name");
    columns->totalBytes = has(attachment, "total_bytes");

    writeColumnsCache = columns;
    return *writeColumnsCache;
}

bool IOS6MessageDb::storesSystemMessages()
{
    return writeColumns().itemType;
}

bool IOS6MessageDb::storesLogicHash()
{
    return writeColumns().logicHash;
}

qint64 IOS6MessageDb::insertChat(const _MsgChat& chat)
{
    openForWriting();
    if (chat.service_name != QLatin1String("SMS") && chat.service_name != QLatin1String("iMessage")) {
        const QString error = QStringLiteral("IOS6MessageDb::insertChat, invalid chat, service_name:%1");
        throw std::runtime_error(error.arg(chat.service_name).toUtf8().toStdString());
    }
    const WriteColumns& columns = writeColumns();
    Sqlite3Row row;
    row.insert(QStringLiteral("guid"), chat.guid);
    row.insert(QStringLiteral("style"), chat.style);
    row.insert(QStringLiteral("state"), chat.state);
    if (!chat.account_id.isEmpty())
        row.insert(QStringLiteral("account_id"), chat.account_id);
    row.insert(QStringLiteral("chat_identifier"), chat.chat_identifier);
    row.insert(QStringLiteral("service_name"), chat.service_name);
    if (!chat.room_name.isEmpty())
        row.insert(QStringLiteral("room_name"), chat.room_name);
    row.insert(QStringLiteral("account_login"), chat.account_login);
    row.insert(QStringLiteral("is_archived"), chat.is_archived);
    if (columns.chatDisplayName && !chat.display_name.isEmpty())
        row.insert(QStringLiteral("display_name"), chat.display_name);
    if (columns.chatGroupId) {
        const QString groupId = chat.group_id.isEmpty() ? guidFromBytes(chat.guid.toUtf8()) : chat.group_id;
        row.insert(QStringLiteral("group_id"), groupId);
    }
    const qint64 chatRowid = insertRow(row, QStringLiteral("chat"));

    for (const _MsgHandle* participant : chat.participants) {
        if (!participant)
            continue;
        qint64 handleRowid = findHandleRowid(*participant);
        if (handleRowid == 0)
            handleRowid = insertHandle(*participant);
        joinChatHandle(chatRowid, handleRowid);
    }
    return chatRowid;
}

qint64 IOS6MessageDb::insertHandle(const _MsgHandle& handle)
{
    const WriteColumns& columns = writeColumns();
    Sqlite3Row row;
    row.insert(QStringLiteral("id"), handle.id);
    if (!handle.country.isEmpty())
        row.insert(QStringLiteral("country"), handle.country);
    row.insert(QStringLiteral("service"), handle.service);
    if (!handle.uncanonicalized_id.isEmpty())
        row.insert(QStringLiteral("uncanonicalized_id"), handle.uncanonicalized_id);
    if (columns.handleContactName)
        row.insert(QStringLiteral("_ct_name"), handle._ct_name);
    if (columns.handlePhoto)
        row.insert(QStringLiteral("_photo"), handle._photo);
    return insertRow(row, QStringLiteral("handle"));
}

qint64 IOS6MessageDb::insertMessage(const _MsgMessage& message, qint64 handleRowid, qint64 otherRowid,
                                    const QString& logicHashText)
{
    const WriteColumns& columns = writeColumns();
    const NewMessageRow source{message, handleRowid, otherRowid, logicHashText};
    Sqlite3Row row;
    row.reserve(int(columns.message.size()));
    for (const MessageColumn* column : columns.message) {
        const QVariant value = column->value(source);
        if (value.isValid())
            row.insert(column->name, value);
    }
    return insertRow(row, QStringLiteral("message"));
}

qint64 IOS6MessageDb::insertMessageUnlessStored(const _MsgMessage& message, qint64 handleRowid,
                                                qint64 otherRowid, const QString& logicHashText, bool& stored)
{
    stored = false;
    try {
        return insertMessage(message, handleRowid, otherRowid, logicHashText);
    } catch (const SqliteException& e) {
        // The guid is the message table's one unique column. The failed
        // statement is undone alone: the transaction and the table's
        // row-id sequence stay as they were.
        if (e.code() != SQLITE_CONSTRAINT_UNIQUE)
            throw;
        const qint64 rowid = findMessageRowid(message);
        if (rowid == 0)
            throw;
        stored = true;
        return rowid;
    }
}

bool IOS6MessageDb::hasMessages()
{
    open();
    Sqlite3Cursor cursor = queryThrow(QStringLiteral("select 1 from message limit 1"));
    return cursor.moveNext();
}

qint64 IOS6MessageDb::insertAttachment(const _MsgAttachment& attachment)
{
    const WriteColumns& columns = writeColumns();
    Sqlite3Row row;
    row.insert(QStringLiteral("guid"), attachment.guid);
    row.insert(QStringLiteral("created_date"), attachment.created_date);
    row.insert(QStringLiteral("start_date"), attachment.start_date);
    row.insert(QStringLiteral("filename"), attachment.filename);
    row.insert(QStringLiteral("uti"), attachment.uti);
    row.insert(QStringLiteral("mime_type"), attachment.mime_type);
    row.insert(QStringLiteral("transfer_state"), attachment.transfer_state);
    row.insert(QStringLiteral("is_outgoing"), attachment.is_outgoing);
    if (columns.userInfo && !attachment.user_info.isEmpty())
        row.insert(QStringLiteral("user_info"), attachment.user_info);
    if (columns.transferName && !attachment.transfer_name.isEmpty())
        row.insert(QStringLiteral("transfer_name"), attachment.transfer_name);
    if (columns.totalBytes)
        row.insert(QStringLiteral("total_bytes"), attachment.total_bytes);
    return insertRow(row, QStringLiteral("attachment"));
}

// The row ids of the joins and updates are bound rather than pasted into the
// text, so every message reuses one prepared statement.
namespace {
Sqlite3Sql twoIds(const QString& text, qint64 first, qint64 second)
{
    Sqlite3Sql sql(text);
    sql.addInt64Param(first);
    sql.addInt64Param(second);
    return sql;
}
} // namespace

void IOS6MessageDb::joinChatHandle(qint64 chatRowid, qint64 handleRowid)
{
    openForWriting();
    executeThrow(twoIds(QStringLiteral("replace into chat_handle_join(chat_id,handle_id) values(?,?)"),
                        chatRowid, handleRowid));
}

void IOS6MessageDb::joinChatMessage(qint64 chatRowid, qint64 messageRowid)
{
    openForWriting();
    executeThrow(twoIds(QStringLiteral("replace into chat_message_join(chat_id,message_id) values(?,?)"),
                        chatRowid, messageRowid));
}

void IOS6MessageDb::joinMessageAttachment(qint64 messageRowid, qint64 attachmentRowid)
{
    openForWriting();
    executeThrow(
        twoIds(QStringLiteral("replace into message_attachment_join(message_id,attachment_id) values(?,?)"),
               messageRowid, attachmentRowid));
}

void IOS6MessageDb::setLastAddressedHandle(qint64 chatRowid, const QString& text)
{
    openForWriting();
    Sqlite3Sql sql(QStringLiteral("update chat set last_addressed_handle=? where rowid=?"));
    sql.addTextParam(text);
    sql.addInt64Param(chatRowid);
    executeThrow(sql);
}

void IOS6MessageDb::raiseChatLast(qint64 chatRowid, int date)
{
    openForWriting();
    if (!writeColumns().chatLast)
        return;
    Sqlite3Sql sql(QStringLiteral("update chat set _last=? where rowid=? and _last < ?"));
    sql.addIntParam(date);
    sql.addInt64Param(chatRowid);
    sql.addIntParam(date);
    executeThrow(sql);
}

void IOS6MessageDb::copyAttachmentFile(const _MsgAttachment& attachment)
{
    if (attachment.sourcePath.isEmpty() || !QFileInfo(attachment.sourcePath).isFile())
        return;
    const QString relay = QDir::cleanPath(relayDir.absolutePath()) + QLatin1Char('/');
    const QString target = QDir::cleanPath(relayDir.absoluteFilePath(relayRelativeName(attachment.filename)));
    // A name with ".." segments or an absolute path could point anywhere;
    // only places strictly below the relay folder are written.
    if (!target.startsWith(relay)) {
        qWarning().noquote() << "attachment file name outside file-relay, not copied:" << attachment.filename;
        return;
    }
    // Nor through a symbolic link below the folder that leads elsewhere.
    if (!entryLeadingOutside(folderDir.absolutePath(), target).isEmpty()) {
        qWarning().noquote() << "attachment folder leads outside the database folder, not copied:"
                             << attachment.filename;
        return;
    }
    if (QFileInfo::exists(target))
        return;
    // A failed copy is not an error: the attachment row is written all the same.
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::copy(attachment.sourcePath, target);
}
