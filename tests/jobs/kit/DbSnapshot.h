#pragma once

#include <QByteArray>
#include <QString>

// What a message database file holds, for before/after comparisons: a few
// row counts and a checksum over the schema and every row of every table.
struct DbSnapshot
{
    int messages = 0;
    int chats = 0;
    int handles = 0;
    QByteArray checksum;

    bool operator==(const DbSnapshot& other) const
    {
        return messages == other.messages && chats == other.chats && handles == other.handles &&
               checksum == other.checksum;
    }
};

// Reads the file through a connection of its own; throws on SQL failures.
DbSnapshot snapshotOf(const QString& databasePath);
// Runs statements on the file through a connection of its own (test set-up).
void executeOn(const QString& databasePath, const QString& sql);

char* toString(const DbSnapshot& snapshot);
