#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

class Sqlite3DB;

// Helpers for the message database tests: file paths and bytes, raw SQLite
// files built without the class under test, and the layout of older files.
namespace MessageDbTestFiles {

// Where the class keeps the file of a database folder.
QString smsDbPath(const QDir& folder);

QByteArray fileBytes(const QString& path);
// Writes bytes to path, creating the folders above it.
void writeBytes(const QString& path, const QByteArray& bytes);

// Creates a SQLite file at path (and its folders) and runs the statements.
void makeRawDb(const QString& path, const QStringList& statements);

// The schema of an older version: message without item_type up to
// logic_hash, chat without group_id and _last, handle without _ct_name and
// _photo, attachment without its three later columns, and the trigger that
// scans the whole message table. Tables can be left out by name.
QStringList oldStyleSchema(const QStringList& withoutTables = {});

// The old full-scan form of clean_orphaned_messages.
QString fullScanTrigger();

// Column names of a table in declaration order, read with PRAGMA table_info.
QStringList columnNames(Sqlite3DB& db, const QString& table);
// Names of the schema objects of one type, sorted, without SQLite's own autoindexes.
QStringList objectNames(Sqlite3DB& db, const QString& type);
// The stored CREATE text of a schema object, empty when there is none.
QString objectSql(Sqlite3DB& db, const QString& name);
// The single integer a query returns (0 without a row).
qint64 scalar(Sqlite3DB& db, const QString& sql);

} // namespace MessageDbTestFiles
