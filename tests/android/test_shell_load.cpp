// Phones without the companion app, read over the adb shell: the route the
// USB connect job chooses, and the shell load job against the simulator's
// providers with their faults (hex refused, unplugged mid-read, a stalled
// stream, Cancel).
#include "tests/kit/JobRecorder.h"
#include "tests/kit/PhoneSim.h"
#include "tests/kit/TestHome.h"

#include "android/AndroidConnectWithUSBThread.h"
#include "android/AndroidShellLoadSMSThread.h"
#include "country/CountryLibDb.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageSet.h"
#include "store/MsgHandle.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QtTest>

namespace {

const QString kAnn = QStringLiteral("+15550000001");
const QString kBobNational = QStringLiteral("(555) 000-0002");

// A phone that refuses the stand-in package as a real phone does.
QJsonObject shellPhone(const QJsonObject& changes = {})
{
    QJsonObject phone = PhoneSim::phone();
    phone.insert(QStringLiteral("installed"), false);
    phone.insert(QStringLiteral("install"), QStringLiteral("not-apk"));
    phone.insert(
        QStringLiteral("messages"),
        QJsonArray{PhoneSim::message(1000000000000, false, kAnn, QStringLiteral("Ann"),
                                     QStringLiteral("hi, x=1\nRow: 1 _id=2, date=5, body=forged")),
                   PhoneSim::message(1000000060000, true, kAnn, QStringLiteral("Ann"),
                                     QString::fromUtf8("h\u00e9 \U0001F600")),
                   QJsonObject{{"date", 1000000090000.0},
                               {"type", 1},
                               {"smsType", 3},
                               {"address", kAnn},
                               {"body", "a draft"}},
                   PhoneSim::message(1000000120000, false, kBobNational, QString(), QStringLiteral("yo"))});
    // Bob's number is written another way in his contact card.
    phone.insert(QStringLiteral("contacts"),
                 QJsonArray{QJsonObject{{"number", kAnn}, {"name", "Ann"}},
                            QJsonObject{{"number", "555-000-0002"}, {"name", "Bob"}}});
    for (auto it = changes.begin(); it != changes.end(); ++it)
        phone.insert(it.key(), it.value());
    return phone;
}

AndroidDevice shellRecord()
{
    AndroidDevice record;
    record.serial = QStringLiteral("S1");
    record.viaAdbShell = true;
    record.uid = QStringLiteral("adb-shell:S1");
    record.manufacturer = QStringLiteral("Quillbridge");
    record.model = QStringLiteral("Pixel Sim");
    record.mmc = QStringLiteral("310");
    return record;
}

// Every message of the cache as "text|from me|name|date", in row order.
QStringList cacheOf(const AndroidDevice& record)
{
    MessageSet set;
    IOS6MessageDb(QDir(record.cacheDir()), record.mmc).readMessages(set, 0);
    QStringList messages;
    for (const _MsgMessage* m : std::as_const(set.messages)) {
        messages << QStringLiteral("%1|%2|%3|%4")
                        .arg(m->text)
                        .arg(m->is_from_me)
                        .arg(m->handle ? m->handle->_ct_name : QString())
                        .arg(m->date);
    }
    return messages;
}

QByteArray cacheBytes(const AndroidDevice& record)
{
    QFile file(IOS6MessageDb(QDir(record.cacheDir()), record.mmc).databasePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList progressTexts(const JobRecorder& form)
{
    QStringList texts;
    for (const auto& call : form.callsOf(QStringLiteral("updateProgress")).mid(1))
        texts << call.progressText;
    return texts;
}

} // namespace

class TestShellLoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void routeChoice_data();
    void routeChoice();
    void loadReadsMessagesAndNames();
    void hexRefusedGivesTheSameRecords();
    void faultsKeepTheOldCache_data();
    void faultsKeepTheOldCache();
    void cancelEndsWithinASecond();

private:
    // Loads the plugged phone into its cache; the recorder's error texts.
    QStringList load(AndroidDevice& record, int stallLimitMs = kAdbStallLimitMs);

    TestHome home;
    std::unique_ptr<PhoneSim> sim;
};

void TestShellLoad::initTestCase()
{
    sim = std::make_unique<PhoneSim>();
    QVERIFY(sim->isValid());
}

void TestShellLoad::init()
{
    QVERIFY(sim->startAfresh());
}

QStringList TestShellLoad::load(AndroidDevice& record, int stallLimitMs)
{
    JobRecorder form;
    AndroidShellLoadSMSThread job(&record, &form, nullptr);
    job.setStallLimitMs(stallLimitMs);
    form.runToEnd(job);
    return form.textsOf(QStringLiteral("errorOccurred"));
}

void TestShellLoad::routeChoice_data()
{
    QTest::addColumn<QJsonObject>("phone");
    QTest::addColumn<bool>("viaShell");
    QTest::addColumn<QString>("mmc");
    QTest::addColumn<QString>("error"); // contained in the error text; empty: success
    const auto props = [](const char* sdk, const char* operators) {
        return QJsonObject{{"props", QJsonObject{{"ro.build.version.sdk", sdk},
                                                 {"gsm.sim.operator.numeric", operators},
                                                 {"ro.build.version.release", "12"}}}};
    };
    QTest::newRow("app installed: companion") << PhoneSim::phone() << false << "310" << QString();
    QTest::newRow("SDK 33 refuses the package: shell") << shellPhone() << true << "310" << QString();
    QTest::newRow("two SIMs") << shellPhone(props("31", "23410,310260")) << true << "234" << QString();
    QTest::newRow("no SIM") << shellPhone(props("29", "")) << true << QString() << QString();
    QTest::newRow("SDK 28: the install error")
        << shellPhone(props("28", "310260")) << false << QString()
        << "<br/><br/>This phone needs Android 10 or later, or the companion app Quillbridge SMS Sync.";
}

// A phone keeps the companion route while it has the app; one that refuses
// the package is read over the shell from Android 10 on.
void TestShellLoad::routeChoice()
{
    QFETCH(QJsonObject, phone);
    QFETCH(bool, viaShell);
    QFETCH(QString, mmc);
    QFETCH(QString, error);
    QVERIFY(sim->plug(phone));
    JobRecorder form;
    AndroidConnectWithUSBThread job(QStringLiteral("S1"), &form, nullptr);
    form.runToEnd(job);
    const QStringList errors = form.textsOf(QStringLiteral("errorOccurred"));
    if (!error.isEmpty()) {
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().endsWith(error), qPrintable(errors.first()));
        QVERIFY(errors.first().startsWith(QCoreApplication::translate(
            "AndroidConnectWithUSBThread", "Please go to Google Play on your Android Phone to download and install "
                                           "Quillbridge SMS Sync first and then try again. <br/><br/>Error:")));
        QVERIFY(errors.first().contains(QStringLiteral("Failure [INSTALL_PARSE_FAILED_NOT_APK")));
        return;
    }
    QCOMPARE(errors, QStringList());
    QCOMPARE(form.textsOf(QStringLiteral("succeed")), QStringList{QString()});
    const AndroidDevice& record = job.device();
    QCOMPARE(record.viaAdbShell, viaShell);
    QCOMPARE(record.mmc, mmc);
    QCOMPARE(record.displayName(), QStringLiteral("Quillbridge Pixel Sim"));
    const QStringList getprops = sim->adbCalls().filter(QStringLiteral(" getprop "));
    if (!viaShell) {
        QCOMPARE(getprops, QStringList());
        return;
    }
    QCOMPARE(record.uid, QStringLiteral("adb-shell:S1"));
    QCOMPARE(getprops.size(), 5); // one call per property
    QCOMPARE(sim->adbCalls().filter(QStringLiteral("shell pm")),
             (QStringList{"-s S1 shell pm -l", "-s S1 shell pm list packages"}));
}

