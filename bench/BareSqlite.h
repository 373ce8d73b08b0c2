#pragma once

#include <QString>

// The floors of the reading benchmarks: the bare SQLite C API
// (sqlite3_prepare/step/column) over the rows the reader reads, each column
// taken as the reader takes it (text, blob, 64-bit or int), nothing kept;
// connections opened without SQLite's per-call lock, like the program's.
namespace BareSqlite {

// The message query of a whole-database read (the join of chat_message_join
// and message, location-sharing notices left out). Returns a checksum of
// what it read, so that nothing is optimised away.
qint64 readMessages(const QString& databasePath);

// What selecting a source reads: the chat rows, the chats' correspondents
// and the message query above.
qint64 readSource(const QString& databasePath);

// The UTF-8 bytes of the messages' guid and text columns, summed over the
// message query's rows: what the records' texts are made from.
qint64 messageTextBytes(const QString& databasePath);

} // namespace BareSqlite
