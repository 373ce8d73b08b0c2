#include "tools/phonesim/PhoneMessages.h"

#include "store/MessageSet.h"
#include "store/StoredDate.h"
#include "tools/gen_messages/MessageGenerator.h"
#include "tools/phonesim/PhoneProfile.h"
#include "tools/phonesim/SimState.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>
#include <QVariant>

#include <algorithm>

namespace {
PhoneMessage messageFromJson(const QJsonObject& object)
{
    PhoneMessage message;
    message.dateMs = object.value(QStringLiteral("date")).toVariant().toLongLong();
    message.type = object.value(QStringLiteral("type")).toInt(2);
    message.address = object.value(QStringLiteral("address")).toString();
    message.name = object.value(QStringLiteral("name")).toString();
    message.body = object.value(QStringLiteral("body")).toString();
    message.subject = object.value(QStringLiteral("subject")).toString();
    message.subjectNull = !object.value(QStringLiteral("subject")).isString();
    message.smsType = object.value(QStringLiteral("smsType")).toInt(0);
    return message;
}

PhoneMessage messageFromRecord(const _MsgMessage& record)
{
    PhoneMessage message;
    message.dateMs = storedDateToPhoneTime(record.date);
    message.type = record.is_from_me ? 1 : 2;
    if (record.handle) {
        message.address = record.handle->id;
        message.name = record.handle->_ct_name;
    } else if (record.chat) {
        message.address = record.chat->chat_identifier;
    }
    message.body = record.text;
    message.subject = record.subject();
    return message;
}

MessageGeneratorOptions generatorOptions(const QJsonObject& request)
{
    MessageGeneratorOptions options;
    options.messageCount = qMax(0, request.value(QStringLiteral("messages")).toInt(1000));
    options.conversationCount =
        qMax(1, request.value(QStringLiteral("conversations"))
                    .toInt(PhoneMessages::defaultConversations(options.messageCount)));
    options.seed = quint32(request.value(QStringLiteral("seed")).toVariant().toLongLong());
    if (!request.contains(QStringLiteral("seed")))
        options.seed = 1;
    return options;
}

// Where the messages of these options are kept between connections.
QString cacheFile(const MessageGeneratorOptions& options)
{
    return SimState().generatedFile(QStringLiteral("%1-%2-%3")
                                        .arg(options.messageCount)
                                        .arg(options.conversationCount)
                                        .arg(options.seed));
}

bool readCache(const QString& path, QList<PhoneMessage>* messages)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QDataStream in(&file);
    qint64 count = 0;
    in >> count;
    messages->reserve(qsizetype(std::clamp<qint64>(count, 0, 10000000)));
    for (qint64 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        PhoneMessage m;
        qint32 type = 2;
        in >> m.dateMs >> type >> m.address >> m.name >> m.body >> m.subject;
        m.type = type;
        messages->append(m);
    }
    return in.status() == QDataStream::Ok;
}

void writeCache(const QString& path, const QList<PhoneMessage>& messages)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QDataStream out(&file);
    out << qint64(messages.size());
    for (const PhoneMessage& m : messages)
        out << m.dateMs << qint32(m.type) << m.address << m.name << m.body << m.subject;
    file.commit();
}

QList<PhoneMessage> runGenerator(const MessageGeneratorOptions& options)
{
    QList<PhoneMessage> messages;
    if (options.messageCount == 0)
        return messages;
    MessageSet set;
    const QList<_MsgMessage*> records = MessageGenerator(options).generate(set);
    messages.reserve(records.size());
    for (const _MsgMessage* record : records) {
        if (record->item_type == 0)
            messages.append(messageFromRecord(*record));
    }
    return messages;
}
} // namespace

QList<PhoneMessage> PhoneMessages::of(const PhoneProfile& phone)
{
    const QJsonObject& json = phone.json();
    if (json.value(QStringLiteral("messages")).isArray())
        return fromArray(json.value(QStringLiteral("messages")).toArray());
    if (json.value(QStringLiteral("generate")).isObject())
        return generated(json.value(QStringLiteral("generate")).toObject());
    return {};
}

QList<PhoneMessage> PhoneMessages::fromArray(const QJsonArray& array)
{
    QList<PhoneMessage> messages;
    messages.reserve(array.size());
    for (const QJsonValue& value : array)
        messages.append(messageFromJson(value.toObject()));
    return messages;
}

QList<PhoneMessage> PhoneMessages::generated(const QJsonObject& request)
{
    static QJsonObject lastRequest;
    static QList<PhoneMessage> lastMessages;
    static bool haveLast = false;
    if (!haveLast || request != lastRequest) {
        const MessageGeneratorOptions options = generatorOptions(request);
        const QString cache = cacheFile(options);
        lastMessages.clear();
        if (!readCache(cache, &lastMessages)) {
            lastMessages = runGenerator(options);
            writeCache(cache, lastMessages);
        }
        lastRequest = request;
        haveLast = true;
    }
    return lastMessages;
}

int PhoneMessages::defaultConversations(int messages)
{
    return qBound(1, messages / 50, 2000);
}
