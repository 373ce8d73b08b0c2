#pragma once

#include "country/CountryInfo.h"
#include "store/AbsFormatExport.h"
#include "store/IOS6MessageDb.h"
#include "store/MsgMessage.h"

#include <QHash>
#include <QPair>
#include <QSet>

// An exporter whose destination is a message database folder (the database
// writer): every message with its conversation, correspondents and
// attachments, without duplicates, in one transaction from begin() to end().
// A job that stops early calls abandon() instead of end(), which drops
// everything written since begin().
class ExportMessagesDb : public AbsFormatExport<_MsgMessage>
{
public:
    ExportMessagesDb(const QDir& folder, const QString& mcc);

    void begin() override;
    void write(const _MsgMessage& message) override;
    // The same for a message whose logic hash the caller already has.
    void write(const _MsgMessage& message, const QString& hash);
    void end() override;
    // Closes the database without commit: the transaction begin() opened is
    // dropped, so nothing written since stays. Also right after a failed end().
    void abandon();

    // The messages written since begin() that were not in the database yet.
    int insertedMessages() const { return inserted; }
    // Whether the database holds a message with this logic hash (never when
    // its message table keeps no hashes).
    bool hasMessageWithLogicHash(const QString& hash);

    // The database folder, and the database file inside it.
    QDir folder() const { return db.folder(); }
    QString databasePath() const { return db.databasePath(); }
    // The country of the MCC the writer was made with (the system's for an
    // empty one), whose rules normalise the addresses it is given.
    CountryInfo country();
    // The country of a region code, in any case; the country() for an unknown one.
    CountryInfo countryOfRegion(const QString& regionCode);

private:
    // The chat's row id, found by guid or inserted.
    qint64 storeChat(const _MsgChat& chat);
    // The handle's row id (found by address and service, or inserted), joined to the chat once.
    qint64 storeChatHandle(qint64 chatRowid, const _MsgHandle& handle);
    void storeAttachments(const _MsgMessage& message, qint64 messageRowid);
    void forgetRows();

    IOS6MessageDb db;
    // Rows this run found or wrote. The exporter is the only writer of its
    // database between begin() and end(), so they stay true until then; a
    // conversation's thousands of messages then cost no look-ups of its chat
    // and correspondent.
    QHash<QString, qint64> chatRowids;                   // by guid
    QHash<QPair<QString, QString>, qint64> handleRowids; // by id and service
    QSet<QPair<qint64, qint64>> joinedChatHandles;       // chat, handle
    // The newest date written into each chat; its _last is raised once, at end().
    QHash<qint64, int> newestDates;
    int inserted = 0;
};
