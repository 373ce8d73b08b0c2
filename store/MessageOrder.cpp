#include "store/MessageOrder.h"

#include "store/MsgMessage.h"

#include <algorithm>

namespace {

// |a - b| > limit without overflowing for any pair of values.
bool differByMoreThan(qint64 a, qint64 b, quint64 limit)
{
    const quint64 distance = a >= b ? quint64(a) - quint64(b) : quint64(b) - quint64(a);
    return distance > limit;
}

constexpr quint64 kCloseRowids = 20;
constexpr quint64 kCloseSeconds = 120;

// A null entry sorts before every message so a damaged list cannot crash the sort.
bool pointerLess(const _MsgMessage* a, const _MsgMessage* b)
{
    if (!a || !b)
        return !a && b;
    return messageLess(*a, *b);
}

} // namespace

bool messageLess(const _MsgMessage& a, const _MsgMessage& b)
{
    if (differByMoreThan(a.orderRowid, b.orderRowid, kCloseRowids))
        return a.date < b.date;
    if (differByMoreThan(a.date, b.date, kCloseSeconds))
        return a.date < b.date;
    return a.orderRowid < b.orderRowid;
}

// The order is not a strict weak ordering, for which std::sort is undefined
// (it may read past the range); the merge sort only compares elements inside
// the range and always returns a permutation of it.
void sortMessagesAscending(QList<_MsgMessage*>& messages)
{
    std::stable_sort(messages.begin(), messages.end(), pointerLess);
}

void sortMessagesDescending(QList<_MsgMessage*>& messages)
{
    std::stable_sort(messages.begin(), messages.end(),
                     [](const _MsgMessage* a, const _MsgMessage* b) { return pointerLess(b, a); });
}
