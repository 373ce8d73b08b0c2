#include "tools/gen_messages/MessageGenerator.h"

#include "store/ExportMessagesDb.h"
#include "store/MessageHash.h"
#include "store/MessageOrder.h"
#include "store/MessageSet.h"

#include <algorithm>

// Only the engine's raw output is used (its sequence is fixed by the C++
// standard); every range is taken by modulo here, because the standard
// distributions produce different numbers on different library versions.

namespace {

constexpr int kWindowStart = 631152000;            // 2021-01-01 00:00:00 UTC in the stored date unit
constexpr int kWindowLength = 3 * 365 * 24 * 3600; // three years
constexpr int kDay = 24 * 3600;

} // namespace

struct MessageGenerator::Plan
{
    SampleLanguage language = SampleLanguage::English;
    int weight = 0; // share of the messages left after every conversation has its base
    int count = 0;  // messages of the conversation
    bool group = false;
    bool service = false; // an automatic sender that only sends
};

MessageGenerator::MessageGenerator(const MessageGeneratorOptions& options) : options(options) {}

QString MessageGenerator::digits(int count)
{
    QString text;
    text.reserve(count);
    for (int i = 0; i < count; ++i)
        text.append(QLatin1Char(char('0' + below(10))));
    return text;
}

SampleLanguage MessageGenerator::pickLanguage()
{
    const int r = below(100);
    if (r < 75)
        return SampleLanguage::English;
    if (r < 80)
        return SampleLanguage::German;
    if (r < 85)
        return SampleLanguage::French;
    if (r < 90)
        return SampleLanguage::Chinese;
    if (r < 95)
        return SampleLanguage::Russian;
    return SampleLanguage::Arabic;
}

QList<MessageGenerator::Plan> MessageGenerator::planConversations()
{
    const int conversations = std::min(options.conversationCount, options.messageCount);
    QList<Plan> plans;
    plans.reserve(conversations);
    for (int i = 0; i < conversations; ++i) {
        Plan plan;
        plan.language = pickLanguage();
        const int size = below(100);
        if (size < 2) {
            plan.weight = 60; // a partner or a close friend: hundreds of messages
        } else if (size < 10) {
            plan.weight = 10;
        } else if (size < 50) {
            plan.weight = between(2, 5);
        } else {
            plan.count = below(5); // one to five messages in all
        }
        plan.count += 1;
        plan.group = chance(5);
        plan.service = !plan.group && chance(2);
        plans.append(plan);
    }
    distributeMessages(plans);
    return plans;
}

void MessageGenerator::distributeMessages(QList<Plan>& plans)
{
    qint64 assigned = 0;
    qint64 weights = 0;
    for (const Plan& plan : std::as_const(plans)) {
        assigned += plan.count;
        weights += plan.weight;
    }
    // Short conversations may have taken more than there is: trim them back to one message.
    for (Plan& plan : plans) {
        if (assigned <= options.messageCount)
            break;
        const int trim = int(std::min<qint64>(plan.count - 1, assigned - options.messageCount));
        plan.count -= trim;
        assigned -= trim;
    }
    const qint64 rest = options.messageCount - assigned;
    if (rest <= 0 || plans.isEmpty())
        return;
    qint64 given = 0;
    for (Plan& plan : plans) {
        const qint64 share = weights > 0 ? rest * plan.weight / weights : 0;
        plan.count += int(share);
        given += share;
    }
    for (qint64 i = 0; given < rest; ++i, ++given)
        plans[int(i % plans.size())].count += 1;
}

