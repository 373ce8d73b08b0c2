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
