// Message records: display texts, the message order, hashes, the set and stored dates.
#include "store/CompactText.h"
#include "store/ConversationGroups.h"
#include "store/MessageHash.h"
#include "store/MessageHtmlEscape.h"
#include "store/MessageOrder.h"
#include "store/MessageSet.h"
#include "store/MessageText.h"
#include "store/StoredDate.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <ctime>
#include <limits>
#include <list>
#include <tuple>
#include <vector>

namespace {

// One row of a data table, the values in column order.
template <typename... Values> void row(const char* name, const Values&... values)
{
    (QTest::newRow(name) << ... << values);
}

// Handles described as "name|id"; they live as long as the pool.
struct HandlePool
{
    std::list<_MsgHandle> handles;
    _MsgHandle* make(const QString& description)
    {
        if (description.isEmpty())
            return nullptr;
        handles.emplace_back();
        handles.back()._ct_name = description.section(u'|', 0, 0);
        handles.back().id = description.section(u'|', 1);
        return &handles.back();
    }
};

QString units(std::initializer_list<char16_t> codes)
{
    return QString::fromUtf16(codes.begin(), qsizetype(codes.size()));
}

// Messages owned by the list; null entries stand for holes in a caller's list.
struct MessageList
{
    std::vector<_MsgMessage> owned;
    QList<_MsgMessage*> list;

    explicit MessageList(int count) : owned(count) {}
    void add(qint64 orderRowid, int date)
    {
        _MsgMessage& m = owned.at(list.size());
        m.orderRowid = orderRowid;
        m.date = date;
        list.append(&m);
    }
    QList<int> dates() const
    {
        QList<int> result;
        for (const _MsgMessage* m : list)
            result.append(m->date);
        return result;
    }
};

QList<_MsgMessage*> sortedPointers(QList<_MsgMessage*> list)
{
    std::sort(list.begin(), list.end(), std::less<_MsgMessage*>());
    return list;
}

// One record of each kind, each holding a share of payload, so the payload is
// detached again exactly when every record has been deleted.
void fill(MessageSet& set, const QByteArray& payload)
{
    set.handles.insert(1, new _MsgHandle);
    set.handles[1]->_photo = payload;
    set.chats.insert(1, new _MsgChat);
    set.chats[1]->properties = payload;
    set.attachments.insert(1, new _MsgAttachment);
    set.attachments[1]->user_info = payload;
    set.messages.insert(1, new _MsgMessage);
    set.messages.value(1)->set_attributedBody(payload);
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("TZ", "UTC");
        tzset();
    }

