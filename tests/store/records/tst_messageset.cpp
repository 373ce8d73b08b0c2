#include "store/ConversationGroups.h"
#include "store/MessageSet.h"

#include <QTest>

namespace {

// Fills a set with one record of each kind, each holding a share of payload,
// so the payload is detached again exactly when every record has gone.
void fill(MessageSet& set, const QByteArray& payload)
{
    auto* handle = new _MsgHandle;
    handle->_photo = payload;
    set.handles.insert(1, handle);
    auto* chat = new _MsgChat;
    chat->properties = payload;
    chat->participants.insert(QStringLiteral("1"), handle);
    set.chats.insert(1, chat);
    auto* attachment = new _MsgAttachment;
    attachment->user_info = payload;
    set.attachments.insert(1, attachment);
    auto* message = new _MsgMessage;
    message->attributedBody = payload;
    message->handle = handle;
    message->chat = chat;
    message->attachments.insert(1, attachment);
    set.messages.insert(1, message);
    chat->messages.insert(QStringLiteral("1"), message);
}

_MsgChat* addChat(MessageSet& set, qint64 rowid, const QString& identifier, int last)
{
    auto* chat = new _MsgChat;
    chat->rowid = rowid;
    chat->chat_identifier = identifier;
    chat->_last = last;
    set.chats.insert(rowid, chat);
    return chat;
}

} // namespace

class TestMessageSet : public QObject
{
    Q_OBJECT

private slots:
    void recordDefaults()
    {
        const _MsgMessage m;
        QCOMPARE(m.version, 10);
        QCOMPARE(m.other_handle, -1);
        QCOMPARE(m.orderRowid, qint64(0));
        QCOMPARE(m.item_type, 0);
        QVERIFY(!m.handle && !m.chat && !m.otherHandle && m.attachments.isEmpty());
        const _MsgChat c;
        QCOMPARE(c.style, 45);
        QCOMPARE(c.state, 3);
        QCOMPARE(c.service_name, QStringLiteral("SMS"));
        QCOMPARE(c.account_login, QStringLiteral("E:"));
        QCOMPARE(c.is_archived, 0);
        const _MsgHandle h;
        QCOMPARE(h.service, QStringLiteral("SMS"));
    }

    void destructorDeletesEveryRecord()
    {
        QByteArray payload("shared payload");
        {
            MessageSet set;
            fill(set, payload);
            QVERIFY(!payload.isDetached());
        }
        QVERIFY(payload.isDetached());
    }

    void clearDeletesAndEmpties()
    {
        QByteArray payload("shared payload");
        MessageSet set;
        fill(set, payload);
        set.clear();
        QVERIFY(payload.isDetached());
        QVERIFY(set.chats.isEmpty() && set.handles.isEmpty() && set.messages.isEmpty() &&
                set.attachments.isEmpty());
        // A cleared set can be filled again and still frees everything once.
        fill(set, payload);
        QVERIFY(!payload.isDetached());
        set.clear();
        set.clear();
        QVERIFY(payload.isDetached());
    }

    void sharedPointerFreesWithTheLastHolder()
    {
        QByteArray payload("shared payload");
        MessageSetPtr first(new MessageSet);
        fill(*first, payload);
        MessageSetPtr second = first;
        first.reset();
        QVERIFY(!payload.isDetached());
        second.reset();
        QVERIFY(payload.isDetached());
    }

    void groupsByIdentifierInChatOrder()
    {
        MessageSet set;
        // Inserted out of order: the chat map's row id order decides.
        _MsgChat* a4 = addChat(set, 4, QStringLiteral("+1555"), 20);
        _MsgChat* b2 = addChat(set, 2, QStringLiteral("+1666"), 5);
        _MsgChat* a3 = addChat(set, 3, QStringLiteral("+1555"), 30);
        _MsgChat* a1 = addChat(set, 1, QStringLiteral("+1555"), 10);
        _MsgChat* c5 = addChat(set, 5, QStringLiteral("+1777"), -50);

        const QList<ConversationGroup> groups = conversationGroups(set);
        QCOMPARE(groups.size(), 3);
        QCOMPARE(groups.at(0).chat_identifier, QStringLiteral("+1555"));
        QCOMPARE(groups.at(0).chats, (QList<_MsgChat*>{a1, a3, a4}));
        QCOMPARE(groups.at(0).last, 30);
        QCOMPARE(groups.at(1).chat_identifier, QStringLiteral("+1666"));
        QCOMPARE(groups.at(1).chats, (QList<_MsgChat*>{b2}));
        QCOMPARE(groups.at(1).last, 5);
        // A date before 2001 is negative and must not be lifted to 0.
        QCOMPARE(groups.at(2).chats, (QList<_MsgChat*>{c5}));
        QCOMPARE(groups.at(2).last, -50);
    }

    void noChatsNoGroups()
    {
        MessageSet set;
        QVERIFY(conversationGroups(set).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMessageSet)
#include "tst_messageset.moc"
