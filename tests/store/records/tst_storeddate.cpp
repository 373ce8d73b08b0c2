#include "store/StoredDate.h"

#include <QTest>

#include <ctime>
#include <limits>

class TestStoredDate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("TZ", "UTC");
        tzset();
    }

    void toLocalStartsAt2001()
    {
        const QDateTime local = storedDateToLocal(0);
        QCOMPARE(local.timeSpec(), Qt::LocalTime);
        QCOMPARE(local.toUTC(), QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC));
    }

    void toLocalHandlesNegativeAndLargeDates()
    {
        QCOMPARE(storedDateToLocal(-1).toUTC(), QDateTime(QDate(2000, 12, 31), QTime(23, 59, 59), Qt::UTC));
        // Seconds past 2^31 since 1970 must not wrap: the sum is computed in 64 bits.
        QCOMPARE(storedDateToLocal(std::numeric_limits<int>::max()).toSecsSinceEpoch(),
                 qint64(std::numeric_limits<int>::max()) + 978307200);
    }

    void fromPhoneTime_data()
    {
        QTest::addColumn<qint64>("msecs");
        QTest::addColumn<int>("stored");
        QTest::newRow("2001 start") << Q_INT64_C(978307200000) << 0;
        QTest::newRow("milliseconds dropped") << Q_INT64_C(978307200999) << 0;
        QTest::newRow("2023-07-04 15:05:00.123") << Q_INT64_C(1688483100123) << 710175900;
        QTest::newRow("one second before 2001") << Q_INT64_C(978307199000) << -1;
        QTest::newRow("1970") << Q_INT64_C(0) << -978307200;
        QTest::newRow("division truncates towards zero") << Q_INT64_C(-1500) << -978307201;
        QTest::newRow("far future clamps")
            << std::numeric_limits<qint64>::max() << std::numeric_limits<int>::max();
        QTest::newRow("far past clamps")
            << std::numeric_limits<qint64>::min() << std::numeric_limits<int>::min();
    }

    void fromPhoneTime()
    {
        QFETCH(qint64, msecs);
        QFETCH(int, stored);
        QCOMPARE(storedDateFromPhoneTime(msecs), stored);
    }

    void phoneTimeRoundTripsToTheSecond()
    {
        const qint64 msecs = Q_INT64_C(1688483100123);
        QCOMPARE(storedDateToLocal(storedDateFromPhoneTime(msecs)).toMSecsSinceEpoch(), msecs - 123);
    }
};

QTEST_GUILESS_MAIN(TestStoredDate)
#include "tst_storeddate.moc"
