#include "store/MsgMessage.h"

#include <QHashFunctions>

#include <tuple>

namespace {
// Every field of the block, for comparing two of them.
auto fieldsOf(const _MsgMessageColumns& c)
{
    return std::tie(c.replace, c.service_center, c.subject, c.country, c.attributedBody, c.version, c.type,
                    c.service, c.account, c.account_guid, c.error, c.is_delivered, c.is_finished, c.is_emote,
                    c.is_empty, c.is_delayed, c.is_auto_reply, c.is_prepared, c.is_read, c.is_system_message,
                    c.is_sent, c.has_dd_results, c.is_service_message, c.is_forward, c.was_downgraded,
                    c.is_archive, c.cache_has_attachments, c.cache_roomnames, c.was_data_detected,
                    c.was_deduplicated, c.is_audio_message, c.is_played, c.date_played, c.other_handle,
                    c.group_title, c.group_action_type, c.share_status, c.share_direction, c.is_expirable,
                    c.expire_state, c.message_action_type);
}

// The block of a new record: every record starts out sharing this one.
const QSharedDataPointer<_MsgMessageColumns>& defaultColumns()
{
    static const QSharedDataPointer<_MsgMessageColumns> block(new _MsgMessageColumns);
    return block;
}
} // namespace

bool _MsgMessageColumns::operator==(const _MsgMessageColumns& other) const
{
    return this == &other || fieldsOf(*this) == fieldsOf(other);
}

size_t qHash(const _MsgMessageColumns& columns, size_t seed)
{
    return std::apply([seed](const auto&... fields) { return qHashMulti(seed, fields...); }, fieldsOf(columns));
}

_MsgMessage::_MsgMessage() : shared(defaultColumns()) {}
