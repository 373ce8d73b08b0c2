#include "store/MessageRecords.h"

#include "store/MsgMessage.h"

#include <algorithm>

namespace {
bool rowidLess(const MessageRecords::Entry& entry, qint64 rowid)
{
    return entry.first < rowid;
}

bool entryLess(const MessageRecords::Entry& a, const MessageRecords::Entry& b)
{
    return a.first < b.first;
}
} // namespace

MessageRecords::~MessageRecords()
{
    clear();
}

std::vector<MessageRecords::Entry>::const_iterator MessageRecords::find(qint64 rowid) const
{
    const auto at = std::lower_bound(entries.cbegin(), entries.cend(), rowid, rowidLess);
    return at != entries.cend() && at->first == rowid ? at : entries.cend();
}

_MsgMessage* MessageRecords::value(qint64 rowid) const
{
    const auto at = find(rowid);
    return at == entries.cend() ? nullptr : at->second;
}

QList<_MsgMessage*> MessageRecords::values() const
{
    QList<_MsgMessage*> list;
    list.reserve(size());
    for (const Entry& entry : entries)
        list.append(entry.second);
    return list;
}

QList<qint64> MessageRecords::keys() const
{
    QList<qint64> list;
    list.reserve(size());
    for (const Entry& entry : entries)
        list.append(entry.first);
    return list;
}

void MessageRecords::insert(qint64 rowid, _MsgMessage* message)
{
    if (entries.empty() || entries.back().first < rowid) {
        entries.emplace_back(rowid, message);
        return;
    }
    const auto at = std::lower_bound(entries.begin(), entries.end(), rowid, rowidLess);
    if (at != entries.end() && at->first == rowid) {
        if (at->second != message)
            delete at->second;
        at->second = message;
        return;
    }
    entries.insert(at, Entry(rowid, message));
}

void MessageRecords::adopt(std::vector<Entry>&& records)
{
    const bool inOrder = std::is_sorted(records.cbegin(), records.cend(), entryLess) &&
                         (entries.empty() || records.empty() || entries.back().first < records.front().first);
    if (entries.empty()) {
        entries = std::move(records);
    } else {
        entries.insert(entries.end(), records.cbegin(), records.cend());
        records.clear();
    }
    if (!inOrder)
        std::sort(entries.begin(), entries.end(), entryLess);
    entries.shrink_to_fit();
}

void MessageRecords::removeAndDelete(const QSet<_MsgMessage*>& records)
{
    const auto removed = std::remove_if(entries.begin(), entries.end(), [&records](const Entry& entry) {
        if (!records.contains(entry.second))
            return false;
        delete entry.second;
        return true;
    });
    entries.erase(removed, entries.end());
}

void MessageRecords::clear()
{
    for (const Entry& entry : entries)
        delete entry.second;
    entries.clear();
    entries.shrink_to_fit();
}
