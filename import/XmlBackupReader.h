#pragma once

#include "import/XmlRefFilter.h"

#include <QString>
#include <QXmlStreamReader>

// One <sms> element of a phone's XML backup, checked.
struct XmlBackupSms
{
    QString address;     // as written, trimmed
    QString body;        // may be empty
    QString subject;     // empty for "null"
    QString contactName; // empty for "null" and "(Unknown)"
    qint64 dateMs = 0;   // since 1970-01-01 UTC
    int type = 1;        // 1 received, 2 sent, 3 draft, 4 outbox, 5 failed, 6 queued
    // Whether the phone's type means a message of the phone's owner.
    bool fromMe() const { return type == 2 || type >= 4; }
};

// Streams the <sms> elements of a phone's XML backup file (root <smses>),
// one at a time, through XmlRefFilter. <mms> elements are skipped and
// counted; so are elements that are not usable messages. The file's count
// attribute is not relied on.
class XmlBackupReader
{
public:
    explicit XmlBackupReader(QIODevice* file);

    // The next message; false at the end of the backup or on an error.
    bool readSms(XmlBackupSms& sms);

    bool hasError() const { return !error.isEmpty(); }
    // A sentence for the user, naming the line.
    QString errorString() const { return error; }

    int mmsSkipped() const { return mms; }
    int malformedSkipped() const { return malformed; }
    qint64 bytesRead() const { return filter.sourceBytesRead(); }

private:
    bool readRoot();
    bool readSmsAttributes(XmlBackupSms& sms);
    void fail();

    XmlRefFilter filter;
    QXmlStreamReader xml;
    bool rootSeen = false;
    bool ended = false;
    QString error;
    int mms = 0;
    int malformed = 0;
};
