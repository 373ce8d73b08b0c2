// The main window with simulated phones, end to end through its widgets: a
// phone plugged in and out, transfers between phones and from a local
// database, a phone without the companion app read over the adb shell, and a
// WiFi phone whose country the user picks.
#include "tests/kit/PhoneSim.h"
#include "tests/kit/TestHome.h"
#include "tests/kit/WindowTestKit.h"

#include "app/MainWindow.h"
#include "app/messages/ItemModelSms.h"
#include "app/tree/ItemModelMain.h"
#include "base/AppDirs.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageText.h"
#include "tests/kit/ModalDriver.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTcpSocket>
#include <QtTest>

namespace {
// The transfer's success text, read through the translation.
QString transferred(int count)
{
    return QCoreApplication::translate("AndroidRestoreSMSThread", "IDS_SUC_RESTORE_%1_SMS_TO_ANDROID").arg(count);
}

QJsonObject phoneWithMessages(const QString& serial, const QString& model, const QString& number,
                              const QStringList& texts)
{
    QJsonObject phone = PhoneSim::phone(serial);
    QJsonObject info = phone.value(QStringLiteral("info")).toObject();
    info.insert(QStringLiteral("model"), model);
    info.insert(QStringLiteral("uid"), QString(QStringLiteral("uid-") + serial));
    info.insert(QStringLiteral("imei"), QString(QStringLiteral("35000000000000") + serial.right(1)));
    phone.insert(QStringLiteral("info"), info);
    QJsonArray messages;
    for (int i = 0; i < texts.size(); ++i) {
        messages.append(PhoneSim::message(1600000000000 + i * 60000, i % 2 == 1, number,
                                          QStringLiteral("Contact ") + number.right(2), texts.at(i)));
    }
    phone.insert(QStringLiteral("messages"), messages);
    return phone;
}

QStringList restoredBodies(const PhoneSim& sim, const QString& serial)
{
    QFile file(sim.folder() + QStringLiteral("/restored/") + serial + QStringLiteral(".jsonl"));
    QStringList bodies;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (!line.isEmpty())
                bodies << QJsonDocument::fromJson(line).object().value(QStringLiteral("body")).toString();
        }
    }
    return bodies;
}

// Answers the device picker: records its entries, chooses `choice`, confirms.
void answerPicker(ModalDriver& driver, const QString& choice, QStringList* offered)
{
    driver.answerWith(
        [choice, offered](QWidget* picker) {
            auto* combo = picker->findChild<QComboBox*>(QStringLiteral("cbDevice"));
            for (int i = 0; i < combo->count(); ++i)
                *offered << combo->itemText(i);
            combo->setCurrentIndex(combo->findText(choice));
            picker->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        },
        [](QWidget* w) { return w->objectName() == QLatin1String("DataSourceSelForm"); },
        QStringLiteral("picker"));
}

// Each message's text with the name of its correspondent.
QStringList textsWithContacts(const QList<_MsgMessage*>& messages)
{
    QStringList entries;
    for (const _MsgMessage* m : messages)
        entries << m->text.toString() + QStringLiteral(" / ") +
                       (m->handle ? m->handle->_ct_name : QStringLiteral("(none)"));
    entries.sort();
    return entries;
}

// The entry whose text is the translation of the key (context QObject); the
// test fails, rather than crashes, when there is none.
QAction* menuEntry(QMenu* menu, const char* key)
{
    const QString text = QCoreApplication::translate("QObject", key);
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    static QAction none;
    qWarning("No menu entry %s", qPrintable(text));
    none.setEnabled(false);
    return &none;
}
} // namespace

class TestWindowPhones : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void phonePluggedInAppearsAndLeaves();
    void transfers();
    void phoneWithoutCompanionIsReadOnly();
    void clearCacheThenTransfer();
    void wifiPhoneWithoutCountry();

private:
    TestHome home;
    std::unique_ptr<PhoneSim> sim;
};

void TestWindowPhones::initTestCase()
{
    sim = std::make_unique<PhoneSim>();
}

void TestWindowPhones::init()
{
    resetDataFolder();
    for (const char* serial : {"S1", "S2"})
        QVERIFY(sim->unplug(QLatin1String(serial)));
}