QString MessageGenerator::newAddress(SampleLanguage language, QString* country)
{
    static const QStringList germanPrefixes = {"151", "152", "157", "159", "160", "162", "163", "170",
                                               "171", "172", "173", "175", "176", "177", "178", "179"};
    static const QStringList emiratesPrefixes = {"50", "52", "54", "55", "56"};
    for (;;) {
        QString address;
        switch (language) {
        case SampleLanguage::English:
            if (chance(60)) {
                *country = QStringLiteral("gb");
                address = QStringLiteral("+447") + QString::number(between(4, 9)) + digits(8);
            } else {
                *country = QStringLiteral("us");
                address = QStringLiteral("+1") + QString::number(between(2, 9)) + digits(2) +
                          QString::number(between(2, 9)) + digits(6);
            }
            break;
        case SampleLanguage::German:
            *country = QStringLiteral("de");
            address = QStringLiteral("+49") + pick(germanPrefixes) + digits(between(7, 8));
            break;
        case SampleLanguage::French:
            *country = QStringLiteral("fr");
            address = QStringLiteral("+33") + QString::number(between(6, 7)) + digits(8);
            break;
        case SampleLanguage::Chinese:
            *country = QStringLiteral("cn");
            address = QStringLiteral("+861") + QString::number(between(3, 9)) + digits(9);
            break;
        case SampleLanguage::Russian:
            *country = QStringLiteral("ru");
            address = QStringLiteral("+79") + digits(9);
            break;
        case SampleLanguage::Arabic:
            *country = QStringLiteral("ae");
            address = QStringLiteral("+971") + pick(emiratesPrefixes) + digits(7);
            break;
        }
        if (!usedAddresses.contains(address))
            return address;
    }
}

_MsgHandle* MessageGenerator::addHandle(MessageSet& set, const QString& address, const QString& country)
{
    auto* handle = new _MsgHandle;
    handle->rowid = set.handles.isEmpty() ? 1 : set.handles.lastKey() + 1;
    handle->id = address;
    handle->country = country;
    set.handles.insert(handle->rowid, handle);
    usedAddresses.insert(address);
    return handle;
}

_MsgHandle* MessageGenerator::newPerson(MessageSet& set, SampleLanguage language)
{
    QString country;
    const QString address = newAddress(language, &country);
    _MsgHandle* handle = addHandle(set, address, country);
    if (chance(70)) {
        const QString& first = pick(SampleTexts::firstNames(language));
        handle->_ct_name = SampleTexts::fullName(language, first, pick(SampleTexts::lastNames(language)));
    }
    // Some numbers were typed in national form on the phone.
    if ((country == QLatin1String("gb") || country == QLatin1String("de")) && chance(30))
        handle->uncanonicalized_id = QLatin1Char('0') + address.mid(3);
    return handle;
}

_MsgHandle* MessageGenerator::newServiceSender(MessageSet& set)
{
    const QStringList& senders = SampleTexts::serviceSenders();
    const QString& first = pick(senders);
    QString address = first;
    for (int n = 2; usedAddresses.contains(address); ++n)
        address = first + QString::number(n);
    return addHandle(set, address, QString());
}

_MsgChat* MessageGenerator::addSingleChat(MessageSet& set, _MsgHandle* handle)
{
    auto* chat = new _MsgChat;
    chat->rowid = set.chats.isEmpty() ? 1 : set.chats.lastKey() + 1;
    chat->guid = QStringLiteral("SMS;-;") + handle->id;
    chat->chat_identifier = handle->id;
    chat->participants.insert(handle->id, handle);
    set.chats.insert(chat->rowid, chat);
    return chat;
}

_MsgChat* MessageGenerator::addGroupChat(MessageSet& set, const Plan& plan, const QList<_MsgHandle*>& people)
{
    auto* chat = new _MsgChat;
    chat->rowid = set.chats.isEmpty() ? 1 : set.chats.lastKey() + 1;
    chat->chat_identifier = QStringLiteral("chat") + QString::number(between(1, 9)) + digits(17);
    chat->guid = QStringLiteral("SMS;+;") + chat->chat_identifier;
    chat->style = 43;
    if (chance(50))
        chat->display_name = pick(SampleTexts::groupNames(plan.language));
    const int size = between(3, 5);
    while (chat->participants.size() < size) {
        _MsgHandle* handle = !people.isEmpty() && chance(70) ? people.at(below(int(people.size())))
                                                             : newPerson(set, plan.language);
        chat->participants.insert(handle->id, handle);
    }
    set.chats.insert(chat->rowid, chat);
    return chat;
}

