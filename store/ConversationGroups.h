#pragma once

#include <QList>
#include <QString>

class MessageSet;
struct _MsgChat;

// The chats of one correspondent address, shown as one conversation.
struct ConversationGroup
{
    QString chat_identifier;
    QList<_MsgChat*> chats; // in the set's chat order
    int last = 0;           // the newest _last among them
};

// One group per distinct chat_identifier, in order of first appearance.
QList<ConversationGroup> conversationGroups(const MessageSet& set);