// Counts, directions, drafts left out, names by normalised number, the
// country's normalisation, and the exact command lines.
void TestShellLoad::loadReadsMessagesAndNames()
{
    QVERIFY(sim->plug(shellPhone()));
    AndroidDevice record = shellRecord();
    JobRecorder form;
    AndroidShellLoadSMSThread job(&record, &form, nullptr);
    form.runToEnd(job);
    QCOMPARE(form.textsOf(QStringLiteral("errorOccurred")), QStringList());
    QCOMPARE(form.textsOf(QStringLiteral("succeed")), QStringList{QString()});
    QCOMPARE(form.callsOf(QStringLiteral("updateProgress")).first().text, QStringLiteral("Loading SMS..."));
    QCOMPARE(progressTexts(form), (QStringList{"sms: 1/3", "sms: 2/3", "sms: 3/3"}));
    QCOMPARE(form.callsOf(QStringLiteral("updateProgress")).last().progress, 100);

    QCOMPARE(cacheOf(record),
             (QStringList{"hi, x=1\nRow: 1 _id=2, date=5, body=forged|0|Ann|21692800",
                          QString::fromUtf8("h\u00e9 \U0001F600|1|Ann|21692860"), "yo|0|Bob|21692920"}));
    MessageSet set;
    IOS6MessageDb(QDir(record.cacheDir()), record.mmc).readMessages(set, 0);
    const CountryInfo us = CountryLibDb(record.mmc).currentCountry();
    QStringList addresses;
    for (const _MsgHandle* h : std::as_const(set.handles))
        addresses << h->id;
    addresses.sort();
    QStringList expected{normalizePhoneNumber(us, kAnn), normalizePhoneNumber(us, kBobNational)};
    expected.sort();
    QCOMPARE(addresses, expected);
    QStringList calls = sim->adbCalls(); // the queries overlap: their order is the phone's
    calls.sort();
    QCOMPARE(calls,
             (QStringList{
                 "-s S1 shell content query --uri content://com.android.contacts/data/phones --projection "
                 "'_id:hex(data1):hex(display_name)' --sort \"_id ASC\"",
                 "-s S1 shell content query --uri content://sms --projection "
                 "'_id:date:type:read:hex(address):hex(subject):hex(body)' --sort \"_id ASC\"",
                 "-s S1 shell content query --uri content://sms --projection _id --sort \"_id ASC\""}));
    QVERIFY(!QFileInfo::exists(record.cacheDir() + QStringLiteral(".__loading")));
}

