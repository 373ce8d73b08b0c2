#pragma once

#include <QList>
#include <QString>

struct _MsgMessage;

// The floor for a backup: the exporter's lookups, inserts and joins for every
// message, run through the bare SQLite C API with prepared statements reused,
// in one transaction, on the database file at path (which holds the schema).
void runBackupBaseline(const QString& path, const QList<_MsgMessage*>& messages);
