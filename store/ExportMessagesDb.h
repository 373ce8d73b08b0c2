#pragma once

#include "country/CountryInfo.h"
#include "store/AbsFormatExport.h"
#include "store/IOS6MessageDb.h"
#include "store/MsgMessage.h"
#include "store/SimpleSms.h"

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
    // The page cache of the writer's connection, in MB. With it the system
    // time of importing 500,000 records falls about fivefold against SQLite's
    // default; a larger cache made imports of 500,000 and 1,000,000 records
    // no faster, while the memory a large import takes grows by all of it.
    static constexpr int kPageCacheMegabytes = 64;

    ExportMessagesDb(const QDir& folder, const QString& mcc);

    void begin() override;
    void write(const _MsgMessage& message) override;
    // The same for a message whose guid is made from its logic hash (one
    // from a phone, a backup file or the earlier format). Into a database
    // that held no message at begin() and has been given only such
    // messages, the guid alone tells a message stored already, and the
    // insert asks it: a new message costs no look-up of its own.
    void write(const SimpleSms& sms);
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
    // The message's row id when it is stored already (by logic hash, or by
    // guid when that is needed before the insert), else 0.
    qint64 findStored(const _MsgMessage& message, const QString& hash, bool guidFromHash);
    void store(const _MsgMessage& message, const QString& hash, bool guidFromHash);
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
    // Whether every message the database holds has its guid made from its
    // logic hash: it held none at begin(), and was given only such since.
    bool onlyHashGuids = false;
};
