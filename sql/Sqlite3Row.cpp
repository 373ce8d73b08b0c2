#include "sql/Sqlite3Row.h"

#include <QVarLengthArray>

#include <algorithm>

namespace {
// A name as a quoted SQL identifier (embedded quotes doubled).
QString quotedName(const QString& name)
{
    QString quoted = name;
    if (quoted.contains(QLatin1Char('"')))
        quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Writes text at out and moves out past it.
void put(QChar*& out, QStringView text)
{
    std::copy(text.begin(), text.end(), out);
    out += text.size();
}
} // namespace

quint64 Sqlite3Row::fingerprint(const QString& column)
{
    if (column.isEmpty())
        return 1;
    const uint mix =
        column.front().unicode() * 7u + column.back().unicode() * 13u + uint(column.size()) * 31u;
    return quint64(1) << (mix % 64);
}

qsizetype Sqlite3Row::find(const QString& column) const
{
    if (!(names & fingerprint(column)))
        return -1;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries.at(i).first == column)
            return i;
    }
    return -1;
}

void Sqlite3Row::insert(const QString& column, const QVariant& value)
{
    const qsizetype at = find(column);
    if (at >= 0) {
        entries[at].second = value;
        return;
    }
    names |= fingerprint(column);
    entries.append(qMakePair(column, value));
}

bool Sqlite3Row::contains(const QString& column) const
{
    return find(column) >= 0;
}

QVariant Sqlite3Row::value(const QString& column) const
{
    const qsizetype at = find(column);
    return at >= 0 ? entries.at(at).second : QVariant();
}

namespace {

// The text of an INSERT for a table and its column names, built in one
// allocation.
QString insertText(const QString& table, const QVector<QString>& columns)
{
    static const QString head = QStringLiteral("insert into ");
    static const QString middle = QStringLiteral(") values(");
    const QString quotedTable = quotedName(table);
    QVarLengthArray<QString, 64> names;
    qsizetype length = head.size() + quotedTable.size() + 1 + middle.size() + 1;
    for (const QString& column : columns) {
        names.append(quotedName(column));
        length += names.last().size() + 3; // the name, a mark, two commas
    }
    if (!names.isEmpty())
        length -= 2;
    QString text(length, Qt::Uninitialized);
    QChar* out = text.data();
    put(out, head);
    put(out, quotedTable);
    *out++ = QLatin1Char('(');
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i > 0)
            *out++ = QLatin1Char(',');
        put(out, names.at(i));
    }
    put(out, middle);
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i > 0)
            *out++ = QLatin1Char(',');
        *out++ = QLatin1Char('?');
    }
    *out++ = QLatin1Char(')');
    return text;
}

// The texts of the last INSERT shapes of this thread: a job inserts rows of
// the same few column lists thousands of times, and the text is the same
// each time. Matched by content, so any column list is safe.
struct InsertShape
{
    QString table;
    QVector<QString> columns;
    QString text;
};
constexpr int kShapeSlots = 16;

const QString& cachedInsertText(const QString& table, const QVector<QString>& columns)
{
    thread_local InsertShape shapes[kShapeSlots];
    thread_local int nextSlot = 0;
    for (const InsertShape& shape : shapes) {
        if (!shape.text.isEmpty() && shape.table == table && shape.columns == columns)
            return shape.text;
    }
    InsertShape& slot = shapes[nextSlot];
    nextSlot = (nextSlot + 1) % kShapeSlots;
    slot.table = table;
    slot.columns = columns;
    slot.text = insertText(table, columns);
    return slot.text;
}

} // namespace

Sqlite3Sql Sqlite3Row::insertSql(const QString& table, const QSet<QString>& exclude) const
{
    QVector<QString> columns;
    columns.reserve(entries.size());
    Sqlite3Sql sql;
    sql.reserveParams(int(entries.size()));
    for (const auto& entry : entries) {
        if (exclude.contains(entry.first))
            continue;
        columns.append(entry.first);
        sql.addVariantParam(entry.second);
    }
    sql.appendSql(cachedInsertText(table, columns));
    return sql;
}
