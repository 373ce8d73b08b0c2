#pragma once

#include "store/MessageSet.h"

#include <QDir>
#include <QList>
#include <QString>

class Sqlite3DB;

// Builds message records the way a phone load does, for the writing tests.
// Every record belongs to the one MessageSet inside.
class WriteTestRecords
{
public:
    _MsgHandle* handle(const QString& id, const QString& name = QString());
    // A one-to-one chat "SMS;-;<id>" with its correspondent, or a chat with the given guid and members.
    _MsgChat* singleChat(_MsgHandle* handle);
    _MsgChat* chat(const QString& guid, const QList<_MsgHandle*>& participants);
    // An ordinary message with a guid of its own.
    _MsgMessage* message(_MsgChat* chat, _MsgHandle* handle, int date, bool fromMe, const QString& text);
    // A system message (item_type != 0) with the given guid.
    _MsgMessage* systemMessage(_MsgChat* chat, int itemType, const QString& guid, int date);
    _MsgAttachment* attachment(_MsgMessage* message, const QString& filename, const QString& sourcePath);

    MessageSet set;

private:
    qint64 nextRowid = 1;
};

namespace WriteTestDb {

// The single integer a query returns (0 without a row).
qint64 scalar(Sqlite3DB& db, const QString& sql);
// The single text a query returns (empty without a row and for SQL NULL).
QString text(Sqlite3DB& db, const QString& sql);
// "message=3 chat=1 handle=2 ..." for every table: the state a test compares before and after.
QString tableCounts(Sqlite3DB& db);

} // namespace WriteTestDb