// The whole way of a phone: the monitor sees it, the connect and load jobs
// run under their dialogs, the phone shows with its conversations and leaves
// when it is unplugged.
void TestWindowPhones::phonePluggedInAppearsAndLeaves()
{
    QJsonObject phone = PhoneSim::phone();
    phone.insert(QStringLiteral("messages"),
                 QJsonArray{PhoneSim::message(1600000000000, false, QStringLiteral("+15550000001"),
                                              QStringLiteral("Ann"), QStringLiteral("first")),
                            PhoneSim::message(1600000060000, true, QStringLiteral("+15550000001"),
                                              QStringLiteral("Ann"), QStringLiteral("second")),
                            PhoneSim::message(1600000120000, false, QStringLiteral("+15550000002"),
                                              QStringLiteral("Bob"), QStringLiteral("third"))});
    QVERIFY(sim->plug(phone));
    ModalDriver driver;
    driver.rejectEveryBox();
    MainWindow window;
    Node* devices = treeModelOf(window)->deviceRoot();
    QTRY_COMPARE_WITH_TIMEOUT(childNames(devices), QStringList{"Quillbridge Pixel Sim"}, 20000);
    QCOMPARE(childNames(devices->children.first()), (QStringList{"Bob", "Ann"}));
    QTRY_COMPARE(currentTreeNode(window), devices->children.first());
    QCOMPARE(counterText(window), QStringLiteral("SMS: 3"));

    QVERIFY(sim->unplug(QStringLiteral("S1")));
    QTRY_COMPARE_WITH_TIMEOUT(childNames(devices), QStringList(), 10000);
    QCOMPARE(listModelOf(window)->rowCount(), 0);
    QCOMPARE(driver.texts().filter(QStringLiteral("An Error Occurred")), QStringList());
}

