#pragma once

#include <QList>

struct _MsgMessage;

// The order of a PDF or HTML export: conversation after conversation, the
// one whose newest message is older first, and inside a conversation the
// message order. Conversations are told apart by their identifier, ignoring
// letter case; two with the same newest date follow their identifiers, so a
// conversation's messages always stay together. Descending is the reverse.
// Stable, and safe with the message order, which is no strict weak ordering.
void sortGrouped(QList<_MsgMessage*>& messages, bool ascending);

// Whether a comes before b in the ascending grouped order.
bool groupedLess(const _MsgMessage& a, const _MsgMessage& b);
