#pragma once

#include "store/CompactText.h"

#include <QByteArray>
#include <QMap>
#include <QSharedData>
#include <QSharedDataPointer>
#include <QString>

struct _MsgAttachment;
struct _MsgChat;
struct _MsgHandle;

// The columns of a message that repeat from one message to the next: the
// service, account and country, the flags and the texts that are seldom set.
// Records whose values are all the same share one block (a read shares them
// as it goes); a record that changes one of them gets a block of its own.
struct _MsgMessageColumns : QSharedData
{
    int replace = 0;
    QString service_center;
    QString subject;
    QString country;
    QByteArray attributedBody;
    int version = 10;
    int type = 0;
    QString service;
    QString account;
    QString account_guid;
    int error = 0;
    int is_delivered = 0;
    int is_finished = 0;
    int is_emote = 0;
    int is_empty = 0;
    int is_delayed = 0;
    int is_auto_reply = 0;
    int is_prepared = 0;
    int is_read = 0;
    int is_system_message = 0;
    int is_sent = 0;
    int has_dd_results = 0;
    int is_service_message = 0;
    int is_forward = 0;
    int was_downgraded = 0;
    int is_archive = 0;
    int cache_has_attachments = 0;
    QString cache_roomnames;
    int was_data_detected = 0;
    int was_deduplicated = 0;
    int is_audio_message = 0;
    int is_played = 0;
    int date_played = 0;
    int other_handle = -1;
    QString group_title;
    int group_action_type = 0;
    int share_status = 0;
    int share_direction = 0;
    int is_expirable = 0;
    int expire_state = 0;
    int message_action_type = 0;

    bool operator==(const _MsgMessageColumns& other) const;
    bool operator!=(const _MsgMessageColumns& other) const { return !(*this == other); }
};
size_t qHash(const _MsgMessageColumns& columns, size_t seed = 0);

// One message, fields named after the database columns. Dates are in the
// stored unit (whole seconds since 2001-01-01 00:00:00 UTC). The pointers
// point into the MessageSet that owns every record and are not owned here.
//
// The columns that differ from message to message are fields; those that
// repeat are kept in a shared _MsgMessageColumns block and read and set
// through functions named after them (service(), set_service()). Every value
// is kept exactly, whatever its size. guid and text are CompactText: they
// read as QString.
struct _MsgMessage
{
    _MsgMessage();

    qint64 rowid = 0;
    CompactText guid;
    CompactText text;
    qint64 handle_id = 0;
    int date = 0;
    int date_read = 0;
    int date_delivered = 0;
    int is_from_me = 0;
    int item_type = 0; // 0 ordinary, 1..4 system messages
    qint64 orderRowid = 0;             // feeds the message order only
    _MsgHandle* handle = nullptr;      // the correspondent (sender of a received message)
    _MsgChat* chat = nullptr;          // the conversation
    QMap<qint64, _MsgAttachment*> attachments;
    _MsgHandle* otherHandle = nullptr; // the other party of a system message

    // The repeating columns.
    int replace() const { return shared->replace; }
    const QString& service_center() const { return shared->service_center; }
    const QString& subject() const { return shared->subject; }
    const QString& country() const { return shared->country; }
    const QByteArray& attributedBody() const { return shared->attributedBody; }
    int version() const { return shared->version; }
    int type() const { return shared->type; }
    const QString& service() const { return shared->service; }
    const QString& account() const { return shared->account; }
    const QString& account_guid() const { return shared->account_guid; }
    int error() const { return shared->error; }
    int is_delivered() const { return shared->is_delivered; }
    int is_finished() const { return shared->is_finished; }
    int is_emote() const { return shared->is_emote; }
    int is_empty() const { return shared->is_empty; }
    int is_delayed() const { return shared->is_delayed; }
    int is_auto_reply() const { return shared->is_auto_reply; }
    int is_prepared() const { return shared->is_prepared; }
    int is_read() const { return shared->is_read; }
    int is_system_message() const { return shared->is_system_message; }
    int is_sent() const { return shared->is_sent; }
    int has_dd_results() const { return shared->has_dd_results; }
    int is_service_message() const { return shared->is_service_message; }
    int is_forward() const { return shared->is_forward; }
    int was_downgraded() const { return shared->was_downgraded; }
    int is_archive() const { return shared->is_archive; }
    int cache_has_attachments() const { return shared->cache_has_attachments; }
    const QString& cache_roomnames() const { return shared->cache_roomnames; }
    int was_data_detected() const { return shared->was_data_detected; }
    int was_deduplicated() const { return shared->was_deduplicated; }
    int is_audio_message() const { return shared->is_audio_message; }
    int is_played() const { return shared->is_played; }
    int date_played() const { return shared->date_played; }
    int other_handle() const { return shared->other_handle; }
    const QString& group_title() const { return shared->group_title; }
    int group_action_type() const { return shared->group_action_type; }
    int share_status() const { return shared->share_status; }
    int share_direction() const { return shared->share_direction; }
    int is_expirable() const { return shared->is_expirable; }
    int expire_state() const { return shared->expire_state; }
    int message_action_type() const { return shared->message_action_type; }