// A conversation and a selection from one phone to the other, and a local
// database's conversation to a phone; each picker offers the right phones.
void TestWindowPhones::transfers()
{
    writeStandardSources(0);
    QVERIFY(sim->plug(phoneWithMessages(QStringLiteral("S1"), QStringLiteral("One"),
                                        QStringLiteral("+15550000011"), {"one a", "one b", "one c"})));
    QVERIFY(sim->plug(phoneWithMessages(QStringLiteral("S2"), QStringLiteral("Two"),
                                        QStringLiteral("+15550000022"), {"two a"})));
    MainWindow window;
    Node* devices = treeModelOf(window)->deviceRoot();
    QTRY_COMPARE_WITH_TIMEOUT(childNames(devices).size(), 2, 30000);
    QTest::qWait(200); // the second phone's selection settles

    // A conversation of phone One goes to phone Two.
    ModalDriver driver;
    QStringList offered;
    selectNode(window, childNamed(devices, QStringLiteral("Quillbridge One"))->children.first());
    std::unique_ptr<QMenu> menu(window.createTreeContextMenu());
    answerPicker(driver, QStringLiteral("Quillbridge Two"), &offered);
    driver.answer(QMessageBox::Ok);
    menuEntry(menu.get(), "Transfer SMS with this contact to other Android")->trigger();
    QVERIFY2(driver.waitUntilDone(30000), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(offered, QStringList{"Quillbridge Two"});
    QCOMPARE(driver.texts().last(), transferred(3));
    QCOMPARE(restoredBodies(*sim, QStringLiteral("S2")), (QStringList{"one a", "one b", "one c"}));
    Node* two = childNamed(devices, QStringLiteral("Quillbridge Two"));
    QTRY_COMPARE(currentTreeNode(window), two);
    QCOMPARE(childNames(two).size(), 2); // its own conversation and the one received

    // Two selected rows of phone One.
    selectNode(window, childNamed(devices, QStringLiteral("Quillbridge One")));
    selectRows(window, {0, 2});
    offered.clear();
    answerPicker(driver, QStringLiteral("Quillbridge Two"), &offered);
    driver.answer(QMessageBox::Ok);
    window.miA2ASel();
    QVERIFY2(driver.waitUntilDone(30000), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(driver.texts().last(), transferred(2));

    // A local database's conversation: both phones are offered.
    selectNode(window, QStringLiteral("conv:Alpha/Alice Smith"));
    offered.clear();
    answerPicker(driver, QStringLiteral("Quillbridge One"), &offered);
    driver.answer(QMessageBox::Ok);
    window.miDb2AChat();
    QVERIFY2(driver.waitUntilDone(30000), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    offered.sort();
    QCOMPARE(offered, (QStringList{"Quillbridge One", "Quillbridge Two"}));
    QCOMPARE(driver.texts().last(),
             transferred(int(kAlice.texts.size())));
    QCOMPARE(restoredBodies(*sim, QStringLiteral("S1")), kAlice.texts);
}

// A phone that refuses the companion app's package on Android 10+: it is
// read over the adb shell, shows with its conversations and names, says so,
// and refuses to be written to.
void TestWindowPhones::phoneWithoutCompanionIsReadOnly()
{
    writeStandardSources(0);
    QJsonObject phone = phoneWithMessages(QStringLiteral("S1"), QStringLiteral("Plain"),
                                          QStringLiteral("+15550000011"), {"one a", "one b"});
    QJsonArray messages = phone.value(QStringLiteral("messages")).toArray();
    messages.append(PhoneSim::message(1600000200000, false, QStringLiteral("+15550000022"),
                                      QStringLiteral("Contact 22"), QStringLiteral("two a")));
    phone.insert(QStringLiteral("messages"), messages);
    phone.insert(QStringLiteral("installed"), false);
    phone.insert(QStringLiteral("install"), QStringLiteral("not-apk"));
    sim->forgetAdbCalls();
    QVERIFY(sim->plug(phone));
    MainWindow window;
    Node* devices = treeModelOf(window)->deviceRoot();
    QTRY_COMPARE_WITH_TIMEOUT(childNames(devices), QStringList{"Quillbridge Plain"}, 20000);
    Node* node = devices->children.first();
    QCOMPARE(childNames(node), (QStringList{"Contact 22", "Contact 11"}));
    QTRY_COMPARE(counterText(window), QStringLiteral("SMS: 3"));
    const QString note = QStringLiteral("Read over USB without the companion app");
    QCOMPARE(treeModelOf(window)->indexOfNode(node).data(Qt::ToolTipRole).toString(),
             QStringLiteral("Quillbridge Plain\n") + note);
    QCOMPARE(window.findChild<QStatusBar*>(QStringLiteral("statusBar"))->currentMessage(),
             QStringLiteral("Quillbridge Plain: ") + note);
    QCOMPARE(sim->adbCalls().filter(QStringLiteral("shell content query")).size(), 3);

    // A local database's conversation offered to it: refused, nothing sent.
    ModalDriver driver;
    QStringList offered;
    selectNode(window, QStringLiteral("conv:Alpha/Alice Smith"));
    answerPicker(driver, QStringLiteral("Quillbridge Plain"), &offered);
    driver.answer(QMessageBox::Ok);
    window.miDb2AChat();
    QVERIFY2(driver.waitUntilDone(30000), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(offered, QStringList{"Quillbridge Plain"});
    QVERIFY2(driver.texts().last().contains(QStringLiteral(
                 "Writing messages to a phone needs the companion app, Quillbridge SMS Sync. "
                 "Quillbridge Plain is read over USB without it, so messages can only be read from "
                 "it.")),
             qPrintable(driver.texts().last()));
    QCOMPARE(sim->adbCalls().filter(QStringLiteral("broadcast")), QStringList());
}

// Tools › Clear Cache files, then a conversation of the second phone (plugged
// in again) goes to the first: the first phone shows exactly what its cache
// holds, each message under its own contact, nothing of before.
void TestWindowPhones::clearCacheThenTransfer()
{
    const QJsonObject two = phoneWithMessages(QStringLiteral("S2"), QStringLiteral("Two"),
                                              QStringLiteral("+15550000022"), {"two a", "two b"});
    QVERIFY(sim->plug(phoneWithMessages(QStringLiteral("S1"), QStringLiteral("One"),
                                        QStringLiteral("+15550000011"), {"one a", "one b", "one c"})));
    QVERIFY(sim->plug(two));
    MainWindow window;
    Node* devices = treeModelOf(window)->deviceRoot();
    QTRY_COMPARE_WITH_TIMEOUT(childNames(devices).size(), 2, 30000);
    QTest::qWait(200); // the second phone's selection settles

    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    const QList<QAction*> actions = window.findChildren<QAction*>();
    const auto clear = std::find_if(actions.cbegin(), actions.cend(), [](const QAction* action) {
        return action->text() == QCoreApplication::translate("QObject", "Clear Cache files");
    });
    QVERIFY(clear != actions.cend());
    (*clear)->trigger();
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QVERIFY2(driver.texts().last().startsWith(QStringLiteral("Successfully cleared cache files.<br/><br/>The "
                                                             "connected phones show no messages now.")),
             qPrintable(driver.texts().last()));
    QCOMPARE(childNames(devices).size(), 2); // the phones stay, without conversations
    for (const Node* phone : devices->children)
        QCOMPARE(childNames(phone), QStringList());
    QCOMPARE(listModelOf(window)->rowCount(), 0);

    // Phone Two, plugged in again, loads afresh; its conversation goes to phone One.
    QVERIFY(sim->unplug(QStringLiteral("S2")));
    QTRY_COMPARE_WITH_TIMEOUT(childNames(devices), QStringList{"Quillbridge One"}, 10000);
    QVERIFY(sim->plug(two));
    QTRY_COMPARE_WITH_TIMEOUT(childNames(devices).size(), 2, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(childNames(childNamed(devices, QStringLiteral("Quillbridge Two"))).size(), 1,
                              10000);
    QTest::qWait(200);
    selectNode(window, childNamed(devices, QStringLiteral("Quillbridge Two"))->children.first());
    std::unique_ptr<QMenu> menu(window.createTreeContextMenu());
    QStringList offered;
    answerPicker(driver, QStringLiteral("Quillbridge One"), &offered);
    driver.answer(QMessageBox::Ok);
    menuEntry(menu.get(), "Transfer SMS with this contact to other Android")->trigger();
    QVERIFY2(driver.waitUntilDone(30000), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(driver.texts().last(), transferred(2));

    auto* one = static_cast<_AndroidDeviceItemNode*>(childNamed(devices, QStringLiteral("Quillbridge One")));
    QTRY_COMPARE(currentTreeNode(window), one);
    MessageSet cache;
    IOS6MessageDb(QDir(one->device.cacheDir()), one->device.mmc).readMessages(cache, 0);
    QStringList titles;
    for (const _MsgChat* chat : std::as_const(cache.chats))
        titles << chatTitle(*chat, false);
    QCOMPARE(titles, QStringList{"Contact 22"});
    QCOMPARE(childNames(one), titles);
    const QStringList expected{"two a / Contact 22", "two b / Contact 22"};
    QCOMPARE(textsWithContacts(cache.messages.values()), expected);
    QCOMPARE(textsWithContacts(listModelOf(window)->messages()), expected);
}

// A phone reached over WiFi that reports no country code: the user is told,
// picks Jersey, and the phone loads with that country's code.
void TestWindowPhones::wifiPhoneWithoutCountry()
{
    QJsonObject phone = phoneWithMessages(QStringLiteral("W1"), QStringLiteral("Air"),
                                          QStringLiteral("07700900123"), {"over the air"});
    QJsonObject info = phone.value(QStringLiteral("info")).toObject();
    info.remove(QStringLiteral("mmc"));
    phone.insert(QStringLiteral("info"), info);
    const QString file = sim->folder() + QStringLiteral("/w1.json");
    QFile json(file);
    QVERIFY(json.open(QIODevice::WriteOnly | QIODevice::Truncate));
    json.write(QJsonDocument(phone).toJson());
    json.close();
    QProcess wifi;
    wifi.start(qEnvironmentVariable("TEXTFERRY_PHONESIM"),
               {QStringLiteral("wifi"), QStringLiteral("--phone"), file, QStringLiteral("--host"),
                QStringLiteral("127.0.0.4"), QStringLiteral("--lifetime"), QStringLiteral("120")});
    QVERIFY(wifi.waitForStarted());
    QTcpSocket probe;
    QTRY_VERIFY_WITH_TIMEOUT(
        (probe.abort(), probe.connectToHost(QStringLiteral("127.0.0.4"), 44441), probe.waitForConnected(200)),
        10000);

    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    ModalDriver driver;
    driver.answerWith(
        [](QWidget* form) {
            form->findChild<QLineEdit*>(QStringLiteral("txtWifiSocket"))
                ->setText(QStringLiteral("127.0.0.4"));
            form->findChild<QPushButton*>(QStringLiteral("btnConnect"))->click();
        },
        [](QWidget* w) { return w->objectName() == QLatin1String("AndroidWIFIForm"); },
        QStringLiteral("wifi"));
    driver.answer(QMessageBox::Ok); // no country code
    driver.answerWith(
        [](QWidget* form) {
            auto* list = form->findChild<QListWidget*>(QStringLiteral("ltCountries"));
            list->setCurrentItem(list->findItems(QStringLiteral("Jersey ("), Qt::MatchStartsWith).first());
            form->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        },
        [](QWidget* w) { return w->objectName() == QLatin1String("CountrySelForm"); },
        QStringLiteral("country"));
    driver.answer(QMessageBox::Yes);
    window.miConnectWifi();
    QVERIFY2(driver.waitUntilDone(30000), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(driver.texts().at(1), QCoreApplication::translate("MainWindow", "IDS_ANDROID_%1_CANT_READ_MMC_NUMBER"));

    Node* devices = treeModelOf(window)->deviceRoot();
    QTRY_COMPARE_WITH_TIMEOUT(childNames(devices), QStringList{"Quillbridge Air"}, 20000);
    const auto* node = static_cast<const _AndroidDeviceItemNode*>(devices->children.first());
    QVERIFY(node->device.isWifi);
    QCOMPARE(node->device.mmc, QStringLiteral("234"));
    QTRY_COMPARE(counterText(window), QStringLiteral("SMS: 1"));
    wifi.kill();
    wifi.waitForFinished();
}

QTEST_MAIN(TestWindowPhones)
#include "test_window_phones.moc"
