#pragma once

#include <QList>

class MessageSet;
struct _MsgChat;
struct _MsgMessage;

// Every message of the set, in the set's order.
QList<_MsgMessage*> allMessages(const MessageSet& set);
// The messages of each chat in turn, chat by chat.
QList<_MsgMessage*> messagesOfChats(const QList<_MsgChat*>& chats);