    void htmlEscape_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("entities, ampersand first") << "a<b>&amp;"
                                                   << "a&lt;b&gt;&amp;amp;";
        QTest::newRow("line feed and CR LF each one break") << "1\n2\r\n3"
                                                            << "1<br/>2<br/>3";
        QTest::newRow("a lone CR stays") << "1\r2\r"
                                         << "1\r2\r";
        QTest::newRow("CR CR LF keeps the first CR") << "1\r\r\n2"
                                                     << "1\r<br/>2";
        QTest::newRow("empty") << ""
                               << "";
    }

    void htmlEscape()
    {
        QFETCH(QString, text);
        QFETCH(QString, escaped);
        QCOMPARE(escapeMessageHtml(text), escaped);
    }

    void labels_data()
    {
        QTest::addColumn<QString>("displayName");
        QTest::addColumn<QStringList>("people"); // participants, "name|id" each
        QTest::addColumn<QString>("sender");     // "name|id", empty for none
        QTest::addColumn<QString>("title");      // chatTitle without numbers
        QTest::addColumn<QString>("label");      // messageChatLabel
        const QStringList annAndBob{"Ann|123", "|456"};
        row("one participant", "", QStringList{"Ann|123"}, "Ann|123", "Ann", "Ann (123)");
        row("no participants", "", QStringList{}, "", "Unknown", "Unknown");
        row("display name", "Team", annAndBob, "Cid|789", "Team", "Team (Cid)");
        row("group, named sender", "", annAndBob, "Cid|789", "Ann, 456", "Ann (123), 456 (Cid)");
        row("group, unnamed sender", "", annAndBob, "|789", "Ann, 456", "Ann (123), 456 (789)");
        row("group, no sender", "", annAndBob, "", "Ann, 456", "Ann (123), 456");
    }

    void labels()
    {
        QFETCH(QString, displayName);
        QFETCH(QStringList, people);
        QFETCH(QString, sender);
        QFETCH(QString, title);
        QFETCH(QString, label);
        HandlePool pool;
        _MsgChat chat;
        chat.display_name = displayName;
        for (const QString& person : people)
            chat.participants.insert(QString::number(chat.participants.size()), pool.make(person));
        _MsgMessage message;
        message.handle = pool.make(sender);
        message.chat = &chat;
        QCOMPARE(chatTitle(chat, false), title);
        QCOMPARE(messageChatLabel(message), label);
        QCOMPARE(isGroupChat(chat), people.size() > 1);
        message.chat = nullptr;
        QCOMPARE(messageChatLabel(message), QStringLiteral("unknown"));
    }

    void ordinaryBodyText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("mimeTypes");
        QTest::addColumn<QString>("body");
        const QString fffc(QChar(0xFFFC));
        row("object marker removed", QString("abc" + fffc), QStringList{}, "abc");
        row("trimmed", "  hi\n", QStringList{}, "hi");
        row("image only", fffc, QStringList{"image/jpeg"}, "[IMAGE]");
        row("upper-case image", "pic", QStringList{"IMAGE/PNG"}, "pic [IMAGE]");
        row("vCard, any case", "c", QStringList{"text/x-VCARD", "Text/vcard"}, "c [VCARD] [VCARD]");
        row("vcard with parameters is other", "c", QStringList{"text/vcard;x=y"}, "c [ATTA]");
        row("several in row id order", "x", QStringList{"video/mp4", "", "audio/amr"},
            "x [VIDEO] [ATTA] [AUDIO]");
    }

    void ordinaryBodyText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, mimeTypes);
        QFETCH(QString, body);
        std::vector<_MsgAttachment> attachments(mimeTypes.size());
        _MsgMessage message;
        message.text = text;
        for (int i = 0; i < mimeTypes.size(); ++i) {
            attachments[i].mime_type = mimeTypes.at(i);
            message.attachments.insert(10 + i, &attachments[i]);
        }
        QCOMPARE(bodyText(message), body);
    }

    void systemBodyText_data()
    {
        QTest::addColumn<int>("itemType");
        QTest::addColumn<QString>("sender"); // "name|id", empty for none
        QTest::addColumn<QString>("other");
        QTest::addColumn<int>("shareStatus");
        QTest::addColumn<QString>("sentence");
        row("added", 1, "Ann|123", "Bob|456", 0, "Ann Added Bob to the conversation.");
        row("added you", 1, "Ann|123", "", 0, "Ann Added You to the conversation.");
        row("named", 2, "|123", "", 0, "123 named the conversation \"Trip %1\".");
        row("left", 3, "", "", 0, "You left the conversation.");
        row("stopped sharing", 4, "Ann|123", "", 1, "Ann stopped sharing location with You.");
        row("started sharing", 4, "", "Bob|456", 0, "You started sharing location with Bob.");
        row("other type", 7, "Ann|123", "Bob|456", 0, "System Information.");
        row("placeholders in names", 1, "%2|1", "%1|2", 0, "%2 Added %1 to the conversation.");
    }

    void systemBodyText()
    {
        QFETCH(int, itemType);
        QFETCH(QString, sender);
        QFETCH(QString, other);
        QFETCH(int, shareStatus);
        QFETCH(QString, sentence);
        HandlePool pool;
        _MsgMessage message;
        message.item_type = itemType;
        message.date = 710175900; // 2023-07-04 15:05:00 UTC
        message.text = QStringLiteral("ignored");
        message.set_group_title(QStringLiteral("Trip %1"));
        message.set_share_status(shareStatus);
        message.handle = pool.make(sender);
        message.otherHandle = pool.make(other);
        QCOMPARE(bodyText(message), sentence + QStringLiteral("\n04 Jul 2023 3:5 PM"));
    }

    void displayText()
    {
        _MsgMessage message;
        message.text = units({'h', 'i', ' ', 0x2705, ' ', 0xD83D, 0xDE00, ' ', 0x2764, 0xFFFC});
        // Emoji stay as they are, in and beyond the Basic Multilingual Plane.
        QCOMPARE(::displayText(message), units({'h', 'i', ' ', 0x2705, ' ', 0xD83D, 0xDE00, ' ', 0x2764}));
        // System sentences too, names included; the clock has 12 hours and no padding.
        _MsgHandle sender;
        sender._ct_name = units({'Z', 0x2705});
        message.item_type = 3;
        message.date = 0;
        message.handle = &sender;
        QCOMPARE(::displayText(message),
                 QString(units({'Z', 0x2705}) + " left the conversation.\n01 Jan 2001 12:0 AM"));
    }

    void messageLess_data()
    {
        QTest::addColumn<qint64>("rowidA");
        QTest::addColumn<int>("dateA");
        QTest::addColumn<qint64>("rowidB");
        QTest::addColumn<int>("dateB");
        QTest::addColumn<bool>("aBeforeB");
        QTest::addColumn<bool>("bBeforeA");
        const qint64 maxId = std::numeric_limits<qint64>::max();
        const int maxDate = std::numeric_limits<int>::max();
        row("ids 5 apart, 60 s: by id although a is later", 10LL, 1060, 15LL, 1000, true, false);
        row("ids 5 apart, 121 s: by date", 10LL, 1121, 15LL, 1000, false, true);
        row("ids 5 apart, exactly 120 s: by id", 10LL, 1120, 15LL, 1000, true, false);
        row("ids exactly 20 apart: by id", 10LL, 1060, 30LL, 1000, true, false);
        row("ids 21 apart: by date", 10LL, 1060, 31LL, 1000, false, true);
        row("phone, 100 s apart: equal", 0LL, 1000, 0LL, 1100, false, false);
        row("phone, 121 s apart: by date", 0LL, 1000, 0LL, 1121, true, false);
        row("extremes do not overflow", -maxId - 1, maxDate, maxId, -maxDate - 1, false, true);
    }

    void messageLess()
    {
        QFETCH(qint64, rowidA);
        QFETCH(int, dateA);
        QFETCH(qint64, rowidB);
        QFETCH(int, dateB);
        QFETCH(bool, aBeforeB);
        QFETCH(bool, bBeforeA);
        MessageList m(2);
        m.add(rowidA, dateA);
        m.add(rowidB, dateB);
        QCOMPARE(::messageLess(*m.list[0], *m.list[1]), aBeforeB);
        QCOMPARE(::messageLess(*m.list[1], *m.list[0]), bBeforeA);
    }

    void phoneMessagesSortByDateOnlyWhenFarApart()
    {
        // Within two minutes of each other they keep their places; descending is not the reverse.
        MessageList phone(5);
        for (int date : {100, 50, 0, 400, 300})
            phone.add(0, date);
        sortMessagesAscending(phone.list);
        QCOMPARE(phone.dates(), (QList<int>{100, 50, 0, 400, 300}));
        sortMessagesDescending(phone.list);
        QCOMPARE(phone.dates(), (QList<int>{400, 300, 100, 50, 0}));
    }

    // The order is not transitive (a < b < c < a is possible) and phone
    // messages come in bursts that all compare equal; an unsuited sort walks
    // off the ends of its range on such lists. Steps straddle both limits so
    // comparisons keep flipping between the id rule and the date rule.
    void awkwardListsSortWithoutLoss_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("count");
        QTest::addColumn<quint32>("seed");
        row("straddling, small", QStringLiteral("straddling"), 17, 1u);
        row("straddling, thousands", QStringLiteral("straddling"), 5000, 2u);
        row("phone bursts", QStringLiteral("phone"), 6000, 3u);
        row("consistent", QStringLiteral("consistent"), 3000, 5u);
    }

    void awkwardListsSortWithoutLoss()
    {
        QFETCH(QString, kind);
        QFETCH(int, count);
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        MessageList messages(count);
        qint64 rowid = 1000;
        int date = 100000;
        for (int i = 0; i < count; ++i) {
            if (kind == QLatin1String("consistent")) {
                rowid = i;
                date = i * 200;
            } else if (kind == QLatin1String("phone")) {
                rowid = 0; // runs of equal times, a few seconds or several minutes apart
                if (random.bounded(40) == 0)
                    date += random.bounded(2) ? 3 : 400;
            } else {
                rowid += random.bounded(2) ? 18 + random.bounded(4) : -18 - random.bounded(4);
                date += random.bounded(2) ? 118 + random.bounded(5) : -118 - random.bounded(5);
            }
            messages.add(rowid, date);
        }
        messages.list.insert(count / 2, nullptr);
        std::shuffle(messages.list.begin(), messages.list.end(), random);
        const QList<_MsgMessage*> before = sortedPointers(messages.list);

        QList<_MsgMessage*> ascending = messages.list;
        sortMessagesAscending(ascending);
        QCOMPARE(sortedPointers(ascending), before);
        QList<_MsgMessage*> descending = messages.list;
        sortMessagesDescending(descending);
        QCOMPARE(sortedPointers(descending), before);
        // The very order a merge sort of the entries themselves gives.
        QList<_MsgMessage*> reference = messages.list;
        std::stable_sort(reference.begin(), reference.end(), [](const _MsgMessage* a, const _MsgMessage* b) {
            return a && b ? ::messageLess(*a, *b) : !a && b;
        });
        QCOMPARE(ascending, reference);
        if (kind == QLatin1String("consistent")) {
            QList<_MsgMessage*> up = ascending, down = descending;
            up.removeAll(nullptr);
            down.removeAll(nullptr);
            for (int i = 0; i < count; ++i) {
                QCOMPARE(up.at(i)->orderRowid, qint64(i));
                QCOMPARE(down.at(i)->orderRowid, qint64(count - 1 - i));
            }
        }
        // Sorting a sorted list again must not go astray either.
        sortMessagesAscending(descending);
        QCOMPARE(sortedPointers(descending), before);
        sortMessagesDescending(ascending);
        QCOMPARE(sortedPointers(ascending), before);
    }

    void logicHash()
    {
        _MsgHandle handle;
        handle.id = QStringLiteral("+15551234567");
        _MsgAttachment files[3];
        files[0].filename = QStringLiteral("/var/mobile/IMG_0001.JPG");
        files[1].filename = QStringLiteral("C:\\Temp\\B.png");
        _MsgMessage m;
        m.handle = &handle;
        m.guid = QStringLiteral("guid-1");
        m.date = 700000000;
        m.is_from_me = 1;
        m.text = QStringLiteral("Hi ") + QChar(0xFFFC) + QStringLiteral("there \u00e9");
        for (int i = 0; i < 3; ++i)
            m.attachments.insert(i + 1, &files[i]);
        // MD5 of "+15551234567", the date as 4 little-endian bytes, 0x01, "Hi there é",
        // "b.png" and "img_0001.jpg".
        const QString ordinary = QStringLiteral("ce908a5027bc12936697a541f304215c");
        QCOMPARE(::logicHash(m), ordinary);
        m.guid = QStringLiteral("another guid");
        QCOMPARE(::logicHash(m), ordinary);
        m.is_from_me = 0;
        QVERIFY(::logicHash(m) != ordinary);

        // A system message: the guid alone counts.
        m.item_type = 2;
        m.guid = QStringLiteral("SYS-GUID-1");
        const QString system = ::logicHash(m);
        QCOMPARE(system, QString::fromLatin1(
                             QCryptographicHash::hash("SYS-GUID-1", QCryptographicHash::Md5).toHex()));
        m.text = QStringLiteral("different");
        m.handle = nullptr;
        m.date = 1;
        QCOMPARE(::logicHash(m), system);
        m.guid = QStringLiteral("SYS-GUID-2");
        QVERIFY(::logicHash(m) != system);

        QCOMPARE(guidFromBytes("abc"), QStringLiteral("90015098-3CD2-4FB0-D696-3F7D28E17F72"));
    }

    void conversationGroups()
    {
        MessageSet set;
        // Inserted out of order: the chat map's row id order decides.
        const std::tuple<int, const char*, int> chats[] = {
            {4, "+1555", 20}, {2, "+1666", 5}, {3, "+1555", 30}, {1, "+1555", 10}, {5, "+1777", -50}};
        for (const auto& [rowid, identifier, last] : chats) {
            auto* chat = new _MsgChat;
            chat->chat_identifier = QString::fromLatin1(identifier);
            chat->_last = last;
            set.chats.insert(rowid, chat);
        }
        const QList<ConversationGroup> groups = ::conversationGroups(set);
        QCOMPARE(groups.size(), 3);
        QCOMPARE(groups.at(0).chat_identifier, QStringLiteral("+1555"));
        QCOMPARE(groups.at(0).chats,
                 (QList<_MsgChat*>{set.chats.value(1), set.chats.value(3), set.chats.value(4)}));
        QCOMPARE(groups.at(0).last, 30);
        QCOMPARE(groups.at(1).chats, QList<_MsgChat*>{set.chats.value(2)});
        QCOMPARE(groups.at(2).last, -50); // before 2001: negative, not lifted to 0
    }

    void setDeletesItsRecords()
    {
        QByteArray payload("shared payload");
        MessageSetPtr first(new MessageSet);
        fill(*first, payload);
        MessageSetPtr second = first;
        first.reset();
        QVERIFY(!payload.isDetached());
        second.reset();
        QVERIFY(payload.isDetached());

        MessageSet set;
        fill(set, payload);
        set.clear();
        QVERIFY(payload.isDetached());
        QVERIFY(set.chats.isEmpty() && set.handles.isEmpty() && set.messages.isEmpty() &&
                set.attachments.isEmpty());
    }

    // The set's messages stay in row id order whatever order they come in;
    // a second record under a row id replaces the first; removing messages
    // takes them out of their chats too and leaves another set's alone.
    void messagesByRowid()
    {
        MessageSet set;
        auto* chat = new _MsgChat;
        set.chats.insert(1, chat);
        for (const qint64 rowid : {5, 1, 9, 3}) {
            auto* message = new _MsgMessage;
            message->rowid = rowid;
            set.messages.insert(rowid, message);
            chat->messages.append(message);
        }
        QCOMPARE(set.messages.keys(), (QList<qint64>{1, 3, 5, 9}));
        QCOMPARE(set.messages.value(9)->rowid, 9);
        QVERIFY(!set.messages.value(4) && !set.messages.value(10) && !set.messages.value(0));

        _MsgMessage* three = set.messages.value(3);
        _MsgMessage foreign;
        foreign.rowid = 5;
        set.removeMessages({three, &foreign, nullptr});
        QCOMPARE(set.messages.keys(), (QList<qint64>{1, 5, 9}));
        QVERIFY(!chat->messages.contains(three));
        QCOMPARE(chat->messages.size(), 3);

        auto* replacement = new _MsgMessage;
        set.messages.insert(5, replacement);
        QCOMPARE(set.messages.value(5), replacement);
        QCOMPARE(set.messages.size(), 3);
    }

    // A text reads back as the very string it was given, whatever UTF-8 can
    // carry, and copies are apart from each other.
    void compactTextKeepsEveryString_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("latin") << QStringLiteral("On my way, 10 min");
        QTest::newRow("emoji and umlauts") << QStringLiteral("Gr\u00fc\u00dfe \U0001F600!");
        QTest::newRow("NUL inside") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
        QTest::newRow("unpaired high surrogate") << units({u'a', 0xD83D, u'b'});
        QTest::newRow("unpaired low surrogate at the end") << units({u'x', 0xDE00});
    }

    void compactTextKeepsEveryString()
    {
        QFETCH(QString, text);
        CompactText compact(text);
        QCOMPARE(compact.toString(), text);
        QCOMPARE(compact.isEmpty(), text.isEmpty());
        CompactText copy = compact;
        compact = QStringLiteral("changed");
        QCOMPARE(copy.toString(), text);
        QCOMPARE(CompactText::fromUtf8(text.toUtf8()).toString(), QString::fromUtf8(text.toUtf8()));
        _MsgMessage message;
        message.text = text;
        QCOMPARE(QString(message.text), text);
    }

    void storedDates()
    {
        QCOMPARE(storedDateToLocal(0).toUTC(), QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC));
        // 2023-07-04 15:05:00.123 UTC; milliseconds are dropped.
        QCOMPARE(storedDateFromPhoneTime(Q_INT64_C(1688483100123)), 710175900);
        QCOMPARE(storedDateFromPhoneTime(Q_INT64_C(978307199000)), -1);
        // Past 2^31 seconds since 1970 nothing wraps.
        QCOMPARE(storedDateToLocal(std::numeric_limits<int>::max()).toSecsSinceEpoch(),
                 std::numeric_limits<int>::max() + Q_INT64_C(978307200));
        QCOMPARE(storedDateFromPhoneTime(std::numeric_limits<qint64>::max()),
                 std::numeric_limits<int>::max());
    }

    // The other ways in and out of the stored unit, as the transfer, the XML
    // export and the conversion of old local databases take them.
    void storedDateConversions()
    {
        QCOMPARE(storedDateToUnixSeconds(0), Q_INT64_C(978307200));
        QCOMPARE(storedDateToPhoneTime(0), Q_INT64_C(978307200000));
        QCOMPARE(storedDateToPhoneTime(-1), Q_INT64_C(978307199000));
        QCOMPARE(storedDateFromUnixSeconds(Q_INT64_C(1688483100)), 710175900);
        QCOMPARE(storedDateFromPhoneTime(storedDateToPhoneTime(710175900)), 710175900);
        // Toward zero: 1.5 seconds before 1970 is 1 second before it.
        QCOMPARE(storedDateFromPhoneTime(-1500), -978307201);
        QCOMPARE(storedDateFromUnixSeconds(std::numeric_limits<qint64>::min()),
                 std::numeric_limits<int>::min());
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
