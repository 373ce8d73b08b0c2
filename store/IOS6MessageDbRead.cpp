#include "store/IOS6MessageDb.h"

#include "country/CountryInfo.h"
#include "store/MessageColumns.h"
#include "store/MessageHash.h"
#include "store/MessageSet.h"

#include <QHash>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Column positions of one result, looked up once per query.
struct ChatColumns
{
    explicit ChatColumns(const Sqlite3Cursor& c)
        : rowid(c.columnIndex(QStringLiteral("rowid"))), guid(c.columnIndex(QStringLiteral("guid"))),
          style(c.columnIndex(QStringLiteral("style"))), state(c.columnIndex(QStringLiteral("state"))),
          account_id(c.columnIndex(QStringLiteral("account_id"))),
          properties(c.columnIndex(QStringLiteral("properties"))),
          chat_identifier(c.columnIndex(QStringLiteral("chat_identifier"))),
          service_name(c.columnIndex(QStringLiteral("service_name"))),
          room_name(c.columnIndex(QStringLiteral("room_name"))),
          account_login(c.columnIndex(QStringLiteral("account_login"))),
          is_archived(c.columnIndex(QStringLiteral("is_archived"))),
          last_addressed_handle(c.columnIndex(QStringLiteral("last_addressed_handle"))),
          display_name(c.columnIndex(QStringLiteral("display_name"))),
          last(c.columnIndex(QStringLiteral("_last"))), group_id(c.columnIndex(QStringLiteral("group_id")))
    {}
    int rowid, guid, style, state, account_id, properties, chat_identifier, service_name, room_name,
        account_login, is_archived, last_addressed_handle, display_name, last, group_id;
};

struct HandleColumns
{
    explicit HandleColumns(const Sqlite3Cursor& c)
        : rowid(c.columnIndex(QStringLiteral("rowid"))), id(c.columnIndex(QStringLiteral("id"))),
          country(c.columnIndex(QStringLiteral("country"))),
          service(c.columnIndex(QStringLiteral("service"))),
          uncanonicalized_id(c.columnIndex(QStringLiteral("uncanonicalized_id"))),
          ct_name(c.columnIndex(QStringLiteral("_ct_name"))), photo(c.columnIndex(QStringLiteral("_photo")))
    {}
    int rowid, id, country, service, uncanonicalized_id, ct_name, photo;
};

// Where each message column lands in the record: the result's column
// positions paired with the columns' setters, found once per query.
class MessageFields
{
public:
    explicit MessageFields(const Sqlite3Cursor& c) : rowid(c.columnIndex(QStringLiteral("rowid")))
    {
        for (const MessageColumn& column : messageColumns()) {
            if (column.read)
                fields.push_back({c.columnIndex(column.name), column.read});
        }
    }

    void read(const Sqlite3Cursor& c, _MsgMessage& m) const
    {
        for (const auto& field : fields)
            field.second(m, c, field.first);
    }

    const int rowid;

private:
    std::vector<std::pair<int, decltype(MessageColumn::read)>> fields;
};

// The set's records found by row id in one step, for a read that links a
// million rows to a few thousand of them (a tree descent each costs a cache
// miss at every level).
template <typename T> QHash<qint64, T*> indexByRowid(const QMap<qint64, T*>& records)
{
    QHash<qint64, T*> index;
    index.reserve(records.size());
    for (auto it = records.cbegin(); it != records.cend(); ++it)
        index.insert(it.key(), it.value());
    return index;
}

// Points the message at its correspondent and at the other party of a
// system message, when the set holds them.
void linkMessage(const QHash<qint64, _MsgHandle*>& handles, _MsgMessage& message)
{
    if (_MsgHandle* handle = handles.value(message.handle_id)) {
        message.handle = handle;
        if (message.country().isEmpty())
            message.set_country(handle->country);
    }
    if (message.other_handle() > 0) {
        if (_MsgHandle* other = handles.value(message.other_handle()))
            message.otherHandle = other;
    }
}

