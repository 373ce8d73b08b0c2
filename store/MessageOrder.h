#pragma once

#include <QList>

struct _MsgMessage;

// The message order: by row id when two rows are close (ids within 20 and
// dates within 120 s), otherwise by date. It is not a strict weak ordering,
// so lists are sorted with the stable sorts below, never with std::sort.
bool messageLess(const _MsgMessage& a, const _MsgMessage& b);

void sortMessagesAscending(QList<_MsgMessage*>& messages);
// The reverse order: messageLess with its arguments swapped.
void sortMessagesDescending(QList<_MsgMessage*>& messages);
