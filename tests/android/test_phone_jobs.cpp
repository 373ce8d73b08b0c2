// The connect and load jobs against the phone simulator and the stand-in
// adb: the real processes, sockets and files, with the phone's faults.
#include "tests/kit/JobRecorder.h"
#include "tests/kit/PhoneSim.h"
#include "tests/kit/TestHome.h"

#include "android/AndroidConnectWithUSBThread.h"
#include "android/AndroidConnectWithWiFiThread.h"
#include "android/AndroidLoadSMSThread.h"
#include "android/PhoneSms.h"
#include "android/SimpleProtocol.h"
#include "base/AppDirs.h"
#include "country/CountryLibDb.h"
#include "store/ExportMessagesDb.h"
#include "store/MessageSet.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTcpSocket>
#include <QtTest>

namespace {
const QString kAnn = QStringLiteral("+15550000001");
const QString kBobNational = QStringLiteral("(555) 000-0002");

QJsonObject phoneWith(const QJsonObject& changes)
{
    QJsonObject phone = PhoneSim::phone();
    for (auto it = changes.begin(); it != changes.end(); ++it)
        phone.insert(it.key(), it.value());
    return phone;
}

// Three messages: two with Ann (one sent), one from Bob written nationally.
QJsonArray threeMessages()
{
    return QJsonArray{
        PhoneSim::message(1000000000000, false, kAnn, QStringLiteral("Ann"), QStringLiteral("hi")),
        PhoneSim::message(1000000060000, true, kAnn, QStringLiteral("Ann"), QStringLiteral("hello")),
        PhoneSim::message(1000000120000, false, kBobNational, QString(), QStringLiteral("yo"))};
}

// What the cache of the record holds, read afresh.
struct CacheContent
{
    int messages = 0;
    int chats = 0;
    QStringList texts; // in row order
    QStringList addresses;
};

CacheContent cacheOf(const AndroidDevice& record)
{
    MessageSet set;
    IOS6MessageDb db(QDir(record.cacheDir()), record.mmc);
    db.readMessages(set, 0);
    CacheContent content{int(set.messages.size()), int(set.chats.size()), {}, {}};
    for (const _MsgMessage* m : std::as_const(set.messages))
        content.texts << m->text;
    for (const _MsgHandle* h : std::as_const(set.handles))
        content.addresses << h->id;
    return content;
}

void writeOneMessage(const QString& folder, const QString& text)
{
    _MsgHandle handle;
    handle.id = QStringLiteral("+15559999999");
    _MsgChat chat;
    chat.guid = QStringLiteral("SMS;-;+15559999999");
    chat.chat_identifier = handle.id;
    chat.participants.insert(handle.id, &handle);
    _MsgMessage message;
    message.guid = QStringLiteral("old-1");
    message.text = text;
    message.handle = &handle;
    message.chat = &chat;
    ExportMessagesDb writer{QDir(folder), QString()};
    writer.begin();
    writer.write(message);
    writer.end();
}
} // namespace

class TestPhoneJobs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void phoneRecords_data();
    void phoneRecords();
    void usbConnect_data();
    void usbConnect();
    void cancelWhileReadingPackagesInstallsNothing();
    void wifiConnect_data();
    void wifiConnect();
    void loadFillsTheCache();
    void loadFaults_data();
    void loadFaults();
    void silentPhoneCancelsWithinASecond();
    void hostileImeiTouchesOnlyItsOwnCache();

private:
    TestHome home;
    std::unique_ptr<PhoneSim> sim;
};

void TestPhoneJobs::initTestCase()
{
    sim = std::make_unique<PhoneSim>();
    QVERIFY(sim->isValid());
}

void TestPhoneJobs::init()
{
    QVERIFY(sim->startAfresh());
}

