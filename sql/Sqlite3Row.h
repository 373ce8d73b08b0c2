#pragma once

#include "sql/Sqlite3Sql.h"

#include <QPair>
#include <QSet>
#include <QString>
#include <QVariant>
#include <QVector>

// Column name to value, in the order the columns were first set; the source
// of an INSERT statement.
class Sqlite3Row
{
public:
    void insert(const QString& column, const QVariant& value);
    bool contains(const QString& column) const;
    QVariant value(const QString& column) const;
    int size() const { return int(entries.size()); }
    bool isEmpty() const { return entries.isEmpty(); }
    // Room for n columns.
    void reserve(int n) { entries.reserve(n); }

    // "insert into table(...) values(?,...)" with every column not in exclude,
    // values bound by their type (Sqlite3Sql::addVariantParam).
    Sqlite3Sql insertSql(const QString& table, const QSet<QString>& exclude = {}) const;

private:
    // One bit per name fingerprint: a name whose bit is clear is not in the
    // row yet, so most inserts need no search.
    static quint64 fingerprint(const QString& column);
    qsizetype find(const QString& column) const;

    QVector<QPair<QString, QVariant>> entries;
    quint64 names = 0;
};
