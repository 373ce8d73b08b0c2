#pragma once

#include "store/MsgChat.h"
#include "store/MsgHandle.h"
#include "store/MsgMessage.h"

// One SMS from a source that knows only its basics (a phone's backup, a
// local database of the earlier format), as the records the message database
// writer takes: a correspondent and a conversation of its own, keyed by the
// address, and the message pointing at both, with the flags of a delivered,
// read SMS and a guid made from its content.
class SimpleSms
{
public:
    struct Fields
    {
        QString address; // already normalised
        QString contactName;
        QString text;
        QString subject;
        int date = 0; // stored date unit, also the read and delivery dates
        bool fromMe = false;
        // The region code (lower case) of the country the address was
        // normalised with, kept by the correspondent; empty: none of its own.
        QString country = QString();
    };

    SimpleSms() = default;
    SimpleSms(const SimpleSms&) = delete;
    SimpleSms& operator=(const SimpleSms&) = delete;

    void fill(const Fields& fields);
    const _MsgMessage& message() const { return sms; }
    // The message's logic hash (its guid is made from it).
    const QString& logicHashText() const { return hash; }

private:
    _MsgHandle handle;
    _MsgChat chat;
    _MsgMessage sms;
    QString hash;
};

// Whether a message of Android's SMS type column (the phone's message store,
// also written by backup apps) is the owner's own text: 2 sent, 3 draft, 4
// outbox, 5 failed and 6 queued are; 1 (inbox) and anything else came in.
bool isOwnersSmsType(qint64 type);
