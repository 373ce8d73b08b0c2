#include "store/MessageLists.h"

#include "store/MessageSet.h"

QList<_MsgMessage*> allMessages(const MessageSet& set)
{
    return set.messages.values();
}

QList<_MsgMessage*> messagesOfChats(const QList<_MsgChat*>& chats)
{
    qsizetype total = 0;
    for (const _MsgChat* chat : chats) {
        if (chat)
            total += chat->messages.size();
    }
    QList<_MsgMessage*> list;
    list.reserve(total);
    for (const _MsgChat* chat : chats) {
        if (!chat)
            continue;
        for (_MsgMessage* message : chat->messages)
            list.append(message);
    }
    return list;
}
