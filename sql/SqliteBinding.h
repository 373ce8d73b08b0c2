#pragma once

#include "sql/Sqlite3Sql.h"

struct sqlite3_stmt;

// Binds a statement's parameters in order; returns the SQLite result code of
// the first failure, or SQLITE_OK. Texts and blobs are bound where they are:
// params must stay alive and unchanged until the statement is reset.
// Internal to the SQL layer.
int bindSqliteParams(sqlite3_stmt* stmt, const QVector<Sqlite3Sql::Param>& params);