// Inserts value under key unless the key is present; returns the value kept.
// One tree descent either way, and an amortised constant cost for the
// ascending keys a table scan yields.
template <typename T> T* findOrInsert(QMap<qint64, T*>& map, qint64 key, bool* inserted, T* (*make)())
{
    auto it = map.lowerBound(key);
    if (it != map.end() && it.key() == key) {
        *inserted = false;
        return it.value();
    }
    *inserted = true;
    T* value = make();
    map.insert(it, key, value);
    return value;
}

template <typename T> T* makeRecord()
{
    return new T;
}

// The blocks of repeating columns a read has made, found by their values: a
// row whose values one of them holds shares it, so a million messages of a
// few kinds (sent, received, from each country, ...) hold a few blocks.
class ColumnBlocks
{
public:
    // A block holding values: an equal one made before, or a new copy kept
    // for later rows.
    QSharedDataPointer<_MsgMessageColumns> blockFor(const _MsgMessageColumns& values)
    {
        if (last.constData() && *last.constData() == values)
            return last;
        const size_t hash = qHash(values);
        for (auto it = kept.constFind(hash); it != kept.cend() && it.key() == hash; ++it) {
            if (*it.value().constData() == values)
                return last = it.value();
        }
        last = QSharedDataPointer<_MsgMessageColumns>(new _MsgMessageColumns(values));
        kept.insert(hash, last);
        return last;
    }

private:
    QMultiHash<size_t, QSharedDataPointer<_MsgMessageColumns>> kept;
    QSharedDataPointer<_MsgMessageColumns> last;
};

// The messages of one read, collected in the order their rows come and handed
// to the set at the end. Rows come in ascending row id order but for a
// message joined to a second chat; only then are the records found again
// through an index by row id.
class ReadMessages
{
public:
    explicit ReadMessages(MessageSet& set) : set(set) {}
    // Whatever was read goes to the set, also when reading failed midway.
    ~ReadMessages() { handOver(); }
    ReadMessages(const ReadMessages&) = delete;
    ReadMessages& operator=(const ReadMessages&) = delete;

    // The record of rowid read before, or null.
    _MsgMessage* find(qint64 rowid)
    {
        if (records.empty() || rowid > lastRowid)
            return nullptr;
        ascending = false;
        if (index.isEmpty()) {
            index.reserve(qsizetype(records.size()));
            for (const MessageRecords::Entry& entry : records)
                index.insert(entry.first, entry.second);
        }
        return index.value(rowid);
    }

    void add(qint64 rowid, _MsgMessage* message)
    {
        if (!index.isEmpty() || (!records.empty() && rowid <= lastRowid))
            index.insert(rowid, message);
        records.emplace_back(rowid, message);
        lastRowid = std::max(lastRowid, rowid);
    }

    // The set takes the records, and each chat's messages are put in row id
    // order (they are already when the rows came in ascending order).
    void handOver()
    {
        if (records.empty())
            return;
        set.messages.adopt(std::move(records));
        records = {};
        index.clear();
        for (_MsgChat* chat : std::as_const(set.chats)) {
            QList<_MsgMessage*>& list = chat->messages;
            const auto byRowid = [](const _MsgMessage* a, const _MsgMessage* b) {
                return a->rowid < b->rowid;
            };
            if (!ascending && !std::is_sorted(list.cbegin(), list.cend(), byRowid))
                std::sort(list.begin(), list.end(), byRowid);
            list.squeeze();
        }
    }

private:
    MessageSet& set;
    std::vector<MessageRecords::Entry> records;
    QHash<qint64, _MsgMessage*> index; // built once rows stop ascending
    qint64 lastRowid = 0;
    bool ascending = true; // no row came after one with a higher row id
};

} // namespace

void IOS6MessageDb::readChats(MessageSet& set)
{
    open();
    // A read replaces the set's content, never adds to records of another time.
    set.clear();
    readChatRows(set);
    if (!tableSql.value(QStringLiteral("chat")).contains(QLatin1String("_last INTEGER"), Qt::CaseInsensitive))
        readChatLastDates(set);
    readChatHandles(set);
}

