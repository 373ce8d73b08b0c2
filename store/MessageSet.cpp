#include "store/MessageSet.h"

#include <QtAlgorithms>

MessageSet::~MessageSet()
{
    clear();
}

void MessageSet::clear()
{
    // The records hold raw pointers to each other but own none of them, so
    // each map deletes exactly its own records.
    qDeleteAll(messages);
    messages.clear();
    qDeleteAll(attachments);
    attachments.clear();
    qDeleteAll(chats);
    chats.clear();
    qDeleteAll(handles);
    handles.clear();
}
