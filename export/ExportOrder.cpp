#include "export/ExportOrder.h"

#include "store/MessageOrder.h"
#include "store/MsgChat.h"
#include "store/MsgMessage.h"

#include <QString>

#include <algorithm>

namespace {

QString identifierOf(const _MsgMessage& m)
{
    return m.chat ? m.chat->chat_identifier : QString();
}

int lastOf(const _MsgMessage& m)
{
    return m.chat ? m.chat->_last : 0;
}

} // namespace

bool groupedLess(const _MsgMessage& a, const _MsgMessage& b)
{
    const QString left = identifierOf(a);
    const QString right = identifierOf(b);
    const int identifiers = left.compare(right, Qt::CaseInsensitive);
    if (identifiers == 0)
        return messageLess(a, b);
    if (lastOf(a) != lastOf(b))
        return lastOf(a) < lastOf(b);
    return identifiers < 0;
}

void sortGrouped(QList<_MsgMessage*>& messages, bool ascending)
{
    const auto less = [](const _MsgMessage* a, const _MsgMessage* b) {
        if (!a || !b)
            return !a && b;
        return groupedLess(*a, *b);
    };
    if (ascending)
        std::stable_sort(messages.begin(), messages.end(), less);
    else
        std::stable_sort(messages.begin(), messages.end(),
                         [&less](const _MsgMessage* a, const _MsgMessage* b) { return less(b, a); });
}