// A provider that refuses hex(): the text as stored, records anchored at the
// counted ids, and the same messages as with hex.
void TestShellLoad::hexRefusedGivesTheSameRecords()
{
    QVERIFY(sim->plug(shellPhone()));
    AndroidDevice record = shellRecord();
    QCOMPARE(load(record), QStringList());
    const QStringList withHex = cacheOf(record);
    QVERIFY(sim->update(shellPhone({{"shellFault", "no-hex"}})));
    sim->forgetAdbCalls();
    QCOMPARE(load(record), QStringList());
    QCOMPARE(cacheOf(record), withHex);
    QCOMPARE(sim->adbCalls().filter(QStringLiteral("'_id:date:type:read:address:subject:body'")).size(), 1);
    QCOMPARE(sim->adbCalls().filter(QStringLiteral("'_id:data1:display_name'")).size(), 1);
}

void TestShellLoad::faultsKeepTheOldCache_data()
{
    QTest::addColumn<QJsonObject>("fault");
    QTest::addColumn<QString>("error");
    QTest::newRow("unplugged mid-read")
        << QJsonObject{{"shellFault", "unplug-mid-stream"}, {"shellFaultRow", 1}}
        << "The phone Quillbridge Pixel Sim stopped sending after 1 of 3 messages (unplugged?). Its previous "
           "messages are kept.";
    QTest::newRow("stalled stream")
        << QJsonObject{{"shellFault", "stall"}, {"shellFaultRow", 2}}
        << "The phone Quillbridge Pixel Sim stopped answering after 2 messages. Its "
           "previous messages are kept.";
}

// A load that fails midway leaves the cache of the previous load byte for byte.
void TestShellLoad::faultsKeepTheOldCache()
{
    QFETCH(QJsonObject, fault);
    QFETCH(QString, error);
    QVERIFY(sim->plug(shellPhone()));
    AndroidDevice record = shellRecord();
    QCOMPARE(load(record), QStringList());
    const QByteArray before = cacheBytes(record);
    QVERIFY(!before.isEmpty());
    QVERIFY(sim->update(shellPhone(fault)));
    QCOMPARE(load(record, 1000), QStringList{error});
    QCOMPARE(cacheBytes(record), before);
    QVERIFY(!QFileInfo::exists(record.cacheDir() + QStringLiteral(".__loading")));
}

// Cancel while the phone has stopped sending: adb is killed and the job ends
// within a second, without a message and with the old cache.
void TestShellLoad::cancelEndsWithinASecond()
{
    QVERIFY(sim->plug(shellPhone()));
    AndroidDevice record = shellRecord();
    QCOMPARE(load(record), QStringList());
    const QByteArray before = cacheBytes(record);
    QVERIFY(sim->update(shellPhone({{"shellFault", "stall"}, {"shellFaultRow", 1}})));
    JobRecorder form;
    AndroidShellLoadSMSThread job(&record, &form, nullptr);
    // The first message read, then the phone went quiet.
    const qint64 ended = form.runThenCancel(job, 1500);
    QVERIFY2(ended >= 0 && ended < 1500, qPrintable(QString::number(ended)));
    QCOMPARE(form.textsOf(QStringLiteral("errorOccurred")), QStringList());
    QCOMPARE(form.textsOf(QStringLiteral("succeed")), QStringList());
    QCOMPARE(cacheBytes(record), before);
}

QTEST_MAIN(TestShellLoad)
#include "test_shell_load.moc"