void IOS6MessageDb::readChatRows(MessageSet& set)
{
    Sqlite3Cursor cursor = queryThrow(QStringLiteral("select * from chat"));
    const ChatColumns col(cursor);
    while (cursor.moveNext()) {
        const qint64 rowid = cursor.getInt64(col.rowid);
        bool inserted = false;
        _MsgChat* chat = findOrInsert(set.chats, rowid, &inserted, &makeRecord<_MsgChat>);
        if (!inserted)
            continue;
        chat->rowid = rowid;
        chat->guid = cursor.getText(col.guid);
        chat->style = cursor.getInt(col.style);
        chat->state = cursor.getInt(col.state);
        chat->account_id = cursor.getText(col.account_id);
        chat->properties = cursor.getBlob(col.properties);
        chat->chat_identifier = cursor.getText(col.chat_identifier);
        chat->service_name = cursor.getText(col.service_name);
        chat->room_name = cursor.getText(col.room_name);
        chat->account_login = cursor.getText(col.account_login);
        chat->is_archived = cursor.getInt(col.is_archived);
        chat->last_addressed_handle = cursor.getText(col.last_addressed_handle);
        chat->display_name = cursor.getText(col.display_name);
        chat->_last = cursor.getInt(col.last);
        chat->group_id = cursor.getText(col.group_id);
    }
}

// For files whose chat table has no _last: the newest joined message's date.
void IOS6MessageDb::readChatLastDates(MessageSet& set)
{
    Sqlite3Cursor cursor = queryThrow(QStringLiteral(
        "select chat_id, max(date) as last from ( select cm.chat_id, m.date from chat_message_join as cm "
        "inner join message as m on cm.message_id=m.rowid ) as tmp group by chat_id"));
    const int chatId = cursor.columnIndex(QStringLiteral("chat_id"));
    const int last = cursor.columnIndex(QStringLiteral("last"));
    while (cursor.moveNext()) {
        _MsgChat* chat = set.chats.value(cursor.getInt64(chatId));
        if (chat)
            chat->_last = cursor.getInt(last);
    }
}

void IOS6MessageDb::readChatHandles(MessageSet& set)
{
    Sqlite3Cursor cursor = queryThrow(QStringLiteral(
        "select j.chat_id, h.* from chat_handle_join as j inner join handle as h on j.handle_id = h.rowid"));
    const int chatId = cursor.columnIndex(QStringLiteral("chat_id"));
    const HandleColumns col(cursor);
    QHash<QString, CountryInfo> countryCache;
    while (cursor.moveNext()) {
        const qint64 rowid = cursor.getInt64(col.rowid);
        bool inserted = false;
        _MsgHandle* handle = findOrInsert(set.handles, rowid, &inserted, &makeRecord<_MsgHandle>);
        if (inserted) {
            handle->rowid = rowid;
            handle->id = cursor.getText(col.id);
            handle->country = cursor.getText(col.country);
            handle->service = cursor.getText(col.service);
            handle->uncanonicalized_id = cursor.getText(col.uncanonicalized_id);
            handle->_ct_name = cursor.getText(col.ct_name);
            handle->_photo = cursor.getBlob(col.photo);
            normalizeHandle(*handle, countryCache);
        }
        _MsgChat* chat = set.chats.value(cursor.getInt64(chatId));
        if (chat)
            chat->participants.insert(QString::number(rowid), handle);
    }
}

// Brings the stored address into the normalised form of the handle's country,
// or of the database's own country when the handle names none.
void IOS6MessageDb::normalizeHandle(_MsgHandle& handle, QHash<QString, CountryInfo>& countryCache)
{
    auto it = countryCache.constFind(handle.country);
    if (it == countryCache.constEnd()) {
        // An unknown region code yields the current country.
        const CountryInfo info =
            handle.country.isEmpty() ? countryLib.currentCountry() : countryLib.findBySn(handle.country);
        it = countryCache.insert(handle.country, info);
    }
    if (handle.country.isEmpty())
        handle.country = it->sn.toLower();
    handle.id = normalizePhoneNumber(*it, handle.id);
}

