#pragma once

#include "store/MsgAttachment.h"
#include "store/MsgChat.h"
#include "store/MsgHandle.h"
#include "store/MsgMessage.h"

#include <QMap>
#include <QSharedPointer>

// Owns every record read from one database or built for one phone load.
// Maps are keyed by row id and iterate in ascending row id order.
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
    QMap<qint64, _MsgMessage*> messages;
    QMap<qint64, _MsgAttachment*> attachments;

    // Deletes every record and empties the maps.
    void clear();
};

using MessageSetPtr = QSharedPointer<MessageSet>;
