// Sending messages to a phone against the simulator: batches and their
// acknowledgements, what is sent and what only counted, the default-app
// hint, and a target cache that holds exactly what the phone acknowledged.
#include "tests/kit/JobRecorder.h"
#include "tests/kit/PhoneSim.h"
#include "tests/kit/StoreTestKit.h"
#include "tests/kit/TestHome.h"

#include "android/AndroidDevice.h"
#include "android/AndroidRestoreSMSThread.h"
#include "store/ExportMessagesDb.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QtTest>

namespace {
int cachedCount(const AndroidDevice& record)
{
    MessageSet set;
    IOS6MessageDb(QDir(record.cacheDir()), record.mmc).readMessages(set, 0);
    return int(set.messages.size());
}

// The job's texts, read through the translation (installed by the test home).
QString successText(int count)
{
    return QCoreApplication::translate("AndroidRestoreSMSThread", "IDS_SUC_RESTORE_%1_SMS_TO_ANDROID").arg(count);
}
QString skippedText(int count)
{
    return QCoreApplication::translate("AndroidRestoreSMSThread", "IDS_SKIP_%1_SMS_GROUP_OR_SYS_MESSAGES")
        .arg(count);
}
} // namespace

class TestPhoneTransfer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void sendsInAcknowledgedBatches();
    void records_data();
    void records();
    void skipsWhatCannotGoAndWhatIsThere();
    void defaultSmsApp_data();
    void defaultSmsApp();
    void faults_data();
    void faults();
    void neverAcknowledgedCancelsWithinASecond();

private:
    // Messages with one correspondent, a minute apart, texts "m1", "m2", ...
    QList<_MsgMessage*> messages(int count);
    bool plug(const QJsonObject& changes = {});
    QList<QJsonObject> restored() const;
    QStringList batches() const;

    TestHome home;
    std::unique_ptr<PhoneSim> sim;
    Records records_;
};

void TestPhoneTransfer::initTestCase()
{
    sim = std::make_unique<PhoneSim>();
    QVERIFY(sim->isValid());
}

void TestPhoneTransfer::init()
{
    QVERIFY(sim->startAfresh());
    QDir(sim->folder() + QStringLiteral("/restored")).removeRecursively();
    records_.set.clear();
}

QList<_MsgMessage*> TestPhoneTransfer::messages(int count)
{
    _MsgHandle* ann = records_.handle(QStringLiteral("+15550000001"), QStringLiteral("Ann"));
    _MsgChat* chat = records_.singleChat(ann);
    QList<_MsgMessage*> list;
    for (int i = 1; i <= count; ++i)
        list << records_.message(chat, ann, 600000000 + i * 60, i % 2 == 0, QStringLiteral("m%1").arg(i));
    return list;
}

bool TestPhoneTransfer::plug(const QJsonObject& changes)
{
    QJsonObject phone = PhoneSim::phone();
    for (auto it = changes.begin(); it != changes.end(); ++it)
        phone.insert(it.key(), it.value());
    return sim->plug(phone);
}

QList<QJsonObject> TestPhoneTransfer::restored() const
{
    QFile file(sim->folder() + QStringLiteral("/restored/S1.jsonl"));
    QList<QJsonObject> lines;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (!line.isEmpty())
                lines << QJsonDocument::fromJson(line).object();
        }
    }
    return lines;
}

QStringList TestPhoneTransfer::batches() const
{
    QFile file(sim->folder() + QStringLiteral("/restored/S1.jsonl.batches"));
    return file.open(QIODevice::ReadOnly)
               ? QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts)
               : QStringList();
}

void TestPhoneTransfer::sendsInAcknowledgedBatches()
{
    QVERIFY(plug());
    AndroidDevice target = PhoneSim::companionRecord();
    JobRecorder form;
    AndroidRestoreSMSThread job(&target, messages(250), &form, nullptr);
    form.runToEnd(job);
    QCOMPARE(form.textsOf(QStringLiteral("errorOccurred")), QStringList());
    QCOMPARE(form.textsOf(QStringLiteral("succeed")), QStringList{successText(250)});
    QCOMPARE(batches(), (QStringList{"100", "100", "50"}));
    const QList<QJsonObject> lines = restored();
    QCOMPARE(lines.size(), 250);
    QCOMPARE(lines.first().value(QStringLiteral("body")).toString(), QStringLiteral("m1"));
    QCOMPARE(form.callsOf(QStringLiteral("updateProgress")).last().progressText,
             QStringLiteral("SMS: 250/250"));
    QCOMPARE(cachedCount(target), 250);
}

void TestPhoneTransfer::records_data()
{
    QTest::addColumn<int>("date");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("wireDate");
    QTest::addColumn<QString>("wireText");
    QTest::newRow("dated 0") << 0 << false << "hi" << qint64(978307200000) << "hi";
    QTest::newRow("placeholders removed, sent") << 100 << true << QStringLiteral("a\uFFFCb \u00e9\uFFFC")
                                                << qint64(978307300000) << QStringLiteral("ab \u00e9");
}

void TestPhoneTransfer::records()
{
    QFETCH(int, date);
    QFETCH(bool, sent);
    QFETCH(QString, text);
    QFETCH(qint64, wireDate);
    QFETCH(QString, wireText);
    QVERIFY(plug());
    _MsgHandle* bob = records_.handle(QStringLiteral("+15550000002"), QStringLiteral("Bob"));
    _MsgMessage* m = records_.message(records_.singleChat(bob), bob, date, sent, text);
    AndroidDevice target = PhoneSim::companionRecord();
    JobRecorder form;
    AndroidRestoreSMSThread job(&target, {m}, &form, nullptr);
    form.runToEnd(job);
    const QList<QJsonObject> lines = restored();
    QCOMPARE(lines.size(), 1);
    QCOMPARE(qint64(lines.first().value(QStringLiteral("date")).toDouble()), wireDate);
    QCOMPARE(lines.first().value(QStringLiteral("sent")).toInt(), sent ? 1 : 0);
    QCOMPARE(lines.first().value(QStringLiteral("address")).toString(), bob->id);
    QCOMPARE(lines.first().value(QStringLiteral("body")).toString(), wireText);
}

