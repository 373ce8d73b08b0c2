#include "sql/AbsDb.h"

void AbsDb::beginTransaction()
{
    openForWriting();
    beginTran();
    inTransaction = true;
}

void AbsDb::endTransaction(bool commit)
{
    if (!inTransaction)
        return;
    open();
    inTransaction = false;
    if (!commit) {
        rollbackTran();
        return;
    }
    try {
        commitTran();
    } catch (...) {
        // A failed commit must not leave the transaction open behind the caller.
        try {
            rollbackTran();
        } catch (...) {
        }
        throw;
    }
}

qint64 AbsDb::insertRow(const Sqlite3Row& row, const QString& table)
{
    openForWriting();
    executeThrow(row.insertSql(table));
    return lastInsertId();
}

void AbsDb::close()
{
    // Closing the connection rolls back whatever it had not committed.
    inTransaction = false;
    Sqlite3DB::close();
}

int sqlite_qt_version()
{
    return 5;
}
