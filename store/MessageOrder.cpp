#include "store/MessageOrder.h"

#include "store/MsgMessage.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

// |a - b| > limit without overflowing for any pair of values.
bool differByMoreThan(qint64 a, qint64 b, quint64 limit)
{
    const quint64 distance = a >= b ? quint64(a) - quint64(b) : quint64(b) - quint64(a);
    return distance > limit;
}

constexpr quint64 kCloseRowids = 20;
constexpr quint64 kCloseSeconds = 120;

// The order on the two values it reads.
bool orderLess(qint64 rowidA, int dateA, qint64 rowidB, int dateB)
{
    if (differByMoreThan(rowidA, rowidB, kCloseRowids))
        return dateA < dateB;
    if (differByMoreThan(dateA, dateB, kCloseSeconds))
        return dateA < dateB;
    return rowidA < rowidB;
}

// What the order reads of one entry of a list, side by side in one array so
// that sorting a million messages does not chase a pointer per comparison.
// The entry's place in the list, complemented for a null entry.
struct OrderKey
{
    qint64 orderRowid;
    int date;
    int place;
};

// A null entry sorts before every message so a damaged list cannot crash the sort.
bool keyLess(const OrderKey& a, const OrderKey& b)
{
    if (a.place < 0 || b.place < 0)
        return a.place < 0 && b.place >= 0;
    return orderLess(a.orderRowid, a.date, b.orderRowid, b.date);
}

// The order is not a strict weak ordering, for which std::sort is undefined
// (it may read past the range); the merge sort only compares elements inside
// the range and always returns a permutation of it, the same one whether it
// moves the entries or their keys.
template <typename Less> void sortByKeys(QList<_MsgMessage*>& messages, Less less)
{
    if (messages.size() > std::numeric_limits<int>::max())
        throw std::length_error("too many messages to sort");
    std::vector<OrderKey> keys;
    keys.reserve(size_t(messages.size()));
    for (int i = 0; i < int(messages.size()); ++i) {
        const _MsgMessage* m = messages.at(i);
        keys.push_back(m ? OrderKey{m->orderRowid, m->date, i} : OrderKey{0, 0, ~i});
    }
    std::stable_sort(keys.begin(), keys.end(), less);
    QList<_MsgMessage*> sorted;
    sorted.reserve(messages.size());
    for (const OrderKey& key : keys)
        sorted.append(messages.at(key.place < 0 ? ~key.place : key.place));
    messages = std::move(sorted);
}

} // namespace

bool messageLess(const _MsgMessage& a, const _MsgMessage& b)
{
    return orderLess(a.orderRowid, a.date, b.orderRowid, b.date);
}

void sortMessagesAscending(QList<_MsgMessage*>& messages)
{
    sortByKeys(messages, keyLess);
}

void sortMessagesDescending(QList<_MsgMessage*>& messages)
{
    sortByKeys(messages, [](const OrderKey& a, const OrderKey& b) { return keyLess(b, a); });
}
