#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVector>

#include <deque>

// Reading what the phone's `content query` prints, line by line as it
// streams. Each row is "Row: N " (N counting from 0) followed by the
// projection's columns as "name=value" joined by ", ": text as it is stored,
// SQL NULL as "NULL", blobs as "BLOB"; a query without rows prints "No result
// found.". A column written "hex(name)" in the projection arrives as the
// upper-case hex of the value's bytes, so rows of hex columns never span
// lines and never hold a ", " of their own. Pure text handling, testable on
// captured output.
//
// As the phone prints them (the projections are ShellRoute's):
//
// One hex row a line, for "_id:date:type:read:hex(address):hex(subject):hex(body)"
// (address "+15550001", no subject: SQLite's hex() of NULL is empty, body
// "Hello"; one line, broken here after "read=1,"):
//   Row: 0 _id=1, date=1700000000000, type=1, read=1,
//   hex(address)=2B3135353530303031, hex(subject)=, hex(body)=48656C6C6F
// and for "_id:hex(data1):hex(display_name)" (a contact "Ann" at "+15550001"):
//   Row: 0 _id=3, hex(data1)=2B3135353530303031, hex(display_name)=416E6E
//
// Raw rows, for "_id:date:type:read:address:subject:body" from a provider
// that refuses hex(): the text as stored, so a body may run over lines (and
// hold ", " or a line like a row of its own). Such a record is found by the
// ids counted before (anchorAt({7, 9})): row 0 runs from "Row: 0 _id=7, " to
// "Row: 1 _id=9, ", its body "See you\nat noon".
//   Row: 0 _id=7, date=1700000000000, type=2, read=1, address=+15550001, subject=NULL, body=See you
//   at noon
//   Row: 1 _id=9, date=1700000060000, type=1, read=0, address=+15550001, subject=NULL, body=OK
//
// A query without rows:
//   No result found.
//
// A provider that throws (a column it refuses, say) prints no rows but this,
// on standard error (an adb without the shell protocol mixes it into
// standard output), and the command still ends with exit status 0; the
// shell load job (AndroidShellLoadSMSThread) recognises it by its first line
// and, for hex(), asks again with the raw projection:
//   Error while accessing provider:sms
//   java.lang.IllegalArgumentException: Invalid column hex(address)
//   <tab>at android.database.DatabaseUtils.readExceptionFromParcel(DatabaseUtils.java:172)
//   ...

// One value of a row.
struct ContentValue
{
    QString text;      // empty for NULL
    bool null = false; // SQL NULL (a raw column printed as "NULL")
};

// One row: its index and its values in the order of the projection.
struct ContentRow
{
    int index = -1;
    QVector<ContentValue> values;

    const QString& text(int column) const { return values.at(column).text; }
    qint64 number(int column, bool* ok = nullptr) const { return values.at(column).text.toLongLong(ok); }
};

// A column of the projection as the phone prints it, and whether its value is hex.
struct ContentColumn
{
    QByteArray printed; // "_id", "hex(body)"
    bool hex = false;
};

// The columns of a projection text such as "_id:date:hex(body)".
QList<ContentColumn> contentColumns(const QString& projection);

// The bytes of upper- or lower-case hex as UTF-8 text; false for an odd
// length or a character that is not a hex digit.
bool decodeHexText(QByteArrayView hex, QString* text);

class ContentQueryRows
{
public:
    // query names the query in error texts ("the message query"); projection as passed to the phone.
    ContentQueryRows(const QString& query, const QString& projection);

    // Records may span lines (raw text columns): a record begins only at a
    // line that starts "Row: n _id=<ids[n]>, " and runs to the next such line
    // or to the end. The projection must start with _id. Call before the first line.
    void anchorAt(const QVector<qint64>& ids);

    // One line of output without its line feed. A carriage return before the
    // line feed is taken off when the first line had one (a terminal's CR LF).
    // Throws std::runtime_error, naming the query, for output that is no row listing.
    void addLine(QByteArrayView line);
    // The output ended: the last record is complete.
    void finish();

    // Takes the oldest complete row; false when none is waiting.
    bool takeRow(ContentRow* row);

    // Rows parsed so far (taken or not).
    int rowCount() const { return parsed; }
    // True once "No result found." was read.
    bool noResult() const { return sawNoResult; }

private:
    void addListedLine(QByteArrayView line);
    void addAnchoredLine(QByteArrayView line);
    bool isAnchor(QByteArrayView line, int index) const;
    void commitRecord(const QByteArray& record, int index);
    ContentRow parseRecord(QByteArrayView record, int index) const;
    [[noreturn]] void fail(const QString& why, QByteArrayView line) const;

    QString query;
    QList<ContentColumn> columns;
    QVector<QByteArray> separators; // ", name=" before each column after the first
    QVector<qint64> anchors;
    bool anchored = false;
    int lineNumber = 0;
    bool crlf = false;
    bool sawNoResult = false;
    int parsed = 0;
    std::deque<ContentRow> ready;
    // Anchored records not yet parsed: the previous one stays open until the
    // next anchor proves the current one real (a body may hold a line that
    // looks like the next anchor).
    QByteArray previous;
    QByteArray current;
    int currentIndex = -1;
};
