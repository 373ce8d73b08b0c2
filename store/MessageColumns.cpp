#include "store/MessageColumns.h"

#include "sql/Sqlite3Cursor.h"
#include "store/MessageHash.h"
#include "store/MsgMessage.h"

namespace {

using In = const NewMessageRow&;
using Out = _MsgMessage&;
using Cur = const Sqlite3Cursor&;

// Texts and blobs written only when they hold something.
QVariant unlessEmpty(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant unlessEmpty(const QByteArray& bytes)
{
    return bytes.isEmpty() ? QVariant() : QVariant(bytes);
}

} // namespace

QString MessageColumn::addColumnSql() const
{
    return QStringLiteral("ALTER TABLE message ADD COLUMN %1 %2;")
        .arg(name, QLatin1String(upgrade.declaration));
}

const std::vector<MessageColumn>& messageColumns()
{
    // Adding a column to the message table is one row here (and a line of the schema script).
    static const std::vector<MessageColumn> columns = {
        {"guid", [](In r) -> QVariant { return r.message.guid.toString(); },
         [](Out m, Cur c, int i) { m.guid = CompactText::fromUtf8(c.getUtf8(i)); }},
        {"text", [](In r) -> QVariant { return r.message.text.toString(); },
         [](Out m, Cur c, int i) { m.text = CompactText::fromUtf8(c.getUtf8(i)); }},
        {"replace", [](In r) -> QVariant { return r.message.replace(); },
         [](Out m, Cur c, int i) { m.set_replace(c.getInt(i)); }},
        {"service_center", [](In r) { return unlessEmpty(r.message.service_center()); },
         [](Out m, Cur c, int i) { m.set_service_center(c.getText(i)); }},
        {"handle_id", [](In r) -> QVariant { return r.handleRowid; },
         [](Out m, Cur c, int i) { m.handle_id = c.getInt64(i); }},
        {"subject", [](In r) { return unlessEmpty(r.message.subject()); },
         [](Out m, Cur c, int i) { m.set_subject(c.getText(i)); }},
        {"country", [](In r) { return unlessEmpty(r.message.country()); },
         [](Out m, Cur c, int i) { m.set_country(c.getText(i)); }},
        {"attributedBody", [](In r) { return unlessEmpty(r.message.attributedBody()); },
         [](Out m, Cur c, int i) { m.set_attributedBody(c.getBlob(i)); }},
        {"version", [](In r) -> QVariant { return r.message.version(); },
         [](Out m, Cur c, int i) { m.set_version(c.getInt(i)); }},
        {"type", [](In r) -> QVariant { return r.message.type(); },
         [](Out m, Cur c, int i) { m.set_type(c.getInt(i)); }},
        {"service", [](In r) -> QVariant { return r.message.service(); },
         [](Out m, Cur c, int i) { m.set_service(c.getText(i)); }},
        {"account", [](In r) -> QVariant { return r.message.account(); },
         [](Out m, Cur c, int i) { m.set_account(c.getText(i)); }},
        {"account_guid", [](In r) -> QVariant { return r.message.account_guid(); },
         [](Out m, Cur c, int i) { m.set_account_guid(c.getText(i)); }},
        {"error", [](In r) -> QVariant { return r.message.error(); },
         [](Out m, Cur c, int i) { m.set_error(c.getInt(i)); }},
        {"date", [](In r) -> QVariant { return r.message.date; },
         [](Out m, Cur c, int i) { m.date = c.getInt(i); }},
        {"date_read", [](In r) -> QVariant { return r.message.date_read; },
         [](Out m, Cur c, int i) { m.date_read = c.getInt(i); }},
        {"date_delivered", [](In r) -> QVariant { return r.message.date_delivered; },
         [](Out m, Cur c, int i) { m.date_delivered = c.getInt(i); }},
        {"is_delivered", [](In r) -> QVariant { return r.message.is_delivered(); },
         [](Out m, Cur c, int i) { m.set_is_delivered(c.getInt(i)); }},
        {"is_finished", [](In r) -> QVariant { return r.message.is_finished(); },
         [](Out m, Cur c, int i) { m.set_is_finished(c.getInt(i)); }},
        {"is_emote", [](In r) -> QVariant { return r.message.is_emote(); },
         [](Out m, Cur c, int i) { m.set_is_emote(c.getInt(i)); }},
        {"is_from_me", [](In r) -> QVariant { return r.message.is_from_me; },
         [](Out m, Cur c, int i) { m.is_from_me = c.getInt(i); }},
        {"is_empty", [](In r) -> QVariant { return r.message.is_empty(); },
         [](Out m, Cur c, int i) { m.set_is_empty(c.getInt(i)); }},
        {"is_delayed", [](In r) -> QVariant { return r.message.is_delayed(); },
         [](Out m, Cur c, int i) { m.set_is_delayed(c.getInt(i)); }},
        {"is_auto_reply", [](In r) -> QVariant { return r.message.is_auto_reply(); },
         [](Out m, Cur c, int i) { m.set_is_auto_reply(c.getInt(i)); }},
        {"is_prepared", [](In r) -> QVariant { return r.message.is_prepared(); },
         [](Out m, Cur c, int i) { m.set_is_prepared(c.getInt(i)); }},
        {"is_read", [](In r) -> QVariant { return r.message.is_read(); },
         [](Out m, Cur c, int i) { m.set_is_read(c.getInt(i)); }},
        {"is_system_message", [](In r) -> QVariant { return r.message.is_system_message(); },
         [](Out m, Cur c, int i) { m.set_is_system_message(c.getInt(i)); }},
        {"is_sent", [](In r) -> QVariant { return r.message.is_sent(); },
         [](Out m, Cur c, int i) { m.set_is_sent(c.getInt(i)); }},
        {"has_dd_results", [](In r) -> QVariant { return r.message.has_dd_results(); },
         [](Out m, Cur c, int i) { m.set_has_dd_results(c.getInt(i)); }},
        {"is_service_message", [](In r) -> QVariant { return r.message.is_service_message(); },
         [](Out m, Cur c, int i) { m.set_is_service_message(c.getInt(i)); }},
        {"is_forward", [](In r) -> QVariant { return r.message.is_forward(); },
         [](Out m, Cur c, int i) { m.set_is_forward(c.getInt(i)); }},
        {"was_downgraded", [](In r) -> QVariant { return r.message.was_downgraded(); },
         [](Out m, Cur c, int i) { m.set_was_downgraded(c.getInt(i)); }},
        {"is_archive", [](In r) -> QVariant { return r.message.is_archive(); },
         [](Out m, Cur c, int i) { m.set_is_archive(c.getInt(i)); }},
        {"cache_has_attachments", [](In r) -> QVariant { return r.message.cache_has_attachments(); },
         [](Out m, Cur c, int i) { m.set_cache_has_attachments(c.getInt(i)); }},
        {"cache_roomnames", [](In r) -> QVariant { return r.message.cache_roomnames(); },
         [](Out m, Cur c, int i) { m.set_cache_roomnames(c.getText(i)); }},
        {"was_data_detected", [](In r) -> QVariant { return r.message.was_data_detected(); },
         [](Out m, Cur c, int i) { m.set_was_data_detected(c.getInt(i)); }},
        {"was_deduplicated", [](In r) -> QVariant { return r.message.was_deduplicated(); },
         [](Out m, Cur c, int i) { m.set_was_deduplicated(c.getInt(i)); }},
        {"is_audio_message",
         [](In r) -> QVariant { return r.message.is_audio_message(); },
         [](Out m, Cur c, int i) { m.set_is_audio_message(c.getInt(i)); },
         {127, "INTEGER DEFAULT 0"}},
        {"is_played",
         [](In r) -> QVariant { return r.message.is_played(); },
         [](Out m, Cur c, int i) { m.set_is_played(c.getInt(i)); },
         {130, "INTEGER DEFAULT 0"}},
        {"date_played",
         [](In r) -> QVariant { return r.message.date_played(); },
         [](Out m, Cur c, int i) { m.set_date_played(c.getInt(i)); },
         {133, "INTEGER"}},
        {"item_type",
         [](In r) -> QVariant { return r.message.item_type; },
         [](Out m, Cur c, int i) { m.item_type = c.getInt(i); },
         {136, "INTEGER DEFAULT 0"}},
        {"other_handle",
         [](In r) { return r.otherRowid > 0 ? QVariant(r.otherRowid) : QVariant(); },
         [](Out m, Cur c, int i) { m.set_other_handle(c.getInt(i)); },
         {139, "INTEGER DEFAULT -1"}},
        {"group_title",
         [](In r) { return unlessEmpty(r.message.group_title()); },
         [](Out m, Cur c, int i) { m.set_group_title(c.getText(i)); },
         {142, "TEXT"}},
        {"group_action_type",
         [](In r) -> QVariant { return r.message.group_action_type(); },
         [](Out m, Cur c, int i) { m.set_group_action_type(c.getInt(i)); },
         {145, "INTEGER DEFAULT 0"}},
        {"share_status",
         [](In r) -> QVariant { return r.message.share_status(); },
         [](Out m, Cur c, int i) { m.set_share_status(c.getInt(i)); },
         {148, "INTEGER"}},
        {"share_direction",
         [](In r) -> QVariant { return r.message.share_direction(); },
         [](Out m, Cur c, int i) { m.set_share_direction(c.getInt(i)); },
         {151, "INTEGER"}},
        {"is_expirable",
         [](In r) -> QVariant { return r.message.is_expirable(); },
         [](Out m, Cur c, int i) { m.set_is_expirable(c.getInt(i)); },
         {154, "INTEGER DEFAULT 0"}},
        {"expire_state",
         [](In r) -> QVariant { return r.message.expire_state(); },
         [](Out m, Cur c, int i) { m.set_expire_state(c.getInt(i)); },
         {157, "INTEGER DEFAULT 0"}},
        {"message_action_type",
         [](In r) -> QVariant { return r.message.message_action_type(); },
         [](Out m, Cur c, int i) { m.set_message_action_type(c.getInt(i)); },
         {160, "INTEGER DEFAULT 0"}},
        {"logic_hash",
         [](In r) -> QVariant { return r.logicHashText.isEmpty() ? logicHash(r.message) : r.logicHashText; },
         nullptr,
         {163, "TEXT", "CREATE INDEX message_idx_logic_hash ON message(logic_hash);"}},
    };
    return columns;
}
