#pragma once

#include "tools/gen_messages/SampleTexts.h"

#include <QDir>
#include <QList>
#include <QSet>
#include <QString>

#include <random>

class MessageSet;
struct _MsgChat;
struct _MsgHandle;
struct _MsgMessage;

struct MessageGeneratorOptions
{
    int messageCount = 100000;
    int conversationCount = 2000;
    quint32 seed = 1;
};

// Builds realistic message records from a seed: the same seed always gives
// the same records. Correspondents carry E.164 numbers (most with a contact
// name), about one conversation in twenty is a group chat with a few system
// messages, a few conversations run to hundreds of messages and most are
// short, and dates spread over three years from 2021 on.
class MessageGenerator
{
public:
    explicit MessageGenerator(const MessageGeneratorOptions& options);

    // Fills set the way a phone load does (row ids from 1, no orderRowid,
    // guids from the content) and returns its messages in ascending order.
    // No two messages share a content hash, so a database stores them all.
    QList<_MsgMessage*> generate(MessageSet& set);

    // Generates the records and writes them through the database exporter
    // into the message database of folder; returns the number of messages.
    static int writeDatabase(const QDir& folder, const QString& mcc, const MessageGeneratorOptions& options);

private:
    struct Plan;

    quint32 next() { return quint32(rng()); }
    int below(int n) { return n > 0 ? int(next() % quint32(n)) : 0; }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    const QString& pick(const QStringList& list) { return list.at(below(int(list.size()))); }
    QString digits(int count);

    QList<Plan> planConversations();
    void distributeMessages(QList<Plan>& plans);
    SampleLanguage pickLanguage();
    _MsgHandle* newPerson(MessageSet& set, SampleLanguage language);
    _MsgHandle* newServiceSender(MessageSet& set);
    _MsgHandle* addHandle(MessageSet& set, const QString& address, const QString& country);
    QString newAddress(SampleLanguage language, QString* country);
    _MsgChat* addSingleChat(MessageSet& set, _MsgHandle* handle);
    _MsgChat* addGroupChat(MessageSet& set, const Plan& plan, const QList<_MsgHandle*>& people);
    QList<int> conversationDates(int count);
    QString messageText(SampleLanguage language);
    QString serviceText();
    void fillConversation(MessageSet& set, const Plan& plan, _MsgChat* chat);
    _MsgMessage* addMessage(MessageSet& set, _MsgChat* chat, _MsgHandle* handle, int date, bool fromMe,
                            const QString& text);
    _MsgMessage* addSystemMessage(MessageSet& set, _MsgChat* chat, int itemType, _MsgHandle* sender,
                                  _MsgHandle* other, int date);

    MessageGeneratorOptions options;
    std::mt19937 rng;
    QSet<QString> usedAddresses;
    QSet<QString> usedHashes;
    qint64 lastMessageRowid = 0;
};