void TestPhoneJobs::phoneRecords_data()
{
    const auto b64 = [](const char* text) { return simpleprotocol::encodeText(QString::fromUtf8(text)); };
    QTest::addColumn<QString>("record");
    QTest::addColumn<bool>("read");
    QTest::addColumn<int>("date");
    QTest::addColumn<int>("fromMe");
    QTest::addColumn<QString>("text");
    QTest::newRow("received") << "1000000000000,2," + b64("+15550000001") + "," + b64("Ann") + "," +
                                     b64("h\u00e9 \U0001F600") + "," + b64("")
                              << true << 21692800 << 0 << QStringLiteral("h\u00e9 \U0001F600");
    QTest::newRow("sent, seven fields")
        << "1000000000999,1," + b64("1") + ",,," + b64("s") + ",x" << true << 21692800 << 1 << QString();
    QTest::newRow("empty direction") << "1000000000000,," + b64("1") + ",,,," << true << 21692800 << 0 << "";
    QTest::newRow("five fields skipped") << "1000000000000,1," + b64("1") + ",," << false << 0 << 0 << "";
}

void TestPhoneJobs::phoneRecords()
{
    QFETCH(QString, record);
    QFETCH(bool, read);
    QFETCH(int, date);
    QFETCH(int, fromMe);
    QFETCH(QString, text);
    PhoneSms sms;
    QCOMPARE(sms.read(record, CountryInfo()), read);
    if (!read)
        return;
    const _MsgMessage& m = sms.message();
    QCOMPARE(m.date, date);
    QCOMPARE(m.date_read, date);
    QCOMPARE(m.is_from_me, fromMe);
    QCOMPARE(m.text, text);
    QCOMPARE(m.account(), QStringLiteral("e:"));
    QCOMPARE(m.chat->guid, QStringLiteral("SMS;-;") + m.handle->id);
    QCOMPARE(m.chat->participants.value(m.handle->id), m.handle);
    QVERIFY(!m.guid.isEmpty());
}

void TestPhoneJobs::usbConnect_data()
{
    QTest::addColumn<QJsonObject>("changes");
    QTest::addColumn<QString>("error"); // the start of the error text; empty: success
    QTest::addColumn<bool>("installs");
    const QString tooOld = QStringLiteral(
        "Quillbridge SMS Sync on Android is too old. 3.1.10 needed. Please update it from Google Play.");
    QJsonObject oldApp = PhoneSim::phone().value(QStringLiteral("info")).toObject();
    oldApp.insert(QStringLiteral("version"), QStringLiteral("9"));
    QJsonObject version10 = oldApp;
    version10.insert(QStringLiteral("version"), QStringLiteral("10"));
    QJsonObject noVersion = oldApp;
    noVersion.remove(QStringLiteral("version"));
    QTest::newRow("app installed") << QJsonObject() << QString() << false;
    QTest::newRow("app missing: installed first")
        << QJsonObject{{QStringLiteral("installed"), false}} << QString() << true;
    // Android 10 and later would be read over the shell instead (test_shell_load).
    QTest::newRow("install refused, Android 9")
        << QJsonObject{{QStringLiteral("installed"), false},
                       {QStringLiteral("install"), QStringLiteral("fail")},
                       {QStringLiteral("props"), QJsonObject{{QStringLiteral("ro.build.version.sdk"), "28"}}}}
        << QCoreApplication::translate("AndroidConnectWithUSBThread",
                                       "Please go to Google Play on your Android Phone to download and install "
                                       "Quillbridge SMS Sync first and then try again. <br/><br/>Error:")
        << true;
    QTest::newRow("version 9") << QJsonObject{{QStringLiteral("info"), oldApp}} << tooOld << false;
    QTest::newRow("no version") << QJsonObject{{QStringLiteral("info"), noVersion}} << tooOld << false;
    QTest::newRow("version 10") << QJsonObject{{QStringLiteral("info"), version10}} << QString() << false;
    QTest::newRow("phone error") << QJsonObject{{QStringLiteral("fault"), QStringLiteral("error")}}
                                 << QStringLiteral("Please try the following:") << false;
    QTest::newRow("broadcast error") << QJsonObject{{QStringLiteral("broadcast"), QStringLiteral("error")}}
                                     << QStringLiteral("Please try the following:") << false;
}