    void set_replace(int value) { set(&_MsgMessageColumns::replace, value); }
    void set_service_center(const QString& value) { set(&_MsgMessageColumns::service_center, value); }
    void set_subject(const QString& value) { set(&_MsgMessageColumns::subject, value); }
    void set_country(const QString& value) { set(&_MsgMessageColumns::country, value); }
    void set_attributedBody(const QByteArray& value) { set(&_MsgMessageColumns::attributedBody, value); }
    void set_version(int value) { set(&_MsgMessageColumns::version, value); }
    void set_type(int value) { set(&_MsgMessageColumns::type, value); }
    void set_service(const QString& value) { set(&_MsgMessageColumns::service, value); }
    void set_account(const QString& value) { set(&_MsgMessageColumns::account, value); }
    void set_account_guid(const QString& value) { set(&_MsgMessageColumns::account_guid, value); }
    void set_error(int value) { set(&_MsgMessageColumns::error, value); }
    void set_is_delivered(int value) { set(&_MsgMessageColumns::is_delivered, value); }
    void set_is_finished(int value) { set(&_MsgMessageColumns::is_finished, value); }
    void set_is_emote(int value) { set(&_MsgMessageColumns::is_emote, value); }
    void set_is_empty(int value) { set(&_MsgMessageColumns::is_empty, value); }
    void set_is_delayed(int value) { set(&_MsgMessageColumns::is_delayed, value); }
    void set_is_auto_reply(int value) { set(&_MsgMessageColumns::is_auto_reply, value); }
    void set_is_prepared(int value) { set(&_MsgMessageColumns::is_prepared, value); }
    void set_is_read(int value) { set(&_MsgMessageColumns::is_read, value); }
    void set_is_system_message(int value) { set(&_MsgMessageColumns::is_system_message, value); }
    void set_is_sent(int value) { set(&_MsgMessageColumns::is_sent, value); }
    void set_has_dd_results(int value) { set(&_MsgMessageColumns::has_dd_results, value); }
    void set_is_service_message(int value) { set(&_MsgMessageColumns::is_service_message, value); }
    void set_is_forward(int value) { set(&_MsgMessageColumns::is_forward, value); }
    void set_was_downgraded(int value) { set(&_MsgMessageColumns::was_downgraded, value); }
    void set_is_archive(int value) { set(&_MsgMessageColumns::is_archive, value); }
    void set_cache_has_attachments(int value) { set(&_MsgMessageColumns::cache_has_attachments, value); }
    void set_cache_roomnames(const QString& value) { set(&_MsgMessageColumns::cache_roomnames, value); }
    void set_was_data_detected(int value) { set(&_MsgMessageColumns::was_data_detected, value); }
    void set_was_deduplicated(int value) { set(&_MsgMessageColumns::was_deduplicated, value); }
    void set_is_audio_message(int value) { set(&_MsgMessageColumns::is_audio_message, value); }
    void set_is_played(int value) { set(&_MsgMessageColumns::is_played, value); }
    void set_date_played(int value) { set(&_MsgMessageColumns::date_played, value); }
    void set_other_handle(int value) { set(&_MsgMessageColumns::other_handle, value); }
    void set_group_title(const QString& value) { set(&_MsgMessageColumns::group_title, value); }
    void set_group_action_type(int value) { set(&_MsgMessageColumns::group_action_type, value); }
    void set_share_status(int value) { set(&_MsgMessageColumns::share_status, value); }
    void set_share_direction(int value) { set(&_MsgMessageColumns::share_direction, value); }
    void set_is_expirable(int value) { set(&_MsgMessageColumns::is_expirable, value); }
    void set_expire_state(int value) { set(&_MsgMessageColumns::expire_state, value); }
    void set_message_action_type(int value) { set(&_MsgMessageColumns::message_action_type, value); }

    // The block of repeating columns, and sharing another record's (or a
    // block the reader keeps) instead.
    const _MsgMessageColumns& columns() const { return *shared; }
    void shareColumns(const QSharedDataPointer<_MsgMessageColumns>& block) { shared = block; }
    const QSharedDataPointer<_MsgMessageColumns>& columnsBlock() const { return shared; }

private:
    // Copies the block first when another record shares it; nothing when the
    // value is already there.
    template <typename T> void set(T _MsgMessageColumns::*field, const T& value)
    {
        if (shared.constData()->*field == value)
            return;
        shared.data()->*field = value;
    }

    QSharedDataPointer<_MsgMessageColumns> shared;
};
