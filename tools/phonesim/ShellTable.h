#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// One value of a provider row: an integer, a text or SQL NULL.
struct ShellValue
{
    enum Kind
    {
        Null,
        Number,
        Text
    };
    Kind kind = Null;
    qint64 n = 0;
    QString s;

    static ShellValue null() { return {}; }
    static ShellValue number(qint64 value) { return {Number, value, QString()}; }
    static ShellValue text(const QString& value) { return {Text, 0, value}; }
};

// A prepared query: the projection's columns (hex or not, printed as
// written), the filter and the order.
struct ShellQuery
{
    struct Column
    {
        QString printed; // "body", "hex(body)"
        int index = 0;   // in the table
        bool hex = false;
    };
    QVector<Column> columns;
    int whereColumn = -1; // -1: every row
    QString whereOp;
    qint64 whereValue = 0;
    int sortColumn = 0;
    bool descending = false;

    bool usesHex() const;
    QString firstHexColumn() const;
};

// A provider's table, answering the few queries `content query` passes on:
// a projection of column names and hex(name), a filter "column OP integer"
// (OP one of = != < <= > >=) and an order "column [ASC|DESC]".
class ShellTable
{
public:
    explicit ShellTable(const QStringList& columns) : names(columns) {}

    void reserve(qsizetype rows) { data.reserve(rows); }
    void addRow(const QVector<ShellValue>& row) { data.append(row); }

    // False with *problem set to the exception the provider would throw.
    bool prepare(const QString& projection, const QString& where, const QString& sort, ShellQuery* query,
                 QString* problem) const;
    // The rows the query lists, in its order.
    QVector<int> select(const ShellQuery& query) const;
    // "Row: N name=value, ..." and a line feed, as Content.java prints it.
    QByteArray rowText(const ShellQuery& query, int row, int number) const;

private:
    int columnIndex(const QString& name) const;

    QStringList names;
    QVector<QVector<ShellValue>> data;
};