void TestPhoneJobs::usbConnect()
{
    QFETCH(QJsonObject, changes);
    QFETCH(QString, error);
    QFETCH(bool, installs);
    QVERIFY(sim->plug(phoneWith(changes)));
    JobRecorder form;
    AndroidConnectWithUSBThread job(QStringLiteral("S1"), &form, nullptr);
    form.runToEnd(job);
    const bool installed = sim->adbCalls()
                               .filter(QRegularExpression(QStringLiteral("^-s S1 install .*smssync\\.apk$")))
                               .size() == 1;
    QCOMPARE(installed, installs);
    if (error.isEmpty()) {
        QCOMPARE(form.textsOf(QStringLiteral("errorOccurred")), QStringList());
        QCOMPARE(form.textsOf(QStringLiteral("succeed")), QStringList{QString()});
        QCOMPARE(job.device().model, QStringLiteral("Pixel Sim"));
        QCOMPARE(job.device().imei, QStringLiteral("350000000000001"));
        QCOMPARE(job.device().serial, QStringLiteral("S1"));
        return;
    }
    const QStringList errors = form.textsOf(QStringLiteral("errorOccurred"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(error), qPrintable(errors.first()));
    if (installs) {
        QVERIFY(errors.first().contains(QStringLiteral("INSTALL_FAILED_INSUFFICIENT_STORAGE")));
        QVERIFY(errors.first().endsWith(QStringLiteral(
            "This phone needs Android 10 or later, or the companion app Quillbridge SMS Sync.")));
    }
    QVERIFY(form.textsOf(QStringLiteral("succeed")).isEmpty());
}

void TestPhoneJobs::cancelWhileReadingPackagesInstallsNothing()
{
    QVERIFY(sim->plug(phoneWith({{QStringLiteral("installed"), false}})));
    JobRecorder form;
    form.cancelNow();
    AndroidConnectWithUSBThread job(QStringLiteral("S1"), &form, nullptr);
    form.runToEnd(job);
    QCOMPARE(form.calls.size(), 1); // the first status only
    QCOMPARE(sim->adbCalls().filter(QStringLiteral("install")), QStringList());
    QCOMPARE(sim->adbCalls().filter(QStringLiteral("broadcast")), QStringList());
}

void TestPhoneJobs::wifiConnect_data()
{
    QTest::addColumn<QString>("fault"); // empty: no phone listening
    QTest::addColumn<QString>("error"); // a pattern of the error text; empty: success
    QTest::newRow("accepted") << "none" << QString();
    QTest::newRow("refused by the user")
        << "refuse"
        << "^start device2://127\\.0\\.0\\.1:\\d+ failed\\.Connection refused by the user\\.$";
    QTest::newRow("nobody listening") << QString() << "^can not connect 127\\.0\\.0\\.1:44441\\.$";
}

// Over WiFi the app's control port is asked first; its answer decides.
void TestPhoneJobs::wifiConnect()
{
    QFETCH(QString, fault);
    QFETCH(QString, error);
    QProcess wifi;
    if (!fault.isEmpty()) {
        const QString file = sim->folder() + QStringLiteral("/wifi-phone.json");
        QFile json(file);
        QVERIFY(json.open(QIODevice::WriteOnly));
        json.write(QJsonDocument(phoneWith({{QStringLiteral("fault"), fault}})).toJson());
        json.close();
        wifi.start(qEnvironmentVariable("TEXTFERRY_PHONESIM"),
                   {QStringLiteral("wifi"), QStringLiteral("--phone"), file, QStringLiteral("--lifetime"),
                    QStringLiteral("60")});
        QVERIFY(wifi.waitForStarted());
        QTcpSocket probe; // the control port is up
        QTRY_VERIFY_WITH_TIMEOUT((probe.abort(), probe.connectToHost(QStringLiteral("127.0.0.1"), 44441),
                                  probe.waitForConnected(200)),
                                 10000);
        probe.abort();
    }
    JobRecorder form;
    AndroidConnectWithWiFiThread job(QStringLiteral("127.0.0.1"), &form, nullptr);
    form.runToEnd(job);
    wifi.kill();
    wifi.waitForFinished();
    if (error.isEmpty()) {
        QCOMPARE(form.textsOf(QStringLiteral("succeed")), QStringList{QString()});
        QCOMPARE(job.device().uid, QStringLiteral("sim-uid-1"));
        QVERIFY(job.device().isWifi);
        return;
    }
    const QStringList errors = form.textsOf(QStringLiteral("errorOccurred"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(QRegularExpression(error).match(errors.first()).hasMatch(), qPrintable(errors.first()));
}

// The old cache goes; every message arrives with its date and direction, the
// addresses normalised for the phone's country, one conversation per address.
void TestPhoneJobs::loadFillsTheCache()
{
    QJsonObject phone = PhoneSim::phone();
    phone.insert(QStringLiteral("messages"), threeMessages());
    phone.insert(QStringLiteral("batch"), 2);
    QVERIFY(sim->plug(phone));
    AndroidDevice record = PhoneSim::companionRecord();
    writeOneMessage(record.cacheDir(), QStringLiteral("from an earlier load"));

    JobRecorder form;
    AndroidLoadSMSThread job(&record, &form, nullptr);
    form.runToEnd(job);
    QCOMPARE(form.textsOf(QStringLiteral("errorOccurred")), QStringList());
    QCOMPARE(form.textsOf(QStringLiteral("succeed")), QStringList{QString()});
    QStringList progress;
    for (const auto& call : form.callsOf(QStringLiteral("updateProgress")))
        progress << call.progressText;
    QCOMPARE(progress, (QStringList{QString(), "sms: 1/3", "sms: 2/3", "sms: 3/3"}));

    const CacheContent cache = cacheOf(record);
    QCOMPARE(cache.texts, (QStringList{"hi", "hello", "yo"}));
    QCOMPARE(cache.chats, 2);
    const CountryInfo us = CountryLibDb(record.mmc).currentCountry();
    QStringList expected{normalizePhoneNumber(us, kAnn), normalizePhoneNumber(us, kBobNational)};
    QStringList addresses = cache.addresses;
    expected.sort();
    addresses.sort();
    QCOMPARE(addresses, expected);

    MessageSet set;
    IOS6MessageDb(QDir(record.cacheDir()), record.mmc).readMessages(set, 0);
    QCOMPARE(set.messages.first()->date, 21692800);
    QCOMPARE(set.messages.first()->is_from_me, 0);
    QCOMPARE(set.messages.value(set.messages.firstKey() + 1)->is_from_me, 1);
}

void TestPhoneJobs::loadFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("error"); // contained in the error text; empty: success
    QTest::addColumn<QStringList>("progress");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("success"); // the success text, when there is no error
    const QStringList none;
    QTest::newRow("count zero") << "count-zero" << QString()
                                << QStringList{"sms: 1/-1", "sms: 2/-1", "sms: 3/-1"} << 3 << "";
    QTest::newRow("five fields") << "five-fields" << QString()
                                 << QStringList{"sms: 1/3", "sms: 2/3", "sms: 3/3"} << 0
                                 << "3 messages from the phone could not be read and were skipped.";
    QTest::newRow("seven fields") << "seven-fields" << QString()
                                  << QStringList{"sms: 1/3", "sms: 2/3", "sms: 3/3"} << 3 << "";
    QTest::newRow("phone error") << "error"
                                 << "Simulated failure on the phone." << none << 0 << QString();
    QTest::newRow("closed mid-batch") << "close-mid-batch"
                                      << "closed" << QStringList{"sms: 1/3"} << 0 << QString();
    QTest::newRow("wrong first line")
        << "wrong-first-line"
        << "invalid feedback [HELLO], must be [$ready:]" << none << 0 << QString();
    QTest::newRow("endless line") << "endless-line"
                                  << "longer than 64 MB" << none << 0 << QString();
}

// Every fault ends in its error text and an empty cache; records that cannot
// be read are counted in the success text.
void TestPhoneJobs::loadFaults()
{
    QFETCH(QString, fault);
    QFETCH(QString, error);
    QFETCH(QStringList, progress);
    QFETCH(int, stored);
    QFETCH(QString, success);
    QJsonObject phone = PhoneSim::phone();
    phone.insert(QStringLiteral("messages"), threeMessages());
    phone.insert(QStringLiteral("batch"), 2);
    phone.insert(QStringLiteral("fault"), fault);
    phone.insert(QStringLiteral("faultExchange"), QStringLiteral("backup"));
    QVERIFY(sim->plug(phone));
    AndroidDevice record = PhoneSim::companionRecord();
    JobRecorder form;
    AndroidLoadSMSThread job(&record, &form, nullptr);
    form.runToEnd(job);
    QStringList texts;
    for (const auto& call : form.callsOf(QStringLiteral("updateProgress")).mid(1))
        texts << call.progressText;
    QCOMPARE(texts, progress);
    const QStringList errors = form.textsOf(QStringLiteral("errorOccurred"));
    if (error.isEmpty()) {
        QCOMPARE(errors, QStringList());
        QCOMPARE(form.textsOf(QStringLiteral("succeed")), QStringList{success});
    } else {
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(error, Qt::CaseInsensitive), qPrintable(errors.first()));
        QVERIFY(form.textsOf(QStringLiteral("succeed")).isEmpty());
    }
    QCOMPARE(cacheOf(record).messages, stored);
}

// A phone that stops in the middle of a batch and never answers again:
// Cancel ends the job within a second, and nothing of the load is kept.
void TestPhoneJobs::silentPhoneCancelsWithinASecond()
{
    QJsonObject phone = PhoneSim::phone();
    phone.insert(QStringLiteral("messages"), threeMessages());
    phone.insert(QStringLiteral("fault"), QStringLiteral("silent-mid-batch"));
    QVERIFY(sim->plug(phone));
    AndroidDevice record = PhoneSim::companionRecord();
    JobRecorder form;
    AndroidLoadSMSThread job(&record, &form, nullptr);
    // Connected, a record read, then the phone went silent.
    const qint64 ended = form.runThenCancel(job, 1500);
    QVERIFY2(ended >= 0 && ended < 1000, qPrintable(QString::number(ended)));
    QCOMPARE(form.textsOf(QStringLiteral("errorOccurred")), QStringList());
    QCOMPARE(form.textsOf(QStringLiteral("succeed")), QStringList());
    QCOMPARE(cacheOf(record).messages, 0);
}

// The phone names its cache folder: a hostile or overlong name never reaches
// another folder, and a cache folder that leads elsewhere is not deleted.
void TestPhoneJobs::hostileImeiTouchesOnlyItsOwnCache()
{
    const QString local = localDbDir().absoluteFilePath(QStringLiteral("X"));
    writeOneMessage(local, QStringLiteral("precious"));
    const QString localFile = IOS6MessageDb(QDir(local), QString()).databasePath();
    QFile file(localFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    QJsonObject phone = PhoneSim::phone();
    phone.insert(QStringLiteral("messages"), threeMessages());
    QVERIFY(sim->plug(phone));

    // An imei longer than any file name loads into a folder named by its beginning.
    for (const QString& imei : {QStringLiteral("../../local_databases/X"), QStringLiteral(".."),
                                QStringLiteral("linked"), QString(300, QLatin1Char('9'))}) {
        AndroidDevice record = PhoneSim::companionRecord();
        record.imei = imei;
        const QString caches = appDataDir().absoluteFilePath(QStringLiteral("android_cache"));
        if (imei == QLatin1String("linked")) {
            QVERIFY(QDir().mkpath(caches));
            QVERIFY(QFile::link(local, caches + QStringLiteral("/linked")));
        }
        JobRecorder form;
        AndroidLoadSMSThread job(&record, &form, nullptr);
        form.runToEnd(job);
        if (imei == QLatin1String("linked")) {
            QCOMPARE(form.textsOf(QStringLiteral("errorOccurred")).size(), 1);
        } else {
            QCOMPARE(form.textsOf(QStringLiteral("succeed")).size(), 1);
            QVERIFY(QFileInfo(record.cacheDir()).absolutePath() == QFileInfo(caches).absoluteFilePath());
            QCOMPARE(cacheOf(record).messages, 3);
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();
    }
}

QTEST_MAIN(TestPhoneJobs)
#include "test_phone_jobs.moc"
