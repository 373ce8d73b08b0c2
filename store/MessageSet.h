#pragma once

#include "store/MessageRecords.h"
#include "store/MsgAttachment.h"
#include "store/MsgChat.h"
#include "store/MsgHandle.h"
#include "store/MsgMessage.h"

#include <QList>
#include <QMap>
#include <QSharedPointer>

// Owns every record read from one database or built for one phone load.
// The containers are keyed by row id and iterate in ascending row id order.
// Records reference each other by raw pointers, so none may outlive the set.
class MessageSet
{
public:
    MessageSet() = default;
    ~MessageSet();
    MessageSet(const MessageSet&) = delete;
    MessageSet& operator=(const MessageSet&) = delete;

    QMap<qint64, _MsgChat*> chats;
    QMap<qint64, _MsgHandle*> handles;
    MessageRecords messages;
    QMap<qint64, _MsgAttachment*> attachments;

    // Deletes every record and empties the containers.
    void clear();
    // Takes the messages out of the set and out of their chats and deletes
    // them; messages of another set are left alone.
    void removeMessages(const QList<_MsgMessage*>& list);
};

using MessageSetPtr = QSharedPointer<MessageSet>;
