#include "tools/phonesim/ShellTable.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

QString noSuchColumn(const QString& name)
{
    return QStringLiteral("android.database.sqlite.SQLiteException: no such column: %1 (code 1 SQLITE_ERROR)")
        .arg(name);
}

bool compare(qint64 a, const QString& op, qint64 b)
{
    if (op == QLatin1String("="))
        return a == b;
    if (op == QLatin1String("!="))
        return a != b;
    if (op == QLatin1String("<"))
        return a < b;
    if (op == QLatin1String("<="))
        return a <= b;
    if (op == QLatin1String(">"))
        return a > b;
    return a >= b;
}

QByteArray valueText(const ShellValue& value, bool hex)
{
    if (hex) {
        // SQLite's hex(): the upper-case hex of the text's UTF-8 bytes, NULL as ''.
        if (value.kind == ShellValue::Null)
            return QByteArray();
        const QByteArray bytes =
            value.kind == ShellValue::Number ? QByteArray::number(value.n) : value.s.toUtf8();
        return bytes.toHex().toUpper();
    }
    if (value.kind == ShellValue::Null)
        return QByteArrayLiteral("NULL");
    if (value.kind == ShellValue::Number)
        return QByteArray::number(value.n);
    return value.s.toUtf8();
}

} // namespace

bool ShellQuery::usesHex() const
{
    return !firstHexColumn().isEmpty();
}

QString ShellQuery::firstHexColumn() const
{
    for (const Column& column : columns) {
        if (column.hex)
            return column.printed;
    }
    return QString();
}

int ShellTable::columnIndex(const QString& name) const
{
    return int(names.indexOf(name));
}

bool ShellTable::prepare(const QString& projection, const QString& where, const QString& sort,
                         ShellQuery* query, QString* problem) const
{
    static const QRegularExpression hexColumn(QStringLiteral("^hex\\((\\w+)\\)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QStringList wanted = projection.isEmpty() ? names : projection.split(QLatin1Char(':'));
    for (const QString& raw : wanted) {
        const QString printed = raw.trimmed();
        const QRegularExpressionMatch match = hexColumn.match(printed);
        const QString name = match.hasMatch() ? match.captured(1) : printed;
        const int index = columnIndex(name);
        if (index < 0) {
            *problem = noSuchColumn(name);
            return false;
        }
        query->columns.append({printed, index, match.hasMatch()});
    }
    if (!where.isEmpty()) {
        static const QRegularExpression filter(
            QStringLiteral("^\\s*(\\w+)\\s*(=|!=|<=|>=|<|>)\\s*(-?\\d+)\\s*$"));
        const QRegularExpressionMatch match = filter.match(where);
        if (!match.hasMatch()) {
            *problem = QStringLiteral("android.database.sqlite.SQLiteException: the phone simulator's "
                                      "provider only filters \"column OP integer\": %1")
                           .arg(where);
            return false;
        }
        query->whereColumn = columnIndex(match.captured(1));
        if (query->whereColumn < 0) {
            *problem = noSuchColumn(match.captured(1));
            return false;
        }
        query->whereOp = match.captured(2);
        query->whereValue = match.captured(3).toLongLong();
    }
    if (!sort.isEmpty()) {
        const QStringList parts = sort.simplified().split(QLatin1Char(' '));
        query->sortColumn = columnIndex(parts.value(0));
        const QString direction = parts.value(1).toUpper();
        if (query->sortColumn < 0 || parts.size() > 2 ||
            (parts.size() == 2 && direction != QLatin1String("ASC") && direction != QLatin1String("DESC"))) {
            *problem = noSuchColumn(sort);
            return false;
        }
        query->descending = direction == QLatin1String("DESC");
    }
    return true;
}

QVector<int> ShellTable::select(const ShellQuery& query) const
{
    QVector<int> rows;
    rows.reserve(data.size());
    for (int i = 0; i < data.size(); ++i) {
        const ShellValue& value = query.whereColumn >= 0 ? data.at(i).at(query.whereColumn) : ShellValue();
        if (query.whereColumn < 0 ||
            (value.kind == ShellValue::Number && compare(value.n, query.whereOp, query.whereValue)))
            rows.append(i);
    }
    const int column = query.sortColumn;
    const auto before = [this, column, &query](int a, int b) {
        const ShellValue& x = data.at(query.descending ? b : a).at(column);
        const ShellValue& y = data.at(query.descending ? a : b).at(column);
        return x.kind == ShellValue::Number && y.kind == ShellValue::Number ? x.n < y.n : x.s < y.s;
    };
    // Rows are added in _id order: most queries need no sorting.
    if (!std::is_sorted(rows.begin(), rows.end(), before))
        std::stable_sort(rows.begin(), rows.end(), before);
    return rows;
}

QByteArray ShellTable::rowText(const ShellQuery& query, int row, int number) const
{
    QByteArray text = "Row: " + QByteArray::number(number) + ' ';
    for (int i = 0; i < query.columns.size(); ++i) {
        const ShellQuery::Column& column = query.columns.at(i);
        if (i > 0)
            text += ", ";
        text += column.printed.toUtf8() + '=' + valueText(data.at(row).at(column.index), column.hex);
    }
    return text + '\n';
}
