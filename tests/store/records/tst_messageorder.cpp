#include "store/MessageOrder.h"
#include "store/MsgMessage.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

namespace {

_MsgMessage message(qint64 orderRowid, int date)
{
    _MsgMessage m;
    m.orderRowid = orderRowid;
    m.date = date;
    return m;
}

// Owns the messages behind a list of raw pointers.
struct MessageList
{
    std::vector<std::unique_ptr<_MsgMessage>> owned;
    QList<_MsgMessage*> list;

    void add(qint64 orderRowid, int date)
    {
        owned.push_back(std::make_unique<_MsgMessage>(message(orderRowid, date)));
        list.append(owned.back().get());
    }
};

QList<_MsgMessage*> sortedPointers(QList<_MsgMessage*> list)
{
    std::sort(list.begin(), list.end(), std::less<_MsgMessage*>());
    return list;
}

QList<qint64> rowids(const QList<_MsgMessage*>& list)
{
    QList<qint64> ids;
    for (const _MsgMessage* m : list)
        ids.append(m->orderRowid);
    return ids;
}

} // namespace

class TestMessageOrder : public QObject
{
    Q_OBJECT

private slots:
    void messageLess_data()
    {
        QTest::addColumn<qint64>("rowidA");
        QTest::addColumn<int>("dateA");
        QTest::addColumn<qint64>("rowidB");
        QTest::addColumn<int>("dateB");
        QTest::addColumn<bool>("aBeforeB");
        QTest::addColumn<bool>("bBeforeA");

        QTest::newRow("close ids, 60 s apart: by id although a is later")
            << 10LL << 1060 << 15LL << 1000 << true << false;
        QTest::newRow("close ids, 121 s apart: by date") << 10LL << 1121 << 15LL << 1000 << false << true;
        QTest::newRow("close ids, exactly 120 s apart: by id")
            << 10LL << 1120 << 15LL << 1000 << true << false;
        QTest::newRow("ids exactly 20 apart: by id") << 10LL << 1060 << 30LL << 1000 << true << false;
        QTest::newRow("ids 21 apart: by date") << 10LL << 1060 << 31LL << 1000 << false << true;
        QTest::newRow("far ids, same date: neither first") << 10LL << 1000 << 100LL << 1000 << false << false;
        QTest::newRow("phone, 100 s apart: equal") << 0LL << 1000 << 0LL << 1100 << false << false;
        QTest::newRow("phone, 121 s apart: by date") << 0LL << 1000 << 0LL << 1121 << true << false;
        QTest::newRow("identical") << 7LL << 1000 << 7LL << 1000 << false << false;
        QTest::newRow("extreme ids and dates do not overflow")
            << std::numeric_limits<qint64>::min() << std::numeric_limits<int>::max()
            << std::numeric_limits<qint64>::max() << std::numeric_limits<int>::min() << false << true;
        QTest::newRow("extreme dates with close ids") << 1LL << std::numeric_limits<int>::min() << 2LL
                                                      << std::numeric_limits<int>::max() << true << false;
    }

    void messageLess()
    {
        QFETCH(qint64, rowidA);
        QFETCH(int, dateA);
        QFETCH(qint64, rowidB);
        QFETCH(int, dateB);
        QFETCH(bool, aBeforeB);
        QFETCH(bool, bBeforeA);
        const _MsgMessage a = message(rowidA, dateA);
        const _MsgMessage b = message(rowidB, dateB);
        QCOMPARE(::messageLess(a, b), aBeforeB);
        QCOMPARE(::messageLess(b, a), bBeforeA);
    }

    void sortsDatabaseMessages()
    {
        MessageList messages;
        messages.add(3, 5000); // a reply stored with a clock slightly behind
        messages.add(1, 5030);
        messages.add(2, 5010);
        messages.add(40, 100); // an older conversation, read later
        messages.add(41, 9000);
        sortMessagesAscending(messages.list);
        QCOMPARE(rowids(messages.list), (QList<qint64>{40, 1, 2, 3, 41}));
        sortMessagesDescending(messages.list);
        QCOMPARE(rowids(messages.list), (QList<qint64>{41, 3, 2, 1, 40}));
    }

