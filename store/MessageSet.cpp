#include "store/MessageSet.h"

#include <QSet>
#include <QtAlgorithms>

MessageSet::~MessageSet()
{
    clear();
}

void MessageSet::clear()
{
    // The records hold raw pointers to each other but own none of them, so
    // each container deletes exactly its own records.
    messages.clear();
    qDeleteAll(attachments);
    attachments.clear();
    qDeleteAll(chats);
    chats.clear();
    qDeleteAll(handles);
    handles.clear();
}

void MessageSet::removeMessages(const QList<_MsgMessage*>& list)
{
    QSet<_MsgMessage*> owned;
    for (_MsgMessage* message : list) {
        if (message && messages.value(message->rowid) == message)
            owned.insert(message);
    }
    if (owned.isEmpty())
        return;
    for (_MsgChat* chat : std::as_const(chats))
        chat->messages.removeIf([&owned](_MsgMessage* message) { return owned.contains(message); });
    messages.removeAndDelete(owned);
}