// System messages and messages without a correspondent are counted and
// reported; one the target's cache holds is counted and written, not sent.
void TestPhoneTransfer::skipsWhatCannotGoAndWhatIsThere()
{
    QVERIFY(plug());
    QList<_MsgMessage*> list = messages(3);
    AndroidDevice target = PhoneSim::companionRecord();
    StoreTestKit::writeMessages(QDir(target.cacheDir()), {list.at(1)});
    _MsgMessage* system = records_.message(list.first()->chat, list.first()->handle, 600000100, false,
                                           QStringLiteral("renamed"), 2);
    _MsgMessage* anonymous =
        records_.message(list.first()->chat, nullptr, 600000200, false, QStringLiteral("?"));
    list << system << anonymous;
    JobRecorder form;
    AndroidRestoreSMSThread job(&target, list, &form, nullptr);
    form.runToEnd(job);
    QCOMPARE(form.textsOf(QStringLiteral("succeed")), QStringList{successText(3) + skippedText(2)});
    QStringList sent;
    for (const QJsonObject& line : restored())
        sent << line.value(QStringLiteral("body")).toString();
    QCOMPARE(sent, (QStringList{"m1", "m3"}));
    QCOMPARE(cachedCount(target), 3);

    // Nothing left to send: no batch at all, only the counts.
    JobRecorder again;
    AndroidRestoreSMSThread empty(&target, {system, anonymous}, &again, nullptr);
    QVERIFY(QFile::remove(sim->folder() + QStringLiteral("/restored/S1.jsonl.batches")));
    again.runToEnd(empty);
    QCOMPARE(again.textsOf(QStringLiteral("succeed")), QStringList{successText(0) + skippedText(2)});
    QCOMPARE(batches(), QStringList());
}

void TestPhoneTransfer::defaultSmsApp_data()
{
    QTest::addColumn<bool>("needed");
    QTest::newRow("not needed") << false;
    QTest::newRow("needed: the hint first") << true;
}

void TestPhoneTransfer::defaultSmsApp()
{
    QFETCH(bool, needed);
    QVERIFY(plug({{QStringLiteral("defsmsapp"), needed}}));
    AndroidDevice target = PhoneSim::companionRecord();
    JobRecorder form;
    AndroidRestoreSMSThread job(&target, messages(2), &form, nullptr);
    form.runToEnd(job);
    QCOMPARE(form.textsOf(QStringLiteral("tipsWait")).size(), needed ? 1 : 0);
    if (needed)
        QVERIFY(form.textsOf(QStringLiteral("tipsWait"))
                    .first()
                    .startsWith(QStringLiteral("Please click \"YES\"")));
    QCOMPARE(form.textsOf(QStringLiteral("succeed")), QStringList{successText(2)});
    QCOMPARE(restored().size(), 2);
}

void TestPhoneTransfer::faults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("error"); // contained in the error text
    QTest::addColumn<int>("cached");    // the batches the phone acknowledged
    QTest::newRow("error before the first batch") << "error"
                                                  << "Simulated failure on the phone." << 0;
    QTest::newRow("second batch answered with an error") << "ack-error"
                                                         << "Simulated failure on the phone." << 100;
    QTest::newRow("second batch answered with a wrong tag")
        << "wrong-ack"
        << "invalid feedback [$bye:], must be [$batch:]" << 100;
    QTest::newRow("connection closed in the second batch") << "close-mid-batch"
                                                           << "closed" << 100;
}

// Only batches the phone acknowledged end up in the cache: nothing it did not
// receive is ever taken for delivered.
void TestPhoneTransfer::faults()
{
    QFETCH(QString, fault);
    QFETCH(QString, error);
    QFETCH(int, cached);
    QVERIFY(plug({{QStringLiteral("fault"), fault},
                  {QStringLiteral("faultExchange"), QStringLiteral("restore")},
                  {QStringLiteral("faultBatch"), 2}}));
    AndroidDevice target = PhoneSim::companionRecord();
    JobRecorder form;
    AndroidRestoreSMSThread job(&target, messages(250), &form, nullptr);
    form.runToEnd(job);
    const QStringList errors = form.textsOf(QStringLiteral("errorOccurred"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(error, Qt::CaseInsensitive), qPrintable(errors.first()));
    QCOMPARE(cachedCount(target), cached);
}

void TestPhoneTransfer::neverAcknowledgedCancelsWithinASecond()
{
    QVERIFY(plug({{QStringLiteral("fault"), QStringLiteral("never-ack")},
                  {QStringLiteral("faultExchange"), QStringLiteral("restore")},
                  {QStringLiteral("faultBatch"), 2}}));
    AndroidDevice target = PhoneSim::companionRecord();
    JobRecorder form;
    AndroidRestoreSMSThread job(&target, messages(250), &form, nullptr);
    // The first batch acknowledged, the second waiting.
    const qint64 ended = form.runThenCancel(job, 1500);
    QVERIFY2(ended >= 0 && ended < 1000, qPrintable(QString::number(ended)));
    QCOMPARE(form.textsOf(QStringLiteral("errorOccurred")), QStringList());
    QCOMPARE(form.textsOf(QStringLiteral("succeed")), QStringList());
    QCOMPARE(cachedCount(target), 100);
}

QTEST_MAIN(TestPhoneTransfer)
#include "test_phone_transfer.moc"
