#pragma once

#include "store/AbsFormatExport.h"
#include "store/MsgMessage.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QUuid>

// The backup file of the common Android SMS backup app, which restores it
// onto a phone: an XML declaration, then <smses count="N" ...> with one
// <sms .../> line per message and </smses>. Each element goes to the file as
// soon as it is made, so memory stays flat however many messages there are.
//
// Attribute values are UTF-8 with & < > " ' as entities, and only what XML
// 1.0 allows, so that every strict reader takes the file: tab, line feed,
// carriage return and U+007F as decimal character references; the other
// control characters (U+0000 to U+001F), U+FFFE, U+FFFF and lone UTF-16
// surrogates, which XML 1.0 forbids even as references, become U+FFFD.
// The body is the message's own text without the placeholders of its
// attachments. Only ordinary messages go in: system messages (a member
// left, a name changed) are no SMS and are left out.
class ExportMessagesXml : public AbsFormatExport<_MsgMessage>
{
public:
    // count: the number of messages write() will take, stated up front in
    // the root element. backupSet and backupDateMs (milliseconds since 1970)
    // name this backup; by default a fresh identifier and the current time.
    ExportMessagesXml(const QString& path, qint64 count, const QUuid& backupSet = QUuid::createUuid(),
                      qint64 backupDateMs = -1);

    // Whether write() puts the message into the file.
    static bool writes(const _MsgMessage& message);
    // The attribute value as UTF-8, escaped as described above.
    static QByteArray escaped(const QString& value);
    // The app's readable_date: "Dec 7, 2026 3:04:05 PM" in local time, in English.
    static QString readableDate(int storedDate);

    // Open the file and write the header; throw std::runtime_error with the
    // file's error text when it cannot be opened.
    void begin() override;
    void write(const _MsgMessage& message) override;
    // Closes the root element and the file; throws when the data could not
    // be written, or when the number of messages differs from the count.
    void end() override;

private:
    void put(const QByteArray& bytes);

    QFile file;
    qint64 count;
    qint64 written = 0;
    QUuid backupSet;
    qint64 backupDateMs;
};
