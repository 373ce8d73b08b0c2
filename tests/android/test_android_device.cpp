#include "android/AndroidDevice.h"

#include "base/AppDirs.h"
#include "tests/kit/TestHome.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

class TestAndroidDevice : public QObject
{
    Q_OBJECT

private slots:
    void deviceIdFollowsConnectionKind();
    void displayName_data();
    void displayName();
    void cacheDir_data();
    void cacheDir();
    void infoValues_data();
    void infoValues();

private:
    TestHome home;
};

void TestAndroidDevice::deviceIdFollowsConnectionKind()
{
    AndroidDevice d;
    d.serial = QStringLiteral("0123456789ABCDEF");
    d.uid = QStringLiteral("u1");
    QCOMPARE(d.deviceId(), QStringLiteral("0123456789ABCDEF"));
    d.isWifi = true;
    QCOMPARE(d.deviceId(), QStringLiteral("u1"));
}

void TestAndroidDevice::displayName_data()
{
    QTest::addColumn<QString>("manufacturer");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const char* maker, const char* model, const char* expected) {
        QTest::newRow(name) << QString(maker) << QString(model) << QString(expected);
    };
    row("both", "Acme", "X1", "Acme X1");
    row("no model", "Acme", "", "Acme");
    row("padded", " Acme ", "X1 ", "Acme  X1");
}

void TestAndroidDevice::displayName()
{
    QFETCH(QString, manufacturer);
    QFETCH(QString, model);
    QFETCH(QString, expected);
    AndroidDevice d;
    d.manufacturer = manufacturer;
    d.model = model;
    QCOMPARE(d.displayName(), expected);
}

void TestAndroidDevice::cacheDir_data()
{
    QTest::addColumn<QString>("imei");
    QTest::addColumn<QString>("uid");
    QTest::addColumn<QString>("folder");
    const auto row = [](const char* imei, const char* uid, const char* folder) {
        QTest::newRow(qPrintable(QStringLiteral("%1 (uid %2)").arg(imei, uid)))
            << QString(imei) << QString(uid) << QString(folder);
    };
    row("123", "u1", "android_cache/123");
    row("../../outside", "", "android_cache/outside"); // no separators, no leading dots
    // Without a usable imei the folder is still one of its own inside android_cache.
    row("..", "u1", "android_cache/u1");
    row("", "../..", "android_cache/unknown");
    // Longer than a file name may be: its beginning names the folder.
    QTest::newRow("imei of 300 digits") << QString(300, QLatin1Char('7')) << "u1"
                                        << QStringLiteral("android_cache/") + QString(255, QLatin1Char('7'));
}

// The folder is created under the data folder and never lies outside android_cache.
void TestAndroidDevice::cacheDir()
{
    QFETCH(QString, imei);
    QFETCH(QString, uid);
    QFETCH(QString, folder);
    AndroidDevice d;
    d.imei = imei;
    d.uid = uid;
    const QString expected = QDir::cleanPath(appDataDir().absoluteFilePath(folder));
    QCOMPARE(d.cacheDir(), expected);
    QVERIFY(QFileInfo(expected).isDir());
    QCOMPARE(d.cacheDir(), expected); // an existing folder is fine too
}

void TestAndroidDevice::infoValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* key, const char* value, bool known, const char* shown) {
        QTest::addRow("%s=%s", key, value) << QString(key) << QString(value) << known << QString(shown);
    };
    row("model", "X1", true, "X1");
    row("version", "27", true, "27");
    row("version", "27b", true, "0"); // not a number
    row("sdk_id", "0x13", true, "0");
    row("root", "1", true, "true");
    row("root", "yes", true, "false");
    row("serial", "evil", false, ""); // not settable from the phone
}

void TestAndroidDevice::infoValues()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, known);
    QFETCH(QString, shown);
    AndroidDevice d;
    QCOMPARE(d.setInfoValue(key, value), known);
    const QHash<QString, QString> fields{{"model", d.model},
                                         {"version", QString::number(d.version)},
                                         {"sdk_id", QString::number(d.sdkId)},
                                         {"root", d.root ? "true" : "false"},
                                         {"serial", d.serial}};
    QCOMPARE(fields.value(key), shown);
}

QTEST_GUILESS_MAIN(TestAndroidDevice)
#include "test_android_device.moc"
