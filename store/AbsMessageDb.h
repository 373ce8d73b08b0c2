#pragma once

#include "sql/AbsDb.h"

class MessageSet;

// A database of messages that can be read into a MessageSet.
class AbsMessageDb : public AbsDb
{
public:
    ~AbsMessageDb() override = default;

    // Fills the set with every conversation and every correspondent of a
    // conversation. Whatever the set held before is deleted first: a file
    // written or replaced since an earlier read reuses row ids for other
    // records, so old records are never mixed with new rows. Anyone holding
    // pointers into the set must let go of them before.
    virtual void readChats(MessageSet& set) = 0;
    // readChats, then the messages of one chat (chatRowid > 0) or of all chats.
    virtual void readMessages(MessageSet& set, qint64 chatRowid) = 0;
};
