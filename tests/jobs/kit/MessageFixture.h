#pragma once

#include "store/MessageSet.h"

#include <QDir>
#include <QList>
#include <QString>

#include <memory>

// Builds message records in memory the way a phone load does: SMS chats with
// one correspondent each, messages joined to their chat.
class MessageFixture
{
public:
    _MsgChat* addChat(const QString& address, const QString& serviceName = QStringLiteral("SMS"));
    // A message in the chat (from its correspondent unless fromMe); dates are
    // in the stored unit and order the messages.
    _MsgMessage* addMessage(_MsgChat* chat, const QString& text, int date, bool fromMe = false);
    // A message whose conversation is unknown (no chat).
    _MsgMessage* addLooseMessage(const QString& text, int date);

    QList<_MsgMessage*> messages() const { return set.messages.values(); }

    MessageSet set;

private:
    qint64 nextRowid = 1;
};

// Writes the messages into the database folder through the database exporter.
void writeMessages(const QDir& folder, const QList<_MsgMessage*>& messages);
// Every record of the database folder, read back with its stored row ids.
std::unique_ptr<MessageSet> readBack(const QDir& folder);
// The path of the SQLite file of a database folder.
QString databaseFile(const QDir& folder);