QList<int> MessageGenerator::conversationDates(int count)
{
    // Bursts of quick replies, then quiet hours, days or weeks.
    QList<qint64> offsets;
    offsets.reserve(count);
    qint64 total = 0;
    for (int i = 0; i < count; ++i) {
        const int kind = below(100);
        if (i > 0) {
            if (kind < 55)
                total += between(5, 300);
            else if (kind < 85)
                total += between(300, 7200);
            else if (kind < 97)
                total += between(7200, 2 * kDay);
            else
                total += between(2 * kDay, 30 * kDay);
        }
        offsets.append(total);
    }
    qint64 span;
    if (count >= 200)
        span = qint64(kWindowLength) * between(70, 100) / 100;
    else if (count >= 50)
        span = qint64(kWindowLength) * between(20, 70) / 100;
    else if (count >= 6)
        span = qint64(between(1, 120)) * kDay;
    else
        span = std::min<qint64>(total, qint64(between(1, 14)) * kDay);
    const int start = kWindowStart + below(int(kWindowLength - span + 1));
    QList<int> dates;
    dates.reserve(count);
    int previous = start - 1;
    for (const qint64 offset : std::as_const(offsets)) {
        const int date = total > 0 ? start + int(offset * span / total) : start;
        previous = std::max(date, previous + 1);
        dates.append(previous);
    }
    return dates;
}

QString MessageGenerator::messageText(SampleLanguage language)
{
    const QStringList& sentences = SampleTexts::sentences(language);
    const QStringList& emoji = SampleTexts::emoji();
    if (chance(3)) {
        QString text;
        for (int i = between(1, 3); i > 0; --i)
            text += pick(emoji);
        return text;
    }
    const bool spaced = language != SampleLanguage::Chinese;
    const QString separator = spaced ? QStringLiteral(" ") : QString();
    const int shape = below(100);
    QString text;
    if (shape < 18) {
        text = pick(SampleTexts::shortReplies(language));
    } else if (shape < 65) {
        text = pick(sentences);
    } else if (shape < 85) {
        QStringList parts;
        for (int i = between(2, 3); i > 0; --i)
            parts.append(pick(sentences));
        text = parts.join(separator);
    } else if (shape < 95) {
        QStringList lines;
        for (int i = between(2, 4); i > 0; --i)
            lines.append(pick(sentences));
        text = lines.join(QLatin1Char('\n'));
    } else {
        QStringList parts;
        for (int i = between(4, 7); i > 0; --i)
            parts.append(pick(sentences));
        text = parts.join(separator);
        if (chance(50))
            text += QStringLiteral("\n\n") + pick(sentences);
    }
    if (chance(15))
        text += separator + pick(emoji);
    return text;
}

QString MessageGenerator::serviceText()
{
    return pick(SampleTexts::serviceTexts()).arg(digits(6));
}

_MsgMessage* MessageGenerator::addMessage(MessageSet& set, _MsgChat* chat, _MsgHandle* handle, int date,
                                          bool fromMe, const QString& text)
{
    auto* message = new _MsgMessage;
    message->rowid = ++lastMessageRowid;
    message->text = text;
    message->handle = handle;
    message->chat = chat;
    message->is_from_me = fromMe ? 1 : 0;
    message->date = date;
    QString hash = logicHash(*message);
    while (usedHashes.contains(hash)) { // the same words at the same second elsewhere
        ++message->date;
        hash = logicHash(*message);
    }
    usedHashes.insert(hash);
    message->guid = guidFromBytes(hash.toUtf8());
    message->handle_id = handle ? handle->rowid : 0;
    message->set_country(handle ? handle->country : QString());
    message->set_service(QStringLiteral("SMS"));
    message->set_is_sent(message->is_from_me);
    message->set_is_delivered(1);
    message->set_is_finished(1);
    message->set_is_read(fromMe ? 0 : 1);
    message->date_read = fromMe ? 0 : message->date + below(900);
    message->date_delivered = fromMe ? message->date + between(1, 20) : 0;
    chat->messages.append(message);
    chat->_last = std::max(chat->_last, message->date);
    set.messages.insert(message->rowid, message);
    return message;
}

_MsgMessage* MessageGenerator::addSystemMessage(MessageSet& set, _MsgChat* chat, int itemType,
                                                _MsgHandle* sender, _MsgHandle* other, int date)
{
    auto* message = new _MsgMessage;
    message->rowid = ++lastMessageRowid;
    message->item_type = itemType;
    message->guid =
        guidFromBytes(QStringLiteral("system/%1/%2").arg(options.seed).arg(message->rowid).toUtf8());
    usedHashes.insert(logicHash(*message));
    message->handle = sender;
    message->handle_id = sender ? sender->rowid : 0;
    message->otherHandle = other;
    message->set_other_handle(other ? int(other->rowid) : -1);
    message->chat = chat;
    message->is_from_me = sender ? 0 : 1;
    message->date = date;
    message->set_service(QStringLiteral("SMS"));
    message->set_is_finished(1);
    message->set_is_read(1);
    if (itemType == 2)
        message->set_group_title(chat->display_name);
    chat->messages.append(message);
    chat->_last = std::max(chat->_last, date);
    set.messages.insert(message->rowid, message);
    return message;
}