void IOS6MessageDb::readMessages(MessageSet& set, qint64 chatRowid)
{
    readChats(set);
    Sqlite3Sql sql(QStringLiteral("select j.chat_id, m.* from chat_message_join as j inner join message as m "
                                  "on j.message_id = m.rowid"));
    if (tableSql.value(QStringLiteral("message")).contains(QLatin1String("item_type")))
        sql.appendSql(QStringLiteral(" and m.item_type <> 4"));
    if (chatRowid > 0)
        sql.appendSql(QStringLiteral(" and j.chat_id=%1").arg(chatRowid));
    Sqlite3Cursor cursor = queryThrow(sql);
    const int chatId = cursor.columnIndex(QStringLiteral("chat_id"));
    const MessageFields col(cursor);
    ReadMessages read(set);
    // Each new row is read into the same record first, whose block of
    // repeating columns is its own: a column whose value the row before had
    // costs nothing, and the new record shares a block of equal values.
    _MsgMessage row;
    ColumnBlocks blocks;
    const QHash<qint64, _MsgHandle*> handles = indexByRowid(set.handles);
    const QHash<qint64, _MsgChat*> chats = indexByRowid(set.chats);
    while (cursor.moveNext()) {
        const qint64 rowid = cursor.getInt64(col.rowid);
        _MsgMessage* message = read.find(rowid);
        if (message) {
            linkMessage(handles, *message);
        } else {
            row.rowid = rowid;
            row.orderRowid = rowid;
            col.read(cursor, row);
            row.handle = nullptr;
            row.otherHandle = nullptr;
            linkMessage(handles, row);
            message = new _MsgMessage(std::move(row));
            row.shareColumns(message->columnsBlock());
            message->shareColumns(blocks.blockFor(row.columns()));
            read.add(rowid, message);
        }
        _MsgChat* chat = chats.value(cursor.getInt64(chatId));
        if (!chat)
            continue;
        message->chat = chat;
        chat->messages.append(message);
    }
}

qint64 IOS6MessageDb::findRowid(const QString& sql, std::initializer_list<QString> keys)
{
    open();
    Sqlite3Sql query(sql);
    for (const QString& key : keys)
        query.addTextParam(key);
    Sqlite3Cursor cursor = queryThrow(query);
    return cursor.moveNext() ? cursor.getInt64(0) : 0;
}

qint64 IOS6MessageDb::findChatRowid(const _MsgChat& chat)
{
    return findRowid(QStringLiteral("select rowid from chat where guid=?"), {chat.guid});
}

qint64 IOS6MessageDb::findHandleRowid(const _MsgHandle& handle)
{
    return findRowid(QStringLiteral("select rowid from handle where id=? and service=?"),
                     {handle.id, handle.service});
}

qint64 IOS6MessageDb::findMessageRowid(const _MsgMessage& message)
{
    return findRowid(QStringLiteral("select rowid from message where guid=?"), {message.guid});
}

qint64 IOS6MessageDb::findMessageRowidByLogicHash(const _MsgMessage& message)
{
    return findMessageRowidByLogicHash(logicHash(message));
}

qint64 IOS6MessageDb::findMessageRowidByLogicHash(const QString& hash)
{
    if (!storesLogicHash())
        return 0;
    return findRowid(QStringLiteral("select rowid from message where logic_hash=?"), {hash});
}

qint64 IOS6MessageDb::findAttachmentRowid(const _MsgAttachment& attachment)
{
    return findRowid(QStringLiteral("select rowid from attachment where guid=?"), {attachment.guid});
}

bool IOS6MessageDb::hasChatHandle(qint64 chatRowid, qint64 handleRowid)
{
    open();
    // Bound rather than pasted into the text, so one prepared statement serves every call.
    Sqlite3Sql sql(QStringLiteral("select 1 from chat_handle_join where chat_id=? and handle_id=?"));
    sql.addInt64Param(chatRowid);
    sql.addInt64Param(handleRowid);
    Sqlite3Cursor cursor = queryThrow(sql);
    return cursor.moveNext();
}

QString IOS6MessageDb::mostCommonHandleCountry()
{
    open();
    Sqlite3Cursor cursor = queryThrow(QStringLiteral(
        "select upper(country) as region, count(*) as n from handle where country is not null and "
        "country <> '' group by region order by n desc, region asc limit 1"));
    return cursor.moveNext() ? cursor.getText(QStringLiteral("region")) : QString();
}
