// What adb prints, read: the devices listing, packages, install and
// activity-manager results, the server's notices on standard error.
#include "android/AdbOutput.h"
#include "android/AdbRunner.h"

#include <QtTest>

class TestAdb : public QObject
{
    Q_OBJECT

private slots:
    void devices_data();
    void devices();
    void packages_data();
    void packages();
    void results_data();
    void results();
    void serverNoticesAreNoError();
    void textStopsAtNul();
    void missingAdb();
};

void TestAdb::devices_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("entries"); // "serial state"
    QTest::newRow("one phone") << "List of devices attached\n0123456789ABCDEF\tdevice\n\n"
                               << QStringList{"0123456789ABCDEF device"};
    QTest::newRow("server notices first")
        << "* daemon not running; starting now at tcp:5037\n* daemon started successfully\n"
           "List of devices attached\nR58M\tunauthorized\nemulator-5554\toffline\n\n"
        << QStringList{"R58M unauthorized", "emulator-5554 offline"};
    QTest::newRow("header in lower case") << "list of devices attached\nabc\tdevice\n"
                                          << QStringList{"abc device"};
    QTest::newRow("no header") << "0123\tdevice\n" << QStringList();
    QTest::newRow("serial of odd characters")
        << "List of devices attached\n????????????\tno permissions (user in plugdev group)\n"
        << QStringList{"no permissions"};
    QTest::newRow("malformed lines skipped")
        << "List of devices attached\n\t\n???? ##\nlonely\nS1\tdevice\r\n"
        << QStringList{"S1 device"};
}

void TestAdb::devices()
{
    QFETCH(QString, output);
    QFETCH(QStringList, entries);
    QStringList found;
    for (const AdbDevice& device : parseAdbDevices(output)) {
        found << device.serial + QLatin1Char(' ') + device.state;
        QCOMPARE(device.isOnline(), device.state == QLatin1String("device"));
        QVERIFY(device.line == device.line.trimmed() && device.line.contains(device.serial));
    }
    QCOMPARE(found, entries);
}

void TestAdb::packages_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("packages");
    QTest::newRow("listing with carriage returns")
        << "package:com.android.phone\r\npackage:com.quillbridge.smssync\r\n"
        << QStringList{"com.android.phone", "com.quillbridge.smssync"};
    QTest::newRow("pm fails") << "Error: Unknown option: -l\n" << QStringList();
    QTest::newRow("prefix only at the start") << " x package:a\nPackage:b\npackage: c \n" << QStringList{"c"};
}

void TestAdb::packages()
{
    QFETCH(QString, output);
    QFETCH(QStringList, packages);
    QStringList found = parseInstalledPackages(output).values();
    found.sort();
    QCOMPARE(found, packages);
}

void TestAdb::results_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("amFailed");
    QTest::newRow("install success") << "Performing Streamed Install\nSuccess\n" << true << false;
    QTest::newRow("success in other case") << "SUCCESS\r\n" << true << false;
    QTest::newRow("install failure") << "adb: failed to install a.apk: Failure "
                                        "[INSTALL_FAILED_ALREADY_EXISTS]\nPerforming Streamed Install\n"
                                     << false << false;
    QTest::newRow("broadcast completed")
        << "Broadcasting: Intent { dat=device2://127.0.0.1:1 }\nBroadcast completed: result=0\n"
        << false << false;
    QTest::newRow("broadcast error") << "Broadcasting: Intent {}\nERROR: Broadcast not delivered\n"
                                     << false << true;
}

void TestAdb::results()
{
    QFETCH(QString, output);
    QFETCH(bool, installed);
    QFETCH(bool, amFailed);
    QCOMPARE(installSucceeded(output), installed);
    QCOMPARE(activityManagerFailed(output), amFailed);
}

// Real adb writes its server start-up notices to standard error on any
// command; only what remains is an error.
void TestAdb::serverNoticesAreNoError()
{
    QCOMPARE(withoutServerNotices(QStringLiteral("* daemon not running; starting now at tcp:5037\n"
                                                 "* daemon started successfully\n")),
             QString());
    QCOMPARE(withoutServerNotices(QStringLiteral("adb server version (39) doesn't match this client (41); "
                                                 "killing...\n* daemon started successfully\n")),
             QString());
    QCOMPARE(withoutServerNotices(QStringLiteral("* daemon started successfully\nadb: device offline\n"))
                 .trimmed(),
             QStringLiteral("adb: device offline"));
}

void TestAdb::textStopsAtNul()
{
    QCOMPARE(adbText(QByteArray("abc\0def", 7)), QStringLiteral("abc"));
    QCOMPARE(adbText(QByteArray("caf\xe9")), QStringLiteral("caf\u00e9"));
}

// Without adb on the search path: the throwing calls say so, the others
// judge the text "run adb failed." like any output.
void TestAdb::missingAdb()
{
    const QByteArray path = qgetenv("PATH");
    QTemporaryDir empty;
    qputenv("PATH", QFile::encodeName(empty.path()));
    QString thrown;
    try {
        adbDevices();
    } catch (const std::exception& e) {
        thrown = QString::fromUtf8(e.what());
    }
    QCOMPARE(runAdb({QStringLiteral("devices")}, false), QStringLiteral("run adb failed."));
    QVERIFY(adbInstalledPackages(QStringLiteral("S1")).isEmpty());
    adbAm(QStringLiteral("S1"), QStringLiteral("broadcast"), QString(), QString(), QString(), {}, QString());
    qputenv("PATH", path);
    QCOMPARE(thrown, QStringLiteral("run adb failed."));
}

QTEST_GUILESS_MAIN(TestAdb)
#include "test_adb.moc"
