// The WiFi connection dialog against the simulator's control port on a
// loopback address of its own: the address checks, a refusal with its
// reason, a silent host cancelled, and a phone that answers.
#include "tests/kit/PhoneSim.h"
#include "tests/kit/TestHome.h"

#include "android/forms/AndroidWIFIForm.h"
#include "tests/kit/ModalDriver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {
const QString kPhoneHost = QStringLiteral("127.0.0.2");
// Read through the translation, which the test home installs.
QString inputError()
{
    return QCoreApplication::translate("AndroidWIFIForm", "IDS_WIFI_SOCK_WRONG_FOR_EXAMPLE");
}

// Types the address, presses Connect once the dialog runs, lets `then` answer
// what follows, and returns the dialog's result.
int runDialog(AndroidWIFIForm& form, const QString& address)
{
    form.findChild<QLineEdit*>(QStringLiteral("txtWifiSocket"))->setText(address);
    QTimer::singleShot(0, &form,
                       [&form] { form.findChild<QPushButton*>(QStringLiteral("btnConnect"))->click(); });
    return form.exec();
}

void closeDialogAfterwards(ModalDriver& driver)
{
    driver.answerByName(QStringLiteral("btnClose"));
}
} // namespace

class TestWifiDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void addressChecks_data();
    void addressChecks();
    void refusalShowsItsReason();
    void silentHostIsCancelled();
    void phoneAnswers();

private:
    void startPhone(const QString& fault);

    TestHome home;
    std::unique_ptr<PhoneSim> sim;
    QProcess wifi;
};

void TestWifiDialog::initTestCase()
{
    QVERIFY(installEnglishTranslation());
    sim = std::make_unique<PhoneSim>();
}

void TestWifiDialog::cleanupTestCase()
{
    wifi.kill();
    wifi.waitForFinished();
}

void TestWifiDialog::startPhone(const QString& fault)
{
    wifi.kill();
    wifi.waitForFinished();
    QJsonObject phone = PhoneSim::phone(QStringLiteral("W1"));
    phone.insert(QStringLiteral("fault"), fault);
    const QString file = sim->folder() + QStringLiteral("/wifi-phone.json");
    QFile json(file);
    QVERIFY(json.open(QIODevice::WriteOnly | QIODevice::Truncate));
    json.write(QJsonDocument(phone).toJson());
    json.close();
    wifi.start(qEnvironmentVariable("TEXTFERRY_PHONESIM"),
               {QStringLiteral("wifi"), QStringLiteral("--phone"), file, QStringLiteral("--host"), kPhoneHost,
                QStringLiteral("--lifetime"), QStringLiteral("120")});
    QVERIFY(wifi.waitForStarted());
    QTcpSocket probe;
    QTRY_VERIFY_WITH_TIMEOUT(
        (probe.abort(), probe.connectToHost(kPhoneHost, 44441), probe.waitForConnected(200)), 10000);
}

void TestWifiDialog::addressChecks_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("a port after the address") << "127.0.0.2:44441";
    QTest::newRow("a name") << "phone.local";
    QTest::newRow("three groups") << "127.0.2";
    QTest::newRow("empty") << "   ";
}

void TestWifiDialog::addressChecks()
{
    QFETCH(QString, address);
    AndroidWIFIForm form;
    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    closeDialogAfterwards(driver);
    QCOMPARE(runDialog(form, address), int(QDialog::Rejected));
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts().first(), inputError());
}

void TestWifiDialog::refusalShowsItsReason()
{
    startPhone(QStringLiteral("refuse"));
    AndroidWIFIForm form;
    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    closeDialogAfterwards(driver); // the dialog stays open for another try
    QCOMPARE(runDialog(form, QStringLiteral(" 127.0.0.2 ")), int(QDialog::Rejected));
    QVERIFY(driver.waitUntilDone());
    QVERIFY2(driver.texts().first().contains(QStringLiteral("failed.Connection refused by the user.")),
             qPrintable(driver.texts().first()));
}

// A host that accepts the connection and then says nothing: Cancel ends the
// attempt at once and the dialog stays open.
void TestWifiDialog::silentHostIsCancelled()
{
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress(QStringLiteral("127.0.0.3")), 44441));
    AndroidWIFIForm form;
    ModalDriver driver;
    QElapsedTimer clock;
    driver.answerWith(
        [&clock](QWidget* progress) {
            QTimer::singleShot(500, progress, [progress, &clock] {
                clock.start();
                progress->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
            });
        },
        [](QWidget* w) { return w->objectName() == QLatin1String("ProgressForm"); },
        QStringLiteral("progress"));
    closeDialogAfterwards(driver);
    QCOMPARE(runDialog(form, QStringLiteral("127.0.0.3")), int(QDialog::Rejected));
    QVERIFY(driver.waitUntilDone());
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
}

void TestWifiDialog::phoneAnswers()
{
    startPhone(QStringLiteral("none"));
    AndroidWIFIForm form;
    QCOMPARE(runDialog(form, kPhoneHost), int(QDialog::Accepted));
    QVERIFY(form.device.isWifi);
    QCOMPARE(form.device.host, kPhoneHost);
    QCOMPARE(form.device.port, 44441);
    QCOMPARE(form.device.uid, QStringLiteral("sim-uid-1"));
    QCOMPARE(form.device.deviceId(), QStringLiteral("sim-uid-1"));
}

QTEST_MAIN(TestWifiDialog)
#include "test_wifi_dialog.moc"
