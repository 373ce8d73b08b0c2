#pragma once

#include "sql/SqliteConnection.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

class Sqlite3Sql;

// Forward-only result of a query. Columns are found by name without regard
// to case; a name the result does not have reads as 0 or empty, as does SQL
// NULL. The index overloads serve loops that look a column up once.
class Sqlite3Cursor
{
public:
    Sqlite3Cursor() = default;

    // Steps to the next row; false at the end. Throws SqliteException.
    bool moveNext();

    int columnCount() const;
    QString columnName(int column) const;
    // Position of a column in the result, -1 when the result has none of that name.
    int columnIndex(const QString& name) const;

    int getInt(const QString& name) const { return getInt(columnIndex(name)); }
    qint64 getInt64(const QString& name) const { return getInt64(columnIndex(name)); }
    QString getText(const QString& name) const { return getText(columnIndex(name)); }
    QByteArray getBlob(const QString& name) const { return getBlob(columnIndex(name)); }
    bool isNull(const QString& name) const { return isNull(columnIndex(name)); }

    // The stored integer clamped to the range of int: a value too large for
    // it reads as the largest int (never as its low 32 bits).
    int getInt(int column) const;
    qint64 getInt64(int column) const;
    QString getText(int column) const;
    QByteArray getBlob(int column) const;
    bool isNull(int column) const;
    // The text's UTF-8 bytes as SQLite holds them, valid until the next
    // moveNext(): for a reader that keeps them in another form than QString.
    QByteArrayView getUtf8(int column) const;

    // Number of rows of the whole result, whatever the position (runs the
    // statement once more on its own). Throws SqliteException.
    int count() const;

private:
    friend class Sqlite3DB;
    struct State;
    Sqlite3Cursor(const SqliteConnectionPtr& connection, const Sqlite3Sql& sql);
    bool readable(int column) const;

    std::shared_ptr<State> d;
};
