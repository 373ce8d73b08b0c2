#include "store/sql/Sqlite3Row.h"

namespace {
// Appends name as a quoted SQL identifier. Built in place: a message insert
// names some fifty columns and runs once per message.
void appendQuotedName(QString& sql, const QString& name)
{
    sql += QLatin1Char('"');
    if (name.contains(QLatin1Char('"'))) {
        QString escaped = name;
        sql += escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    } else {
        sql += name;
    }
    sql += QLatin1Char('"');
}
} // namespace

void Sqlite3Row::insert(const QString& column, const QVariant& value)
{
    for (auto& entry : entries) {
        if (entry.first == column) {
            entry.second = value;
            return;
        }
    }
    entries.append(qMakePair(column, value));
}

bool Sqlite3Row::contains(const QString& column) const
{
    for (const auto& entry : entries) {
        if (entry.first == column)
            return true;
    }
    return false;
}

QVariant Sqlite3Row::value(const QString& column) const
{
    for (const auto& entry : entries) {
        if (entry.first == column)
            return entry.second;
    }
    return QVariant();
}

Sqlite3Sql Sqlite3Row::insertSql(const QString& table, const QSet<QString>& exclude) const
{
    QString text;
    text.reserve(32 + int(entries.size()) * 24);
    text += QLatin1String("insert into ");
    appendQuotedName(text, table);
    text += QLatin1Char('(');
    QString marks;
    marks.reserve(int(entries.size()) * 2);
    Sqlite3Sql sql;
    for (const auto& entry : entries) {
        if (exclude.contains(entry.first))
            continue;
        if (!marks.isEmpty()) {
            text += QLatin1Char(',');
            marks += QLatin1Char(',');
        }
        appendQuotedName(text, entry.first);
        marks += QLatin1Char('?');
        sql.addVariantParam(entry.second);
    }
    text += QLatin1String(") values(");
    text += marks;
    text += QLatin1Char(')');
    sql.appendSql(text);
    return sql;
}
