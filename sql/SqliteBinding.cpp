#include "sql/SqliteBinding.h"

#include <sqlite3.h>

int bindSqliteParams(sqlite3_stmt* stmt, const QVector<Sqlite3Sql::Param>& params)
{
    int index = 0;
    for (const Sqlite3Sql::Param& p : params) {
        ++index;
        int rc = SQLITE_OK;
        switch (p.kind) {
        case Sqlite3Sql::Kind::Null:
            rc = sqlite3_bind_null(stmt, index);
            break;
        case Sqlite3Sql::Kind::Int:
            rc = sqlite3_bind_int(stmt, index, int(p.number));
            break;
        case Sqlite3Sql::Kind::Int64:
            rc = sqlite3_bind_int64(stmt, index, p.number);
            break;
        case Sqlite3Sql::Kind::Text:
            // The parameter list outlives the statement's use, so SQLite reads
            // the text where it is instead of copying it.
            rc = sqlite3_bind_text16(stmt, index, p.text.utf16(), int(p.text.size() * 2), SQLITE_STATIC);
            break;
        case Sqlite3Sql::Kind::Blob:
            if (p.blob.isEmpty())
                rc = sqlite3_bind_zeroblob(stmt, index, 0);
            else
                rc = sqlite3_bind_blob(stmt, index, p.blob.constData(), int(p.blob.size()), SQLITE_STATIC);
            break;
        }
        if (rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}
