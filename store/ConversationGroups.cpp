#include "store/ConversationGroups.h"

#include "store/MessageSet.h"

#include <QHash>

#include <algorithm>

QList<ConversationGroup> conversationGroups(const MessageSet& set)
{
    QList<ConversationGroup> groups;
    QHash<QString, qsizetype> indexByIdentifier;
    for (_MsgChat* chat : set.chats) {
        if (!chat)
            continue;
        const auto found = indexByIdentifier.constFind(chat->chat_identifier);
        if (found == indexByIdentifier.constEnd()) {
            indexByIdentifier.insert(chat->chat_identifier, groups.size());
            groups.append(ConversationGroup{chat->chat_identifier, {chat}, chat->_last});
            continue;
        }
        ConversationGroup& group = groups[*found];
        group.chats.append(chat);
        group.last = std::max(group.last, chat->_last);
    }
    return groups;
}
