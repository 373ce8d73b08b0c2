#include "store/MessageText.h"
#include "store/MsgAttachment.h"
#include "store/MsgChat.h"
#include "store/MsgHandle.h"
#include "store/MsgMessage.h"

#include <QTest>

#include <ctime>
#include <memory>
#include <vector>

namespace {

// 2023-07-04 15:05:00 UTC in the stored unit.
constexpr int kJuly4th = 710175900;

_MsgHandle handle(const QString& name, const QString& id)
{
    _MsgHandle h;
    h._ct_name = name;
    h.id = id;
    return h;
}

QString bracketHex(const QString& hex)
{
    return QLatin1Char('<') + hex + QLatin1Char('>');
}

QString units(std::initializer_list<char16_t> codes)
{
    QString s;
    for (char16_t c : codes)
        s.append(QChar(c));
    return s;
}

} // namespace

class TestMessageText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("TZ", "UTC");
        tzset();
    }

    void handleLabel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("withNumber");
        QTest::addColumn<QString>("label");
        QTest::newRow("name with number") << "Ann"
                                          << "123" << true << "Ann (123)";
        QTest::newRow("name alone") << "Ann"
                                    << "123" << false << "Ann";
        QTest::newRow("no name, with number") << ""
                                              << "123" << true << "123";
        QTest::newRow("no name") << ""
                                 << "123" << false << "123";
        QTest::newRow("placeholders in the name stay") << "%2"
                                                       << "123" << true << "%2 (123)";
    }

    void handleLabel()
    {
        QFETCH(QString, name);
        QFETCH(QString, id);
        QFETCH(bool, withNumber);
        QFETCH(QString, label);
        QCOMPARE(::handleLabel(::handle(name, id), withNumber), label);
    }

    void chatTitle_data()
    {
        QTest::addColumn<QString>("displayName");
        QTest::addColumn<QStringList>("names"); // "name|id" per participant, in key order
        QTest::addColumn<bool>("withNumbers");
        QTest::addColumn<QString>("title");
        QTest::newRow("one named participant, numbers")
            << "" << QStringList{"Ann|123"} << true << "Ann (123)";
        QTest::newRow("one named participant") << "" << QStringList{"Ann|123"} << false << "Ann";
        QTest::newRow("no participants") << "" << QStringList{} << true << "Unknown";
        QTest::newRow("display name wins") << "Family" << QStringList{"Ann|123"} << true << "Family";
        QTest::newRow("display name without participants") << "Family" << QStringList{} << false << "Family";
        QTest::newRow("two participants") << "" << QStringList{"A|1", "B|2"} << false << "A, B";
        QTest::newRow("two participants, numbers, one unnamed")
            << "" << QStringList{"A|1", "|2"} << true << "A (1), 2";
    }

    void chatTitle()
    {
        QFETCH(QString, displayName);
        QFETCH(QStringList, names);
        QFETCH(bool, withNumbers);
        QFETCH(QString, title);
        std::vector<_MsgHandle> handles;
        handles.reserve(names.size());
        _MsgChat chat;
        chat.display_name = displayName;
        for (const QString& entry : names) {
            const QStringList parts = entry.split(QLatin1Char('|'));
            handles.push_back(::handle(parts.at(0), parts.at(1)));
            chat.participants.insert(QString::number(chat.participants.size() + 1), &handles.back());
        }
        QCOMPARE(::chatTitle(chat, withNumbers), title);
        QCOMPARE(isGroupChat(chat), names.size() > 1);
    }

    void messageChatLabel_data()
    {
        QTest::addColumn<bool>("hasChat");
        QTest::addColumn<bool>("group");
        QTest::addColumn<QString>("displayName");
        QTest::addColumn<bool>("hasSender");
        QTest::addColumn<QString>("senderName");
        QTest::addColumn<QString>("label");
        QTest::newRow("no chat") << false << false << "" << true << "Ann"
                                 << "unknown";
        QTest::newRow("one-to-one, no suffix") << true << false << "" << true << "Ann"
                                               << "Ann (123)";
        QTest::newRow("group, named sender") << true << true << "" << true << "Cid"
                                             << "Ann (123), Bob (456) (Cid)";
        QTest::newRow("group, unnamed sender") << true << true << "" << true << ""
                                               << "Ann (123), Bob (456) (789)";
        QTest::newRow("group, no sender") << true << true << "" << false << ""
                                          << "Ann (123), Bob (456)";
        QTest::newRow("named group") << true << true << "Team" << true << "Cid"
                                     << "Team (Cid)";
    }

    void messageChatLabel()
    {
        QFETCH(bool, hasChat);
        QFETCH(bool, group);
        QFETCH(QString, displayName);
        QFETCH(bool, hasSender);
        QFETCH(QString, senderName);
        QFETCH(QString, label);
        _MsgHandle ann = ::handle(QStringLiteral("Ann"), QStringLiteral("123"));
        _MsgHandle bob = ::handle(QStringLiteral("Bob"), QStringLiteral("456"));
        _MsgHandle sender = ::handle(senderName, QStringLiteral("789"));
        _MsgChat chat;
        chat.display_name = displayName;
        chat.participants.insert(QStringLiteral("1"), &ann);
        if (group)
            chat.participants.insert(QStringLiteral("2"), &bob);
        _MsgMessage message;
        message.chat = hasChat ? &chat : nullptr;
        message.handle = hasSender ? (group ? &sender : &ann) : nullptr;
        QCOMPARE(::messageChatLabel(message), label);
    }

    void ordinaryBodyText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("mimeTypes");
        QTest::addColumn<QString>("body");
        const QString fffc(QChar(0xFFFC));
        QTest::newRow("object marker removed") << QString("abc" + fffc) << QStringList{} << "abc";
        QTest::newRow("markers inside") << QString(fffc + "a" + fffc + "b") << QStringList{} << "ab";
        QTest::newRow("trimmed") << "  hi\n" << QStringList{} << "hi";
        QTest::newRow("empty") << "" << QStringList{} << "";
        QTest::newRow("image only") << fffc << QStringList{"image/jpeg"} << "[IMAGE]";
        QTest::newRow("upper-case image") << "pic" << QStringList{"IMAGE/PNG"} << "pic [IMAGE]";
        QTest::newRow("video") << "v" << QStringList{"video/mp4"} << "v [VIDEO]";
        QTest::newRow("audio") << "a" << QStringList{"Audio/AMR"} << "a [AUDIO]";
        QTest::newRow("vCard") << "c" << QStringList{"text/x-vCard"} << "c [VCARD]";
        QTest::newRow("vcard lower") << "c" << QStringList{"text/x-vcard"} << "c [VCARD]";
        QTest::newRow("vcard short") << "c" << QStringList{"TEXT/VCARD"} << "c [VCARD]";
        QTest::newRow("vcard with parameters is other")
            << "c" << QStringList{"text/vcard;charset=utf-8"} << "c [ATTA]";
        QTest::newRow("plain text is other") << "t" << QStringList{"text/plain"} << "t [ATTA]";
        QTest::newRow("no MIME type") << "" << QStringList{""} << "[ATTA]";
        QTest::newRow("several in row id order")
            << "x" << QStringList{"image/gif", "application/pdf", "audio/mpeg"} << "x [IMAGE] [ATTA] [AUDIO]";
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
        QTest::addColumn<QString>("sender");     // "-" for no handle, else "name|id"
        QTest::addColumn<QString>("otherParty"); // likewise
        QTest::addColumn<int>("shareStatus");
        QTest::addColumn<QString>("body");
        const QString date = QStringLiteral("04 Jul 2023 3:5 PM");
        QTest::newRow("added") << 1 << "Ann|123"
                               << "Bob|456" << 0 << QString("Ann Added Bob to the conversation.\n" + date);
        QTest::newRow("added by you")
            << 1 << "-"
            << "|555" << 0 << QString("You Added 555 to the conversation.\n" + date);
        QTest::newRow("added you") << 1 << "Ann|123"
                                   << "-" << 0 << QString("Ann Added You to the conversation.\n" + date);
        QTest::newRow("named") << 2 << "|123"
                               << "-" << 0 << QString("123 named the conversation \"Trip %1\".\n" + date);
        QTest::newRow("left") << 3 << "-"
                              << "-" << 0 << QString("You left the conversation.\n" + date);
        QTest::newRow("stopped sharing")
            << 4 << "Ann|123"
            << "-" << 1 << QString("Ann stopped sharing location with You.\n" + date);
        QTest::newRow("started sharing")
            << 4 << "-"
            << "Bob|456" << 0 << QString("You started sharing location with Bob.\n" + date);
        QTest::newRow("other type") << 7 << "Ann|123"
                                    << "Bob|456" << 0 << QString("System Information.\n" + date);
        QTest::newRow("negative type") << -1 << "-"
                                       << "-" << 0 << QString("System Information.\n" + date);
        QTest::newRow("placeholders in names stay")
            << 1 << "%2|1"
            << "%1|2" << 0 << QString("%2 Added %1 to the conversation.\n" + date);
    }

    void systemBodyText()
    {
        QFETCH(int, itemType);
        QFETCH(QString, sender);
        QFETCH(QString, otherParty);
        QFETCH(int, shareStatus);
        QFETCH(QString, body);
        auto makeHandle = [](const QString& description) -> std::unique_ptr<_MsgHandle> {
            if (description == QLatin1String("-"))
                return nullptr;
            const QStringList parts = description.split(QLatin1Char('|'));
            return std::make_unique<_MsgHandle>(::handle(parts.at(0), parts.at(1)));
        };
        const auto senderHandle = makeHandle(sender);
        const auto otherHandle = makeHandle(otherParty);
        _MsgMessage message;
        message.item_type = itemType;
        message.date = kJuly4th;
        message.text = QStringLiteral("ignored");
        message.group_title = QStringLiteral("Trip %1");
        message.share_status = shareStatus;
        message.handle = senderHandle.get();
        message.otherHandle = otherHandle.get();
        QCOMPARE(bodyText(message), body);
    }

    void systemDateUsesTwelveHourClockWithoutPadding()
    {
        _MsgMessage message;
        message.item_type = 3;
        message.date = 0; // 2001-01-01 00:00:00
        QCOMPARE(bodyText(message), QStringLiteral("You left the conversation.\n01 Jan 2001 12:0 AM"));
        message.date = 5 * 86400 + 9 * 3600 + 7 * 60;
        QCOMPARE(bodyText(message), QStringLiteral("You left the conversation.\n06 Jan 2001 9:7 AM"));
    }

    void replaceEmoji_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("replaced");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("plain") << "plain text"
                               << "plain text";
        QTest::newRow("private use at the start") << units({0xE415, 'a'}) << "<E415>a";
        QTest::newRow("check mark at the end") << units({'a', 0x2705}) << "a<2705>";
        QTest::newRow("heart kept") << units({'I', ' ', 0x2764}) << units({'I', ' ', 0x2764});
        QTest::newRow("range ends") << units({0xE000, 0xE537, 0xE538, 0xDFFF})
                                    << QString("<E000><E537>" + units({0xE538, 0xDFFF}));
        QTest::newRow("list neighbours") << units({0x203B, 0x203C, 0x3030, 0x3031})
                                         << QString(units({0x203B}) + "<203C><3030>" + units({0x3031}));
        QTest::newRow("listed twice") << units({0x2714, 0x2714}) << "<2714><2714>";
        QTest::newRow("pair alone") << units({0xD83D, 0xDE00}) << "<1F600>";
        QTest::newRow("pair at the start") << units({0xD83C, 0xDF89, 'x'}) << "<1F389>x";
        QTest::newRow("pair at the end") << units({'x', 0xD83D, 0xDE01}) << "x<1F601>";
        QTest::newRow("two pairs") << units({0xD83D, 0xDE00, 0xD83D, 0xDE01}) << "<1F600><1F601>";
        QTest::newRow("lone high surrogate at the end") << units({'a', 0xD83D}) << units({'a', 0xD83D});
        QTest::newRow("other plane-one block kept") << units({0xD83E, 0xDD14}) << units({0xD83E, 0xDD14});
        QTest::newRow("both passes") << units({0x2714, 0xD83D, 0xDE00, 0x2714}) << "<2714><1F600><2714>";
    }

    void replaceEmoji()
    {
        QFETCH(QString, text);
        QFETCH(QString, replaced);
        QCOMPARE(::replaceEmoji(text, bracketHex), replaced);
    }

    void highSurrogateTakesWhateverFollows()
    {
        int calls = 0;
        const QString out = ::replaceEmoji(units({0xD83D, 'a', 'b'}), [&calls](const QString&) {
            ++calls;
            return QStringLiteral("*");
        });
        QCOMPARE(out, QStringLiteral("*b"));
        QCOMPARE(calls, 1);
    }

    void displayText_data()
    {
        QTest::addColumn<int>("itemType");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("emoji of both passes")
            << 0 << units({'h', 'i', ' ', 0x2705, ' ', 0xD83D, 0xDE00, ' ', 0x2764})
            << QString("hi [EMOJI] [EMOJI] " + units({0x2764}));
        QTest::newRow("private use and marker") << 0 << units({0xFFFC, 0xE415}) << "[EMOJI]";
        QTest::newRow("no emoji") << 0 << " hello "
                                  << "hello";
    }

    void displayText()
    {
        QFETCH(int, itemType);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        _MsgMessage message;
        message.item_type = itemType;
        message.text = text;
        QCOMPARE(::displayText(message), shown);
    }

    void displayTextOfSystemMessageReplacesEmojiInNames()
    {
        _MsgHandle sender = ::handle(units({'Z', 0x2705}), QStringLiteral("1"));
        _MsgMessage message;
        message.item_type = 3;
        message.date = 0;
        message.handle = &sender;
        QCOMPARE(::displayText(message),
                 QStringLiteral("Z[EMOJI] left the conversation.\n01 Jan 2001 12:0 AM"));
    }
};

QTEST_GUILESS_MAIN(TestMessageText)
#include "tst_messagetext.moc"
