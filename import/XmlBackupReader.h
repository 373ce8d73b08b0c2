#pragma once

#include "import/XmlRefFilter.h"
#include "store/SimpleSms.h"

#include <QString>
#include <QXmlStreamReader>

#include <functional>

// One <sms> element of a phone's XML backup, checked.
struct XmlBackupSms
{
    QString address;     // as written, trimmed
    QString body;        // may be empty
    QString subject;     // empty for "null"
    QString contactName; // empty for "null" and "(Unknown)"
    qint64 dateMs = 0;   // since 1970-01-01 UTC
    int type = 1;        // 1 received, 2 sent, 3 draft, 4 outbox, 5 failed, 6 queued
    // Whether the phone's type means a text of the phone's owner: every type
    // but 1 (a draft too is the owner's own text).
    bool fromMe() const { return isOwnersSmsType(type); }
};

// Streams the <sms> elements of a phone's XML backup file (root <smses>),
// one at a time, through XmlRefFilter. <mms> elements are skipped and
// counted; so are elements that are not usable messages. The file's count
// attribute is not relied on. A date below 10^11 cannot be milliseconds of
// a real message (that would be before March 1973): it is read as seconds.
class XmlBackupReader
{
public:
    // Called between the parser's steps, also while a large element is
    // skipped; reading stops when it returns false.
    using KeepGoing = std::function<bool()>;

    explicit XmlBackupReader(QIODevice* file, KeepGoing keepGoing = {});

    // The next message; false at the end of the backup, on an error, or when
    // keepGoing said stop.
    bool readSms(XmlBackupSms& sms);
    bool wasStopped() const { return stopped; }

    bool hasError() const { return !error.isEmpty(); }
    // A sentence for the user, naming the line.
    QString errorString() const { return error; }

    int mmsSkipped() const { return mms; }
    int malformedSkipped() const { return malformed; }
    // The messages whose date was read as seconds.
    int datesInSeconds() const { return secondsDates; }
    qint64 bytesRead() const { return filter.sourceBytesRead(); }

private:
    bool readRoot();
    bool readSmsAttributes(XmlBackupSms& sms);
    // Reads past the end of the current element; false when told to stop.
    bool skipElement();
    bool goOn();
    void fail();

    XmlRefFilter filter;
    QXmlStreamReader xml;
    KeepGoing keepGoing;
    bool rootSeen = false;
    bool ended = false;
    bool stopped = false;
    QString error;
    int mms = 0;
    int malformed = 0;
    int secondsDates = 0;
};
