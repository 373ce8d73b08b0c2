// The device monitor against the stand-in adb: one report per phone, its
// departure on the next poll, failing polls that change nothing, a prompt
// end even while adb hangs, and the adb server stopped only when it was ours.
#include "tests/kit/PhoneSim.h"
#include "tests/kit/TestHome.h"

#include "android/AndroidMonitor.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

namespace {
constexpr int kPollMs = 200;

QJsonObject phoneInState(const QString& serial, const QString& state)
{
    QJsonObject phone = PhoneSim::phone(serial);
    phone.insert(QStringLiteral("state"), state);
    return phone;
}

QStringList serialsOf(const QSignalSpy& spy)
{
    QStringList serials;
    for (const QList<QVariant>& call : spy) {
        const QVariant argument = call.first();
        serials << (argument.canConvert<AdbDevice>() ? argument.value<AdbDevice>().serial
                                                     : argument.toString());
    }
    return serials;
}
} // namespace

class TestDeviceMonitor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reportsEachPhoneOnceAndItsDeparture();
    void stopsPromptlyWhileAdbHangs();
    void stopsOnlyAServerItStarted_data();
    void stopsOnlyAServerItStarted();

private:
    TestHome home;
    std::unique_ptr<PhoneSim> sim;
};

void TestDeviceMonitor::initTestCase()
{
    qRegisterMetaType<AdbDevice>("AdbDevice");
    sim = std::make_unique<PhoneSim>();
    QVERIFY(sim->isValid());
}

void TestDeviceMonitor::reportsEachPhoneOnceAndItsDeparture()
{
    QVERIFY(sim->plug(phoneInState(QStringLiteral("S1"), QStringLiteral("device"))));
    QVERIFY(sim->plug(phoneInState(QStringLiteral("S2"), QStringLiteral("unauthorized"))));
    {
        AndroidMonitor monitor;
        monitor.setPollInterval(kPollMs);
        QSignalSpy connected(&monitor, &AndroidMonitor::deviceConnected);
        QSignalSpy disconnected(&monitor, &AndroidMonitor::deviceDisconnected);
        monitor.startMonitoring();
        QTRY_COMPARE_WITH_TIMEOUT(serialsOf(connected), (QStringList{"S1", "S2"}), 5000);
        QVERIFY(!connected.at(1).first().value<AdbDevice>().isOnline());
        QVERIFY(monitor.hasSeenDevice());

        // Allowing debugging is no new phone; a failing poll loses none.
        QVERIFY(sim->update(phoneInState(QStringLiteral("S2"), QStringLiteral("device"))));
        sim->setAdbFault(QStringLiteral("devices-stderr"));
        QTest::qWait(5 * kPollMs);
        sim->setAdbFault(QString());
        QTest::qWait(3 * kPollMs);
        QCOMPARE(connected.size(), 2);
        QCOMPARE(disconnected.size(), 0);

        QVERIFY(sim->unplug(QStringLiteral("S1")));
        QTRY_COMPARE_WITH_TIMEOUT(serialsOf(disconnected), QStringList{"S1"}, 5000);
        QVERIFY(sim->unplug(QStringLiteral("S2")));
        QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), 2, 5000);
        QVERIFY(!monitor.hasSeenDevice());
    }
    // The server was started first and stopped last.
    const QStringList calls = sim->adbCalls();
    QCOMPARE(calls.first(), QStringLiteral("start-server"));
    QCOMPARE(calls.last(), QStringLiteral("kill-server"));
}

// An adb that never finishes must not keep the program from closing.
void TestDeviceMonitor::stopsPromptlyWhileAdbHangs()
{
    auto monitor = std::make_unique<AndroidMonitor>();
    monitor->setPollInterval(kPollMs);
    monitor->startMonitoring();
    QTest::qWait(2 * kPollMs);
    sim->setAdbFault(QStringLiteral("hang"));
    QTest::qWait(3 * kPollMs); // a poll is now waiting for adb
    QElapsedTimer clock;
    clock.start();
    monitor.reset();
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    sim->setAdbFault(QString());
}

void TestDeviceMonitor::stopsOnlyAServerItStarted_data()
{
    QTest::addColumn<QString>("before"); // the adb command run before the monitor starts
    QTest::addColumn<bool>("stopped");
    QTest::newRow("no server running") << "kill-server" << true;
    QTest::newRow("another tool's server running") << "start-server" << false;
}

// Closing stops the adb server only when this program started it; another
// tool's server keeps running.
void TestDeviceMonitor::stopsOnlyAServerItStarted()
{
    QFETCH(QString, before);
    QFETCH(bool, stopped);
    QCOMPARE(QProcess::execute(QStringLiteral("adb"), {before}), 0);
    sim->forgetAdbCalls();
    {
        AndroidMonitor monitor;
        monitor.setPollInterval(kPollMs);
        monitor.startMonitoring();
        QTRY_VERIFY(sim->adbCalls().contains(QStringLiteral("devices")));
    }
    const QStringList calls = sim->adbCalls();
    QCOMPARE(calls.first(), QStringLiteral("start-server"));
    QCOMPARE(calls.contains(QStringLiteral("kill-server")), stopped);
    QCOMPARE(calls.last() == QStringLiteral("kill-server"), stopped);
}

QTEST_GUILESS_MAIN(TestDeviceMonitor)
#include "test_device_monitor.moc"
