#include "android/AndroidDevice.h"

#include "app/base/AppDirs.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

class TestAndroidDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void startsEmpty();
    void deviceIdFollowsConnectionKind();
    void displayName_data();
    void displayName();
    void cacheDirIsCreatedInDataFolder();
    void cacheDirStaysInsideCacheFolder_data();
    void cacheDirStaysInsideCacheFolder();
    void infoValues_data();
    void infoValues();
    void unknownInfoKeyIsIgnored();
    void travelsAsVariant();

private:
    QTemporaryDir home;
};

void TestAndroidDevice::initTestCase()
{
    QVERIFY(home.isValid());
    qputenv("HOME", QFile::encodeName(home.path()));
}

void TestAndroidDevice::startsEmpty()
{
    const AndroidDevice d;
    QVERIFY(d.serial.isEmpty() && d.uid.isEmpty() && d.host.isEmpty() && d.model.isEmpty());
    QVERIFY(d.manufacturer.isEmpty() && d.imei.isEmpty() && d.sdk.isEmpty() && d.storage1.isEmpty());
    QVERIFY(d.mmc.isEmpty());
    QCOMPARE(d.isWifi, false);
    QCOMPARE(d.root, false);
    QCOMPARE(d.port, 0);
    QCOMPARE(d.version, 0);
    QCOMPARE(d.sdkId, 0);
}

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
    QTest::newRow("both") << "Acme"
                          << "X1"
                          << "Acme X1";
    QTest::newRow("no model") << "Acme"
                              << ""
                              << "Acme";
    QTest::newRow("no manufacturer") << ""
                                     << "X1"
                                     << "X1";
    QTest::newRow("padded") << " Acme "
                            << "X1 "
                            << "Acme  X1";
    QTest::newRow("nothing") << ""
                             << ""
                             << "";
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

void TestAndroidDevice::cacheDirIsCreatedInDataFolder()
{
    AndroidDevice d;
    d.imei = QStringLiteral("123");
    const QString expected =
        QDir::cleanPath(appDataDir().absoluteFilePath(QStringLiteral("android_cache/123")));
    QVERIFY(!QFileInfo::exists(expected));
    QCOMPARE(d.cacheDir(), expected);
    QVERIFY(QFileInfo(expected).isDir());
    QVERIFY(QFileInfo(expected).isAbsolute());
    QVERIFY(expected.startsWith(QDir(home.path()).canonicalPath()) || expected.startsWith(home.path()));
    QCOMPARE(d.cacheDir(), expected); // an existing folder is fine too
}

void TestAndroidDevice::cacheDirStaysInsideCacheFolder_data()
{
    QTest::addColumn<QString>("imei");
    QTest::addColumn<QString>("folder");
    QTest::newRow("climbs up") << "../../outside"
                               << "android_cache/....outside";
    QTest::newRow("parent") << ".."
                            << "android_cache";
    QTest::newRow("dot") << "."
                         << "android_cache";
    QTest::newRow("empty") << ""
                           << "android_cache";
}

void TestAndroidDevice::cacheDirStaysInsideCacheFolder()
{
    QFETCH(QString, imei);
    QFETCH(QString, folder);
    AndroidDevice d;
    d.imei = imei;
    QCOMPARE(d.cacheDir(), QDir::cleanPath(appDataDir().absoluteFilePath(folder)));
}

void TestAndroidDevice::infoValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("uid") << "uid"
                         << "u-9"
                         << "u-9";
    QTest::newRow("version") << "version"
                             << "27"
                             << "27";
    QTest::newRow("version not a number") << "version"
                                          << "27b"
                                          << "0";
    QTest::newRow("model") << "model"
                           << "X1"
                           << "X1";
    QTest::newRow("manufacturer") << "manufacturer"
                                  << "Acme"
                                  << "Acme";
    QTest::newRow("imei") << "imei"
                          << "3579"
                          << "3579";
    QTest::newRow("sdk") << "sdk"
                         << "4.4.2"
                         << "4.4.2";
    QTest::newRow("sdk_id") << "sdk_id"
                            << "19"
                            << "19";
    QTest::newRow("sdk_id hex is not decimal") << "sdk_id"
                                               << "0x13"
                                               << "0";
    QTest::newRow("root 1") << "root"
                            << "1"
                            << "true";
    QTest::newRow("root 0") << "root"
                            << "0"
                            << "false";
    QTest::newRow("root text") << "root"
                               << "yes"
                               << "false";
    QTest::newRow("storage1") << "storage1"
                              << "/sdcard"
                              << "/sdcard";
    QTest::newRow("mmc") << "mmc"
                         << "310"
                         << "310";
}

void TestAndroidDevice::infoValues()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, shown);
    AndroidDevice d;
    QVERIFY(d.setInfoValue(key, value));
    const QHash<QString, QString> fields{
        {"uid", d.uid},
        {"version", QString::number(d.version)},
        {"model", d.model},
        {"manufacturer", d.manufacturer},
        {"imei", d.imei},
        {"sdk", d.sdk},
        {"sdk_id", QString::number(d.sdkId)},
        {"root", d.root ? "true" : "false"},
        {"storage1", d.storage1},
        {"mmc", d.mmc},
    };
    QCOMPARE(fields.value(key), shown);
}

void TestAndroidDevice::unknownInfoKeyIsIgnored()
{
    AndroidDevice d;
    QVERIFY(!d.setInfoValue(QStringLiteral("serial"), QStringLiteral("evil")));
    QVERIFY(!d.setInfoValue(QStringLiteral("isWifi"), QStringLiteral("1")));
    QVERIFY(d.serial.isEmpty());
    QVERIFY(!d.isWifi);
}

void TestAndroidDevice::travelsAsVariant()
{
    AndroidDevice d;
    d.serial = QStringLiteral("S1");
    d.model = QStringLiteral("X1");
    d.port = 44441;
    const QVariant v = QVariant::fromValue(d);
    QVERIFY(v.canConvert<AndroidDevice>());
    const AndroidDevice back = v.value<AndroidDevice>();
    QCOMPARE(back.serial, d.serial);
    QCOMPARE(back.model, d.model);
    QCOMPARE(back.port, 44441);
}

QTEST_GUILESS_MAIN(TestAndroidDevice)
#include "test_android_device.moc"
