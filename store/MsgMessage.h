#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

struct _MsgAttachment;
struct _MsgChat;
struct _MsgHandle;

// One message, fields named after the database columns. Dates are in the
// stored unit (whole seconds since 2001-01-01 00:00:00 UTC). The pointers
// point into the MessageSet that owns every record and are not owned here.
struct _MsgMessage
{
    qint64 rowid = 0;
    QString guid;
    QString text;
    int replace = 0;
    QString service_center;
    qint64 handle_id = 0;
    QString subject;
    QString country;
    QByteArray attributedBody;
    int version = 10;
    int type = 0;
    QString service;
    QString account;
    QString account_guid;
    int error = 0;
    int date = 0;
    int date_read = 0;
    int date_delivered = 0;
    int is_delivered = 0;
    int is_finished = 0;
    int is_emote = 0;
    int is_from_me = 0;
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
    qint64 orderRowid = 0; // feeds the message order only
    int is_audio_message = 0;
    int is_played = 0;
    int date_played = 0;
    int item_type = 0; // 0 ordinary, 1..4 system messages
    int other_handle = -1;
    QString group_title;
    int group_action_type = 0;
    int share_status = 0;
    int share_direction = 0;
    int is_expirable = 0;
    int expire_state = 0;
    int message_action_type = 0;
    _MsgHandle* handle = nullptr;      // the correspondent (sender of a received message)
    _MsgChat* chat = nullptr;          // the conversation
    QMap<qint64, _MsgAttachment*> attachments;
    _MsgHandle* otherHandle = nullptr; // the other party of a system message
};
