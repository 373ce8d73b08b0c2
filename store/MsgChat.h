#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

struct _MsgHandle;
struct _MsgMessage;

// A conversation. The map and the list point into the MessageSet that owns
// every record.
struct _MsgChat
{
    qint64 rowid = 0;
    QString guid;
    int style = 45;
    int state = 3;
    QString account_id;
    QByteArray properties;
    QString chat_identifier;
    QString service_name = QStringLiteral("SMS");
    QString room_name;
    QString account_login = QStringLiteral("E:");
    int is_archived = 0;
    QString last_addressed_handle;
    QString display_name;
    int _last = 0; // stored date of the newest message
    QString group_id;
    // Keyed by the handle's row id in decimal (database) or its address (phone load).
    QMap<QString, _MsgHandle*> participants;
    // Its messages: in ascending row id order when read from a database, in
    // the order they were added otherwise.
    QList<_MsgMessage*> messages;
};
