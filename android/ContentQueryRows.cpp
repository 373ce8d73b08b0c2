#include "android/ContentQueryRows.h"

#include <QCoreApplication>
#include <QStringList>

#include <stdexcept>

namespace {

const QByteArray kNoResult = QByteArrayLiteral("No result found.");
const QByteArray kNull = QByteArrayLiteral("NULL");
// A line quoted in an error is cut to this many bytes.
constexpr int kQuotedLineBytes = 120;

QString translated(const char* text)
{
    return QCoreApplication::translate("ContentQueryRows", text);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray rowPrefix(int index)
{
    return QByteArrayLiteral("Row: ") + QByteArray::number(index) + ' ';
}

} // namespace

QList<ContentColumn> contentColumns(const QString& projection)
{
    QList<ContentColumn> columns;
    for (const QString& name : projection.split(QLatin1Char(':'))) {
        const QString trimmed = name.trimmed();
        const bool hex = trimmed.startsWith(QLatin1String("hex(")) && trimmed.endsWith(QLatin1Char(')'));
        columns.append({trimmed.toUtf8(), hex});
    }
    return columns;
}

bool decodeHexText(QByteArrayView hex, QString* text)
{
    if (hex.size() % 2 != 0)
        return false;
    QByteArray bytes(hex.size() / 2, Qt::Uninitialized);
    char* out = bytes.data();
    for (qsizetype i = 0; i < hex.size(); i += 2) {
        const int high = hexDigit(hex[i]);
        const int low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0)
            return false;
        out[i / 2] = char((high << 4) | low);
    }
    *text = QString::fromUtf8(bytes);
    return true;
}

ContentQueryRows::ContentQueryRows(const QString& query, const QString& projection)
    : query(query), columns(contentColumns(projection))
{
    separators.reserve(columns.size());
    for (const ContentColumn& column : std::as_const(columns))
        separators.append(QByteArrayLiteral(", ") + column.printed + '=');
}

void ContentQueryRows::anchorAt(const QVector<qint64>& ids)
{
    anchors = ids;
    anchored = true;
}

void ContentQueryRows::addLine(QByteArrayView line)
{
    ++lineNumber;
    if (lineNumber == 1)
        crlf = line.endsWith('\r');
    if (crlf && line.endsWith('\r'))
        line.chop(1);
    if (anchored)
        addAnchoredLine(line);
    else
        addListedLine(line);
}

void ContentQueryRows::addListedLine(QByteArrayView line)
{
    if (line.isEmpty())
        return;
    if (line == kNoResult && parsed == 0 && !sawNoResult) {
        sawNoResult = true;
        return;
    }
    if (sawNoResult)
        fail(translated("text after \"No result found.\""), line);
    commitRecord(line.toByteArray(), parsed);
}

bool ContentQueryRows::isAnchor(QByteArrayView line, int index) const
{
    if (index < 0 || index >= anchors.size())
        return false;
    QByteArray anchor = rowPrefix(index) + "_id=" + QByteArray::number(anchors.at(index));
    if (columns.size() > 1)
        anchor += separators.at(1);
    else
        return line == anchor;
    return line.startsWith(anchor);
}

void ContentQueryRows::addAnchoredLine(QByteArrayView line)
{
    if (currentIndex < 0) {
        if (line.isEmpty())
            return;
        if (line == kNoResult && !sawNoResult) {
            sawNoResult = true;
            return;
        }
        if (sawNoResult)
            fail(translated("text after \"No result found.\""), line);
        if (!isAnchor(line, 0))
            fail(anchors.isEmpty() ? translated("a row where none was counted")
                                   : translated("the first row does not begin as counted"),
                 line);
        current = line.toByteArray();
        currentIndex = 0;
        return;
    }
    if (isAnchor(line, currentIndex + 1)) {
        if (currentIndex > 0)
            commitRecord(previous, currentIndex - 1);
        previous = std::move(current);
        current = line.toByteArray();
        ++currentIndex;
    } else if (currentIndex > 0 && isAnchor(line, currentIndex)) {
        // The earlier line that looked like this row's start was text of the row before.
        previous += '\n' + current;
        current = line.toByteArray();
    } else if (line.startsWith(QByteArray(rowPrefix(int(anchors.size())) + "_id="))) {
        fail(translated("more rows than were counted"), line);
    } else {
        current += '\n';
        current += line;
    }
}

void ContentQueryRows::finish()
{
    if (!anchored || currentIndex < 0)
        return;
    if (currentIndex > 0)
        commitRecord(previous, currentIndex - 1);
    commitRecord(current, currentIndex);
    previous.clear();
    current.clear();
    currentIndex = -1;
}

bool ContentQueryRows::takeRow(ContentRow* row)
{
    if (ready.empty())
        return false;
    *row = std::move(ready.front());
    ready.pop_front();
    return true;
}

void ContentQueryRows::commitRecord(const QByteArray& record, int index)
{
    ready.push_back(parseRecord(record, index));
    ++parsed;
}

ContentRow ContentQueryRows::parseRecord(QByteArrayView record, int index) const
{
    const QByteArray prefix = rowPrefix(index);
    if (!record.startsWith(prefix))
        fail(translated("row %1 expected").arg(index), record);
    ContentRow row;
    row.index = index;
    row.values.resize(columns.size());
    const QByteArray firstKey = columns.first().printed + '=';
    if (!record.sliced(prefix.size()).startsWith(firstKey))
        fail(translated("column %1 missing").arg(QString::fromUtf8(columns.first().printed)), record);
    qsizetype pos = prefix.size() + firstKey.size();
    for (int i = 0; i < columns.size(); ++i) {
        // A value runs to the next column's ", name=", the last one to the end of the record.
        const bool last = i + 1 == columns.size();
        const qsizetype end = last ? record.size() : record.indexOf(separators.at(i + 1), pos);
        if (end < 0)
            fail(translated("column %1 missing").arg(QString::fromUtf8(columns.at(i + 1).printed)), record);
        const QByteArrayView value = record.sliced(pos, end - pos);
        ContentValue& out = row.values[i];
        if (columns.at(i).hex) {
            if (!decodeHexText(value, &out.text))
                fail(translated("column %1 is not hex").arg(QString::fromUtf8(columns.at(i).printed)),
                     record);
        } else if (value == kNull) {
            out.null = true;
        } else {
            out.text = QString::fromUtf8(value);
        }
        if (!last)
            pos = end + separators.at(i + 1).size();
    }
    return row;
}

void ContentQueryRows::fail(const QString& why, QByteArrayView line) const
{
    QString quoted = QString::fromUtf8(line.first(qMin<qsizetype>(line.size(), kQuotedLineBytes)));
    if (line.size() > kQuotedLineBytes)
        quoted += QStringLiteral("...");
    const QString text = translated("The phone's answer to %1 could not be read: %2 (line %3: \"%4\").")
                             .arg(query, why)
                             .arg(lineNumber)
                             .arg(quoted);
    throw std::runtime_error(text.toUtf8().toStdString());
}
