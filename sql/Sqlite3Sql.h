#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVector>

// A statement text with its positional parameters. Values are always bound,
// never pasted into the text. Binding rules:
//   - a text parameter is bound as TEXT, an empty or null QString as '' (never NULL);
//   - a blob parameter is bound as BLOB, an empty QByteArray as a zero-length blob;
//   - addNullParam binds SQL NULL.
// Both empty forms read back as an empty value, like NULL does.
class Sqlite3Sql
{
public:
    enum class Kind { Null, Int, Int64, Text, Blob };
    struct Param
    {
        Kind kind = Kind::Null;
        qint64 number = 0;
        QString text;
        QByteArray blob;
    };

    Sqlite3Sql() = default;
    Sqlite3Sql(const QString& sql) : statement(sql) {} // NOLINT: built from text by design

    void appendSql(const QString& sql) { statement += sql; }
    void addTextParam(const QString& value);
    void addIntParam(int value);
    void addInt64Param(qint64 value);
    void addBlobParam(const QByteArray& value);
    void addNullParam();
    // Binds a QVariant by its type: strings as text, byte arrays as blobs,
    // integers and booleans as numbers, an invalid or null variant as NULL.
    void addVariantParam(const QVariant& value);

    // Room for n parameters, so that adding them does not grow the list step by step.
    void reserveParams(int n) { parameters.reserve(n); }

    const QString& sql() const { return statement; }
    const QVector<Param>& params() const { return parameters; }

private:
    QString statement;
    QVector<Param> parameters;
};
