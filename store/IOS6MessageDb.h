#pragma once

#include "country/CountryLibDb.h"
#include "store/AbsIOSMessageDb.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QString>

#include <initializer_list>
#include <memory>

struct _MsgAttachment;
struct _MsgChat;
struct _MsgHandle;
struct _MsgMessage;

// One message database folder F: the SQLite file lies at
// F/file-relay/var/mobile/Library/SMS/sms.db, attachment files below F/file-relay.
// Nothing is opened at construction; every operation opens the file first,
// creating it when it is missing. Reading leaves an existing file exactly as
// it was (a read-only file reads too); the first write on a connection brings
// an older file up to date. A folder whose path to the file leads elsewhere
// through a symbolic link is refused. One thread at a time.
class IOS6MessageDb : public AbsIOSMessageDb
{
public:
    IOS6MessageDb(const QDir& folder, const QString& mcc);
    ~IOS6MessageDb() override;

    void open() override;
    // open(), then, once per connection, the upgrade of an older file and the
    // current orphan trigger. Throws when the file is read-only.
    void openForWriting() override;
    // Closes the file and the country library the reader opened.
    void close() override;
    // Lets this connection keep up to `megabytes` of the file's pages in
    // memory until it closes (SQLite's default is about 2 MB). A bulk write
    // then finds the pages of its random-key indexes (guid, logic hash) in
    // memory instead of reading them back and writing them out again, which
    // costs more with every page the file grows by. Pages are taken as they
    // are needed, so a small file never takes that much.
    void setPageCacheMegabytes(int megabytes);
    int version() const override { return 6; }

    // Reading (IOS6MessageDbRead.cpp)
    void readChats(MessageSet& set) override;
    void readMessages(MessageSet& set, qint64 chatRowid) override;
    // The single-row lookups, each the row id of the first match or 0 (all through findRowid):
    // a chat by guid, a handle by id and service, a message by guid or by
    // logic hash (0 at once when the table keeps no hashes), an attachment by guid.
    qint64 findChatRowid(const _MsgChat& chat);
    qint64 findHandleRowid(const _MsgHandle& handle);
    qint64 findMessageRowid(const _MsgMessage& message);
    qint64 findMessageRowidByLogicHash(const _MsgMessage& message);
    // The same with the message's logic hash already computed.
    qint64 findMessageRowidByLogicHash(const QString& hash);
    qint64 findAttachmentRowid(const _MsgAttachment& attachment);
    bool hasChatHandle(qint64 chatRowid, qint64 handleRowid);
    // The region code (upper case) most correspondents are stored with;
    // empty when none names one.
    QString mostCommonHandleCountry();

    // Writing (IOS6MessageDbWrite.cpp)
    // Whether the message table holds any row: what a bulk write asks first.
    bool hasMessages();
    qint64 insertChat(const _MsgChat& chat);
    qint64 insertHandle(const _MsgHandle& handle);
    qint64 insertMessage(const _MsgMessage& message, qint64 handleRowid, qint64 otherRowid,
                         const QString& logicHashText);
    // insertMessage, unless a message with the same guid is stored already:
    // then nothing is written, `stored` is set and that message's row id
    // returned. The insert asks the guid's unique index anyway, so a new
    // message costs no look-up of its own.
    qint64 insertMessageUnlessStored(const _MsgMessage& message, qint64 handleRowid, qint64 otherRowid,
                                     const QString& logicHashText, bool& stored);
    qint64 insertAttachment(const _MsgAttachment& attachment);
    void joinChatHandle(qint64 chatRowid, qint64 handleRowid);
    void joinChatMessage(qint64 chatRowid, qint64 messageRowid);
    void joinMessageAttachment(qint64 messageRowid, qint64 attachmentRowid);
    void setLastAddressedHandle(qint64 chatRowid, const QString& text);
    void raiseChatLast(qint64 chatRowid, int date);
    // Copies an attachment's file below the file-relay folder (never outside it).
    void copyAttachmentFile(const _MsgAttachment& attachment);

    // Deleting (IOS6MessageDbDelete.cpp)
    void deleteMessage(const _MsgMessage& message);

    QDir folder() const { return folderDir; }
    QString databasePath() const { return dbPath; }
    // The CREATE text SQLite keeps for a table, empty when there is none.
    QString tableCreateSql(const QString& table) const { return tableSql.value(table); }
    CountryLibDb& countries() { return countryLib; }
    // Whether the message table can hold system messages (it has item_type).
    bool storesSystemMessages();

    // The CREATE TRIGGER text of clean_orphaned_messages as the schema script
    // writes it and as open() brings older files to it.
    static QString orphanedMessagesTriggerSql();

private:
    void openDatabase();
    void refuseLinksLeadingOutside() const;
    void createDatabase();
    void checkTablesPresent();
    void upgradeDatabase();
    // Runs one statement of the upgrade; throws naming the step when it fails.
    void runUpgradeStep(int line, const QString& sql);
    void updateOrphanedMessagesTrigger();
    void installSqlFunctions();
    void readTableSql();
    QSet<QString> columnNames(const QString& table);

    // Reading helpers (IOS6MessageDbRead.cpp)
    void readChatRows(MessageSet& set);
    void readChatLastDates(MessageSet& set);
    void readChatHandles(MessageSet& set);
    _MsgHandle* readHandle(const Sqlite3Cursor& cursor);
    void normalizeHandle(_MsgHandle& handle, QHash<QString, CountryInfo>& countryCache);
    // The row id of the first row the query (one "select rowid ... where ...=?")
    // yields with the keys bound as text, in order; 0 when it yields none.
    qint64 findRowid(const QString& sql, std::initializer_list<QString> keys);
    // Column checks of the write path, taken once per tableSql refresh (IOS6MessageDbWrite.cpp).
    struct WriteColumns;
    const WriteColumns& writeColumns();
    bool storesLogicHash();
    std::shared_ptr<const WriteColumns> writeColumnsCache; // reset with every tableSql refresh

    QDir folderDir;
    QDir relayDir;
    CountryLibDb countryLib;
    QHash<QString, QString> tableSql;
    QString dbPath;
    bool schemaUpToDate = false; // of the open connection; set by openForWriting()
};
