#pragma once

#include "store/MessageSet.h"

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

class Sqlite3DB;

// Helpers shared by the message database tests: file bytes, files of an older
// layout, one-column queries, and writing records through the exporter.
namespace StoreTestKit {

QByteArray fileBytes(const QString& path);
// Writes bytes to path, creating the folders above it.
void writeBytes(const QString& path, const QByteArray& bytes);

// The message columns later versions added, in the order an upgrade adds them.
QStringList laterMessageColumns();
// Writes the database file of folder in an older layout: chat without group_id
// and _last, handle without _ct_name and _photo, message without the later
// columns and their index, and the trigger that scans the whole message
// table. Then runs extra on the file.
void makeOlderFile(const QDir& folder, const QStringList& extra = {});

// Column 0 of every row as text.
QStringList column(Sqlite3DB& db, const QString& sql);
// The single integer a query returns (0 without a row).
qint64 scalar(Sqlite3DB& db, const QString& sql);
// "message=3 chat=1 ..." over every table: the state compared before and after.
QString tableCounts(Sqlite3DB& db);

// Writes the messages through the database exporter in one run.
void writeMessages(const QDir& folder, const QList<_MsgMessage*>& messages);

} // namespace StoreTestKit

// Message records built the way a phone load does; set owns them all.
class Records
{
public:
    _MsgHandle* handle(const QString& id, const QString& name = QString());
    // A chat of that guid; its identifier is what follows the last ';'.
    _MsgChat* chat(const QString& guid, const QList<_MsgHandle*>& participants);
    _MsgChat* singleChat(_MsgHandle* h) { return chat(QStringLiteral("SMS;-;") + h->id, {h}); }
    // A message with a guid of its own; item_type other than 0 makes it a system message.
    _MsgMessage* message(_MsgChat* chat, _MsgHandle* handle, int date, bool fromMe, const QString& text,
                         int itemType = 0);

    MessageSet set;

private:
    qint64 nextRowid = 1;
};