    void phoneMessagesWithinTwoMinutesKeepTheirOrder()
    {
        MessageList messages;
        const QList<int> dates{100, 50, 0, 400, 300};
        for (int date : dates)
            messages.add(0, date);
        sortMessagesAscending(messages.list);
        QList<int> ascending;
        for (const _MsgMessage* m : messages.list)
            ascending.append(m->date);
        QCOMPARE(ascending, (QList<int>{100, 50, 0, 400, 300}));

        sortMessagesDescending(messages.list);
        QList<int> descending;
        for (const _MsgMessage* m : messages.list)
            descending.append(m->date);
        QCOMPARE(descending, (QList<int>{400, 300, 100, 50, 0}));
    }

    void nullEntriesDoNotCrash()
    {
        MessageList messages;
        messages.add(2, 200);
        messages.add(1, 100);
        messages.list.insert(1, nullptr);
        sortMessagesAscending(messages.list);
        QCOMPARE(messages.list.size(), 3);
        QCOMPARE(messages.list.at(0), nullptr);
        QCOMPARE(messages.list.at(1)->orderRowid, qint64(1));
        sortMessagesDescending(messages.list);
        QCOMPARE(messages.list.at(2), nullptr);
    }

    // The order is not transitive (a < b < c < a is possible) and phone
    // messages come in bursts that all compare equal; an unsuited sort walks
    // off the ends of its range on such lists. Steps straddle both limits so
    // comparisons keep flipping between the id rule and the date rule.
    void awkwardListsSortWithoutLosingMessages_data()
    {
        QTest::addColumn<bool>("phoneBursts");
        QTest::addColumn<int>("count");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("straddling, small") << false << 17 << 1u;
        QTest::newRow("straddling, thousands") << false << 5000 << 2u;
        QTest::newRow("straddling, other seed") << false << 8000 << 77u;
        QTest::newRow("phone bursts") << true << 6000 << 3u;
    }

    void awkwardListsSortWithoutLosingMessages()
    {
        QFETCH(bool, phoneBursts);
        QFETCH(int, count);
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        MessageList messages;
        qint64 rowid = 1000;
        int date = 100000;
        for (int i = 0; i < count; ++i) {
            if (phoneBursts) {
                // Runs of identical times, a few seconds or several minutes apart.
                if (random.bounded(40) == 0)
                    date += random.bounded(2) ? 3 : 400;
                messages.add(0, date);
                continue;
            }
            rowid += random.bounded(2) ? 19 + random.bounded(4) - 1 : -(19 + random.bounded(4) - 1);
            date += random.bounded(2) ? 118 + random.bounded(5) : -(118 + random.bounded(5));
            messages.add(rowid, date);
        }
        std::shuffle(messages.list.begin(), messages.list.end(), random);
        const QList<_MsgMessage*> before = sortedPointers(messages.list);

        QList<_MsgMessage*> ascending = messages.list;
        sortMessagesAscending(ascending);
        QCOMPARE(sortedPointers(ascending), before);

        QList<_MsgMessage*> descending = messages.list;
        sortMessagesDescending(descending);
        QCOMPARE(sortedPointers(descending), before);

        // Sorting a sorted list again must not go astray either.
        sortMessagesAscending(descending);
        QCOMPARE(sortedPointers(descending), before);
        sortMessagesDescending(ascending);
        QCOMPARE(sortedPointers(ascending), before);
    }

    void consistentListsSortCompletely()
    {
        QRandomGenerator random(5);
        MessageList messages;
        for (int i = 0; i < 3000; ++i)
            messages.add(i, i * 200);
        std::shuffle(messages.list.begin(), messages.list.end(), random);
        sortMessagesAscending(messages.list);
        for (int i = 0; i < messages.list.size(); ++i)
            QCOMPARE(messages.list.at(i)->orderRowid, qint64(i));
        std::shuffle(messages.list.begin(), messages.list.end(), random);
        sortMessagesDescending(messages.list);
        for (int i = 0; i < messages.list.size(); ++i)
            QCOMPARE(messages.list.at(i)->orderRowid, qint64(messages.list.size() - 1 - i));
    }
};

QTEST_GUILESS_MAIN(TestMessageOrder)
#include "tst_messageorder.moc"
