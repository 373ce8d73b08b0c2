#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

class PhoneProfile;

// One message of the simulated phone's message store.
struct PhoneMessage
{
    qint64 dateMs = 0; // milliseconds since 1970-01-01 00:00 UTC
    int type = 2;      // 1 sent by the owner, 2 received
    QString address;
    QString name;
    QString body;
    QString subject;
    bool subjectNull = true; // no subject at all (SQL NULL), unless the file gives a text
    // The SMS provider's type column: 0 follows `type` (1 sent -> 2, 2 received
    // -> 1); 3 draft, 4 outbox, 5 failed, 6 queued stay hidden from the shell.
    int smsType = 0;

    int providerType() const { return smsType != 0 ? smsType : (type == 1 ? 2 : 1); }
};

// The messages a phone sends on a backup connection: its "messages" array,
// else the ones its "generate" object asks for, else none.
class PhoneMessages
{
public:
    static QList<PhoneMessage> of(const PhoneProfile& phone);

    static QList<PhoneMessage> fromArray(const QJsonArray& array);
    // Messages of the project's generator for {"messages", "conversations",
    // "seed"}; the last result is kept, so asking twice costs nothing.
    static QList<PhoneMessage> generated(const QJsonObject& request);
    // The number of conversations used when a request names none.
    static int defaultConversations(int messages);
};
