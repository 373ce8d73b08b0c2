#pragma once

#include "store/sql/AbsDb.h"

class MessageSet;

// A database of messages that can be read into a MessageSet.
class AbsMessageDb : public AbsDb
{
public:
    ~AbsMessageDb() override = default;

    // Adds every conversation and every correspondent of a conversation.
    virtual void readChats(MessageSet& set) = 0;
    // readChats, then the messages of one chat (chatRowid > 0) or of all chats.
    virtual void readMessages(MessageSet& set, qint64 chatRowid) = 0;
};
