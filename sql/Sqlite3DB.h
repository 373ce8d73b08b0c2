#pragma once

#include "sql/Sqlite3Cursor.h"
#include "sql/Sqlite3Sql.h"
#include "sql/SqliteConnection.h"

#include <QHash>
#include <QString>
#include <QVariant>

struct sqlite3;

// One SQLite connection. Everything that can fail throws SqliteException,
// except exec(), which reports through its out-parameter. Used by one thread
// at a time.
class Sqlite3DB
{
public:
    // The open flags the program passes: 2 opens an existing file read-write,
    // 6 also creates it.
    enum OpenFlags { ReadWrite = 2, ReadWriteCreate = 6 };

    Sqlite3DB() = default;
    virtual ~Sqlite3DB();
    Sqlite3DB(const Sqlite3DB&) = delete;
    Sqlite3DB& operator=(const Sqlite3DB&) = delete;

    void openThrow(const QString& path, int flags);
    Sqlite3Cursor queryThrow(const Sqlite3Sql& sql);
    void executeThrow(const Sqlite3Sql& sql);
    // Runs one or more statements without parameters; nonzero on failure with
    // SQLite's message in error. Never throws.
    int exec(const QString& sql, QString& error);

    void beginTran();
    void commitTran();
    void rollbackTran();
    qint64 lastInsertId() const;
    virtual void close();

    // Columns of a table, keyed by their declared names (value: declared
    // type). Empty for a table that does not exist.
    QHash<QString, QVariant> tbInfo(const QString& table);

    // The raw connection; null while closed.
    sqlite3* handle() const;
    bool isOpen() const { return handle() != nullptr; }

private:
    SqliteConnection& connectionOrThrow(const QString& sql) const;

    SqliteConnectionPtr connection;
};
