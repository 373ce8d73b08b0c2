#pragma once

#include <QString>
#include <QVariant>

#include <vector>

class Sqlite3Cursor;
struct _MsgMessage;

// What a new row of the message table is made from: the record, and the
// rows the writer found or made for it.
struct NewMessageRow
{
    const _MsgMessage& message;
    qint64 handleRowid;           // the correspondent's handle row, 0 for none
    qint64 otherRowid;            // the other party's handle row, 0 for none
    const QString& logicHashText; // the message's logic hash; empty: computed here
};

// One column of the message table: its name, how an older file gains it,
// what a new row puts in it, and where a read row puts it in the record.
// The getters and setters are functions rather than pointers to members, so
// that the record is free to keep a field in another shape.
struct MessageColumn
{
    QString name;
    // The value a new row takes; an invalid QVariant leaves the column to
    // the table's default.
    QVariant (*value)(const NewMessageRow& row) = nullptr;
    // Sets the record's field from the column of the cursor's row; null for
    // a column the record does not keep.
    void (*read)(_MsgMessage& message, const Sqlite3Cursor& cursor, int column) = nullptr;

    // For a column that older files may lack: the step of the upgrade that
    // adds it (its number in error texts, and the declaration that follows
    // "ALTER TABLE message ADD COLUMN name"), and the index made with the
    // column, numbered one step after it. Line 0 for the columns every file has.
    struct Upgrade
    {
        int line = 0;
        const char* declaration = nullptr;
        const char* indexSql = nullptr;
    } upgrade = {};
    // Whether the writer fills the column only when the file's table has it.
    bool isOptional() const { return upgrade.line != 0; }
    // The statement that adds the column to an older file.
    QString addColumnSql() const;
};

// Every column of the message table but ROWID, in the table's order: the one
// list the reader, the writer and the upgrade take the columns from.
const std::vector<MessageColumn>& messageColumns();
