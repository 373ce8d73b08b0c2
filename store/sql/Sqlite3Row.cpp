#include "store/sql/Sqlite3Row.h"

#include <QStringList>

namespace {
QString quotedName(QString name)
{
    name.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + name + QLatin1Char('"');
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
    QStringList names;
    QStringList marks;
    Sqlite3Sql sql;
    for (const auto& entry : entries) {
        if (exclude.contains(entry.first))
            continue;
        names.append(quotedName(entry.first));
        marks.append(QStringLiteral("?"));
        sql.addVariantParam(entry.second);
    }
    sql.appendSql(QStringLiteral("insert into %1(%2) values(%3)")
                      .arg(quotedName(table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    return sql;
}
