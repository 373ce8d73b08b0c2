#include "store/ExportMessagesDb.h"
#include "store/MessageHash.h"
#include "store/MessageLists.h"
#include "store/MessageOrder.h"
#include "store/MessageSet.h"
#include "store/MessageText.h"
#include "tools/gen_messages/MessageGenerator.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

// Generated messages written into a database, read back, written into a
// second database and read again keep every text, date, direction and hash.
class TestGeneratedRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void sameSeedSameRecords();
    void generatedContentLooksReal();
    void databaseRoundTripKeepsMessages();
    void sameSeedSameFile();

private:
    static MessageGeneratorOptions smallOptions(quint32 seed);
    // Compares what a reader shows of two messages lists, matched by guid.
    static void compareByGuid(const QList<_MsgMessage*>& expected, const QList<_MsgMessage*>& actual);
    static QList<_MsgMessage*> readSorted(const QDir& folder, MessageSet& set);

    QTemporaryDir home;
    QTemporaryDir work;
};

void TestGeneratedRoundTrip::initTestCase()
{
    QVERIFY(home.isValid());
    QVERIFY(work.isValid());
    qputenv("HOME", QFile::encodeName(home.path()));
}

MessageGeneratorOptions TestGeneratedRoundTrip::smallOptions(quint32 seed)
{
    MessageGeneratorOptions options;
    options.messageCount = 300;
    options.conversationCount = 20;
    options.seed = seed;
    return options;
}

void TestGeneratedRoundTrip::compareByGuid(const QList<_MsgMessage*>& expected,
                                           const QList<_MsgMessage*>& actual)
{
    QCOMPARE(actual.size(), expected.size());
    QHash<QString, const _MsgMessage*> byGuid;
    for (const _MsgMessage* message : actual)
        byGuid.insert(message->guid, message);
    QCOMPARE(byGuid.size(), actual.size());
    for (const _MsgMessage* want : expected) {
        const _MsgMessage* got = byGuid.value(want->guid);
        QVERIFY2(got, qPrintable(want->guid));
        QCOMPARE(displayText(*got), displayText(*want));
        QCOMPARE(got->text, want->text);
        QCOMPARE(got->date, want->date);
        QCOMPARE(got->is_from_me, want->is_from_me);
        QCOMPARE(got->country, want->country);
        QCOMPARE(got->item_type, want->item_type);
        QCOMPARE(logicHash(*got), logicHash(*want));
        QVERIFY(got->chat && want->chat);
        QCOMPARE(got->chat->guid, want->chat->guid);
        QCOMPARE(got->chat->display_name, want->chat->display_name);
        QCOMPARE(got->chat->participants.size(), want->chat->participants.size());
        QCOMPARE(bool(got->handle), bool(want->handle));
        if (want->handle) {
            QCOMPARE(got->handle->id, want->handle->id);
            QCOMPARE(got->handle->_ct_name, want->handle->_ct_name);
        }
    }
}

QList<_MsgMessage*> TestGeneratedRoundTrip::readSorted(const QDir& folder, MessageSet& set)
{
    IOS6MessageDb db(folder, QString());
    db.readMessages(set, 0);
    QList<_MsgMessage*> messages = allMessages(set);
    sortMessagesAscending(messages);
    return messages;
}

void TestGeneratedRoundTrip::sameSeedSameRecords()
{
    MessageSet first;
    MessageSet second;
    MessageSet other;
    const QList<_MsgMessage*> a = MessageGenerator(smallOptions(3)).generate(first);
    const QList<_MsgMessage*> b = MessageGenerator(smallOptions(3)).generate(second);
    const QList<_MsgMessage*> c = MessageGenerator(smallOptions(4)).generate(other);
    QCOMPARE(a.size(), 300);
    QCOMPARE(b.size(), 300);
    QCOMPARE(first.chats.size(), 20);
    bool allSame = true;
    bool allSameAsOther = true;
    for (int i = 0; i < a.size(); ++i) {
        allSame = allSame && a[i]->guid == b[i]->guid && a[i]->text == b[i]->text && a[i]->date == b[i]->date;
        allSameAsOther = allSameAsOther && a[i]->guid == c[i]->guid;
    }
    QVERIFY(allSame);
    QVERIFY(!allSameAsOther);
}