void MessageGenerator::fillConversation(MessageSet& set, const Plan& plan, _MsgChat* chat)
{
    const QList<int> dates = conversationDates(plan.count);
    const QList<_MsgHandle*> members = chat->participants.values();
    int first = 0;
    if (plan.group) {
        // The group starts with its members being added (by me or by one of them) and its name.
        for (int i = 1; i < int(members.size()) && first < plan.count && first < 2; ++i, ++first) {
            _MsgHandle* sender = chance(60) ? nullptr : members.at(0);
            addSystemMessage(set, chat, 1, sender, members.at(i), dates.at(first));
        }
        if (!chat->display_name.isEmpty() && first < plan.count)
            addSystemMessage(set, chat, 2, members.at(below(int(members.size()))), nullptr,
                             dates.at(first++));
    }
    int last = plan.count;
    if (plan.group && plan.count - first >= 4 && chance(20))
        --last; // someone leaves at the end
    bool fromMe = !plan.service && chance(50);
    for (int i = first; i < last; ++i) {
        if (plan.service) {
            addMessage(set, chat, members.at(0), dates.at(i), false, serviceText());
            continue;
        }
        if (i > first && chance(45))
            fromMe = !fromMe;
        _MsgHandle* handle = members.at(0);
        if (plan.group)
            handle = fromMe ? nullptr : members.at(below(int(members.size())));
        addMessage(set, chat, handle, dates.at(i), fromMe, messageText(plan.language));
    }
    if (last < plan.count)
        addSystemMessage(set, chat, 3, members.at(below(int(members.size()))), nullptr, dates.at(last));
}

QList<_MsgMessage*> MessageGenerator::generate(MessageSet& set)
{
    rng.seed(options.seed);
    usedAddresses.clear();
    usedHashes.clear();
    for (const _MsgHandle* handle : std::as_const(set.handles))
        usedAddresses.insert(handle->id);
    lastMessageRowid = set.messages.isEmpty() ? 0 : set.messages.lastKey();

    const QList<Plan> plans = planConversations();
    // One-to-one conversations first, so that group chats can draw their members from them.
    QList<_MsgHandle*> people;
    QList<QPair<const Plan*, _MsgChat*>> chats;
    for (const Plan& plan : plans) {
        if (plan.group)
            continue;
        _MsgHandle* handle = plan.service ? newServiceSender(set) : newPerson(set, plan.language);
        if (!plan.service)
            people.append(handle);
        chats.append(qMakePair(&plan, addSingleChat(set, handle)));
    }
    for (const Plan& plan : plans) {
        if (plan.group)
            chats.append(qMakePair(&plan, addGroupChat(set, plan, people)));
    }

    QList<_MsgMessage*> messages;
    messages.reserve(options.messageCount);
    for (const auto& entry : std::as_const(chats)) {
        fillConversation(set, *entry.first, entry.second);
        for (_MsgMessage* message : std::as_const(entry.second->messages))
            messages.append(message);
    }
    std::stable_sort(messages.begin(), messages.end(),
                     [](const _MsgMessage* a, const _MsgMessage* b) { return a->rowid < b->rowid; });
    sortMessagesAscending(messages);
    return messages;
}

int MessageGenerator::writeDatabase(const QDir& folder, const QString& mcc,
                                    const MessageGeneratorOptions& options)
{
    MessageSet set;
    MessageGenerator generator(options);
    const QList<_MsgMessage*> messages = generator.generate(set);
    ExportMessagesDb exporter(folder, mcc);
    try {
        exporter.begin();
        for (const _MsgMessage* message : messages)
            exporter.write(*message);
        exporter.end();
    } catch (...) {
        exporter.abandon(); // drops the unfinished transaction
        throw;
    }
    return int(messages.size());
}
