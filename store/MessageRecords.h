#pragma once

#include <QList>
#include <QSet>
#include <QtGlobal>

#include <utility>
#include <vector>

struct _MsgMessage;

// The messages of a MessageSet: owned, ordered by row id, found by row id
// (a binary search). A sorted array rather than a tree: 16 bytes a message
// instead of a tree node of 64, and a whole-database read appends row after
// row without rebalancing anything.
class MessageRecords
{
public:
    using Entry = std::pair<qint64, _MsgMessage*>; // row id, record

    // Iterates the records (not the entries) in ascending row id order.
    class const_iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = _MsgMessage*;
        using difference_type = std::ptrdiff_t;
        using pointer = _MsgMessage* const*;
        using reference = _MsgMessage* const&;

        explicit const_iterator(std::vector<Entry>::const_iterator at) : at(at) {}
        reference operator*() const { return at->second; }
        const_iterator& operator++()
        {
            ++at;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return at == other.at; }
        bool operator!=(const const_iterator& other) const { return at != other.at; }

    private:
        std::vector<Entry>::const_iterator at;
    };

    MessageRecords() = default;
    ~MessageRecords();
    MessageRecords(const MessageRecords&) = delete;
    MessageRecords& operator=(const MessageRecords&) = delete;

    qsizetype size() const { return qsizetype(entries.size()); }
    bool isEmpty() const { return entries.empty(); }
    const_iterator begin() const { return const_iterator(entries.cbegin()); }
    const_iterator end() const { return const_iterator(entries.cend()); }

    // The record under rowid, or null.
    _MsgMessage* value(qint64 rowid) const;
    bool contains(qint64 rowid) const { return value(rowid) != nullptr; }
    // The first (smallest) and last (largest) row id, and the first record;
    // the set must not be empty.
    qint64 firstKey() const { return entries.front().first; }
    qint64 lastKey() const { return entries.back().first; }
    _MsgMessage* first() const { return entries.front().second; }
    QList<_MsgMessage*> values() const;
    QList<qint64> keys() const;

    // Adds message, owned from now on, under rowid. A record already under
    // that row id is deleted and replaced. Ascending row ids cost no search.
    void insert(qint64 rowid, _MsgMessage* message);
    // Takes records in any order, owned from now on, after those already
    // held; the row ids must differ from each other and from those held.
    void adopt(std::vector<Entry>&& records);
    // Takes the given records out and deletes them; others are ignored.
    void removeAndDelete(const QSet<_MsgMessage*>& records);
    // Deletes every record.
    void clear();

private:
    std::vector<Entry>::const_iterator find(qint64 rowid) const;

    std::vector<Entry> entries; // ascending row ids
};
