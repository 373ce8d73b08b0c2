#pragma once

#include "sql/Sqlite3DB.h"
#include "sql/Sqlite3Row.h"

// Base of the program's databases: a connection that opens itself on first
// use (open() returns at once when already open) and a transaction flag.
class AbsDb : public Sqlite3DB
{
public:
    AbsDb() = default;
    ~AbsDb() override = default;

    virtual void open() = 0;
    // open(), then whatever must happen before the first write on this
    // connection. Reading never needs it; every write path calls it.
    virtual void openForWriting() { open(); }

    void beginTransaction();
    // Commits or rolls back the transaction begun here; nothing without one.
    void endTransaction(bool commit);
    bool isInTransaction() const { return inTransaction; }
    // Inserts the row into table and returns the new row id.
    qint64 insertRow(const Sqlite3Row& row, const QString& table);

    void close() override;

protected:
    bool inTransaction = false;
};

// Interface version of the SQL layer; the program refuses to start on another.
int sqlite_qt_version();