void TestGeneratedRoundTrip::generatedContentLooksReal()
{
    MessageGeneratorOptions options;
    options.messageCount = 4000;
    options.conversationCount = 200;
    MessageSet set;
    const QList<_MsgMessage*> messages = MessageGenerator(options).generate(set);
    QCOMPARE(messages.size(), 4000);

    QSet<QString> hashes;
    int system = 0, multiLine = 0, pairEmoji = 0, bmpEmoji = 0, fromMe = 0, nonLatin = 0;
    int minDate = INT_MAX, maxDate = INT_MIN;
    for (const _MsgMessage* message : messages) {
        hashes.insert(logicHash(*message));
        if (message->item_type != 0) {
            QVERIFY(message->item_type >= 1 && message->item_type <= 3);
            QVERIFY(isGroupChat(*message->chat));
            ++system;
            continue;
        }
        QVERIFY(!message->text.isEmpty());
        multiLine += message->text.contains(QLatin1Char('\n'));
        pairEmoji +=
            message->text.contains(QString::fromUtf8("😀")) || message->text.contains(QString::fromUtf8("👍"));
        bmpEmoji += message->text.contains(QChar(0x2705)) || message->text.contains(QChar(0x2764));
        nonLatin +=
            message->text.contains(QRegularExpression(QStringLiteral("[\\x{0400}-\\x{04FF}\\x{0600}-"
                                                                     "\\x{06FF}\\x{4E00}-\\x{9FFF}]")));
        fromMe += message->is_from_me;
        minDate = std::min(minDate, message->date);
        maxDate = std::max(maxDate, message->date);
    }
    QCOMPARE(hashes.size(), messages.size()); // nothing a database would drop as a duplicate
    QVERIFY(system > 0);
    QVERIFY(multiLine > 0);
    QVERIFY(pairEmoji > 0);
    QVERIFY(bmpEmoji > 0);
    QVERIFY(nonLatin > 0);
    QVERIFY(fromMe > 1000 && fromMe < 3000);
    QVERIFY(maxDate - minDate > 2 * 365 * 24 * 3600);

    int groups = 0, named = 0;
    QList<int> sizes;
    for (const _MsgChat* chat : std::as_const(set.chats)) {
        sizes.append(int(chat->messages.size()));
        if (isGroupChat(*chat)) {
            ++groups;
            QVERIFY(chat->participants.size() >= 3 && chat->participants.size() <= 5);
        }
    }
    for (const _MsgHandle* handle : std::as_const(set.handles)) {
        named += !handle->_ct_name.isEmpty();
        QVERIFY2(handle->id.startsWith(QLatin1Char('+')) || handle->id == handle->id.toLower(),
                 qPrintable(handle->id));
    }
    QVERIFY(groups >= 2 && groups <= 30);
    QVERIFY(named > set.handles.size() / 2 && named < set.handles.size());
    std::sort(sizes.begin(), sizes.end());
    QVERIFY(sizes.first() <= 5);
    QVERIFY(sizes.last() >= 100);
}

void TestGeneratedRoundTrip::databaseRoundTripKeepsMessages()
{
    const QDir firstFolder(work.filePath(QStringLiteral("first")));
    const QDir secondFolder(work.filePath(QStringLiteral("second")));
    QCOMPARE(MessageGenerator::writeDatabase(firstFolder, QString(), smallOptions(11)), 300);

    MessageSet generatedSet;
    const QList<_MsgMessage*> generated = MessageGenerator(smallOptions(11)).generate(generatedSet);
    MessageSet firstSet;
    const QList<_MsgMessage*> first = readSorted(firstFolder, firstSet);
    compareByGuid(generated, first);
    if (QTest::currentTestFailed())
        return;

    ExportMessagesDb exporter(secondFolder, QString());
    exporter.begin();
    for (const _MsgMessage* message : first)
        exporter.write(*message);
    exporter.end();

    MessageSet secondSet;
    const QList<_MsgMessage*> second = readSorted(secondFolder, secondSet);
    compareByGuid(first, second);
    QCOMPARE(secondSet.chats.size(), firstSet.chats.size());
    QCOMPARE(secondSet.handles.size(), firstSet.handles.size());
    for (int i = 0; i < first.size(); ++i)
        QCOMPARE(second[i]->guid, first[i]->guid);
}

void TestGeneratedRoundTrip::sameSeedSameFile()
{
    const QDir a(work.filePath(QStringLiteral("same-a")));
    const QDir b(work.filePath(QStringLiteral("same-b")));
    MessageGenerator::writeDatabase(a, QString(), smallOptions(5));
    MessageGenerator::writeDatabase(b, QString(), smallOptions(5));
    QFile fa(IOS6MessageDb(a, QString()).databasePath());
    QFile fb(IOS6MessageDb(b, QString()).databasePath());
    QVERIFY(fa.open(QIODevice::ReadOnly));
    QVERIFY(fb.open(QIODevice::ReadOnly));
    const QByteArray bytes = fa.readAll();
    QVERIFY(bytes.size() > 4096);
    QVERIFY(bytes == fb.readAll());
}

QTEST_GUILESS_MAIN(TestGeneratedRoundTrip)
#include "tst_generatedroundtrip.moc"
