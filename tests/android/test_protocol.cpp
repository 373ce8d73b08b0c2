// The line protocol on a real socket pair: framing, the error tags, the
// report of a wrong line to the peer, waits that end with a cancel, ports and
// the device information text.
#include "android/AndroidDevice.h"
#include "android/SimpleProtocol.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

using namespace simpleprotocol;

namespace {
// Two connected sockets in this thread: ours and the phone's.
struct SocketPair
{
    QTcpServer server;
    QTcpSocket ours;
    QTcpSocket* phone = nullptr;

    bool open()
    {
        if (!server.listen(QHostAddress::LocalHost))
            return false;
        ours.connectToHost(QHostAddress::LocalHost, server.serverPort());
        if (!ours.waitForConnected(2000) || !server.waitForNewConnection(2000))
            return false;
        phone = server.nextPendingConnection();
        return phone != nullptr;
    }
    void phoneSends(const QByteArray& bytes)
    {
        phone->write(bytes);
        phone->waitForBytesWritten(2000);
    }
    QByteArray phoneReceives()
    {
        phone->waitForReadyRead(2000);
        return phone->readAll();
    }
};

// The kind and text of what a call threw, or "line:<text>" for a line.
template <typename Call> QString outcome(Call call)
{
    try {
        return QStringLiteral("line:") + call();
    } catch (const LocalException& e) {
        return QStringLiteral("local:") + QString::fromUtf8(e.what());
    } catch (const RemoteException& e) {
        return QStringLiteral("remote:") + QString::fromUtf8(e.what());
    } catch (const SocketDataTransferException& e) {
        return QStringLiteral("transfer:") + QString::fromUtf8(e.what());
    } catch (int code) {
        return QStringLiteral("cancel:%1").arg(code);
    }
}
} // namespace

class TestProtocol : public QObject
{
    Q_OBJECT

private slots:
    void readCommand_data();
    void readCommand();
    void wrongTagIsReportedToThePhone();
    void waitsEndWithCancelOrTimeLimit();
    void commandsAreUtf8Lines();
    void ports();
    void deviceInfo_data();
    void deviceInfo();
};

void TestProtocol::readCommand_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QString>("expected");
    QTest::newRow("carriage return dropped") << QByteArray("$ready:\r\n") << "line:$ready:";
    QTest::newRow("empty line") << QByteArray("\n") << "transfer:Null command.";
    QTest::newRow("error from the phone")
        << QByteArray("$error:") + QStringLiteral("Speicher voll \u2013 \u00fc").toUtf8().toBase64() + "\n"
        << QStringLiteral("remote:Speicher voll \u2013 \u00fc");
    QTest::newRow("bytes read as Latin-1")
        << QByteArray("$hello:model=caf\xc3\xa9\n") << QStringLiteral("line:$hello:model=caf\u00c3\u00a9");
    QTest::newRow("two lines, the first one") << QByteArray("$count:3\n$batch:\n") << "line:$count:3";
}

void TestProtocol::readCommand()
{
    QFETCH(QByteArray, received);
    QFETCH(QString, expected);
    SocketPair pair;
    QVERIFY(pair.open());
    pair.phoneSends(received);
    QCOMPARE(outcome([&] { return simpleprotocol::readCommand(&pair.ours, 2000); }), expected);
}

void TestProtocol::wrongTagIsReportedToThePhone()
{
    SocketPair pair;
    QVERIFY(pair.open());
    pair.phoneSends("$bye:\n");
    const QString text = QStringLiteral("invalid feedback [$bye:], must be [$batch:]");
    QCOMPARE(outcome([&] { return expectFeedback(&pair.ours, QLatin1String(kBatch), 2000); }),
             QStringLiteral("local:") + text);
    QCOMPARE(pair.phoneReceives(), QByteArray("$error:") + text.toUtf8().toBase64() + "\n");
}

// A silent phone holds a read only until the time limit or the user's cancel.
void TestProtocol::waitsEndWithCancelOrTimeLimit()
{
    SocketPair pair;
    QVERIFY(pair.open());
    QElapsedTimer clock;
    clock.start();
    QVERIFY(
        outcome([&] { return readProtocolLine(&pair.ours, 300); }).startsWith(QLatin1String("transfer:")));
    QVERIFY(clock.elapsed() < 1000);

    clock.restart();
    const CancelCheck cancelled = [&clock] { return clock.elapsed() > 300; };
    QCOMPARE(outcome([&] { return readProtocolLine(&pair.ours, -1, cancelled); }),
             QStringLiteral("cancel:-1"));
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));

    // A phone that hangs up ends the read with the socket's own text.
    pair.phone->close();
    QVERIFY(outcome([&] { return readProtocolLine(&pair.ours, -1); }).startsWith(QLatin1String("transfer:")));
}

void TestProtocol::commandsAreUtf8Lines()
{
    SocketPair pair;
    QVERIFY(pair.open());
    sendCommand(&pair.ours, QLatin1String(kSms),
                QStringLiteral("1,0,") + encodeText(QStringLiteral("\u00e9")), true, 2000);
    sendCommand(&pair.ours, QLatin1String(kBye), QString(), true, 2000);
    QByteArray received = pair.phoneReceives();
    while (received.count('\n') < 2 && pair.phone->waitForReadyRead(2000))
        received += pair.phone->readAll();
    QCOMPARE(received, QByteArray("$sms:1,0,w6k=\n$bye:\n"));
    QCOMPARE(decodeText(QStringLiteral("w6 k=!")), QStringLiteral("\u00e9")); // stray characters skipped
}

void TestProtocol::ports()
{
    QCOMPARE(portFor(7, 30, 5), 43005);
    QCOMPARE(portFor(7, 30, 100), 43001);
    QCOMPARE(portFor(0, 0, 1), 10001);
    QCOMPARE(portFor(59, 59, 99), 45999);
    // The counter runs 1 to 99 and starts over; it is the port's last two digits.
    int previous = pickPort() % 100;
    for (int i = 0; i < 250; ++i) {
        const int port = pickPort();
        QVERIFY(port >= 10001 && port <= 45999);
        QCOMPARE(port % 100, previous == 99 ? 1 : previous + 1);
        previous = port % 100;
    }
}

void TestProtocol::deviceInfo_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pairs");
    QTest::addColumn<QString>("model");
    QTest::newRow("three pairs") << "version=12;model=Nexus;imei=1234"
                                 << "version=12 model=Nexus imei=1234"
                                 << "Nexus";
    QTest::newRow("empty value skipped") << "version=12;model=;imei=1234"
                                         << "version=12 imei=1234"
                                         << "";
    QTest::newRow("trailing separator, key twice") << "model=A;uid=u;model=B;"
                                                   << "model=A uid=u model=B"
                                                   << "B";
}

void TestProtocol::deviceInfo()
{
    QFETCH(QString, text);
    QFETCH(QString, pairs);
    QFETCH(QString, model);
    QStringList found;
    AndroidDevice record;
    for (const auto& pair : scanDeviceInfo(text)) {
        found << pair.first + QLatin1Char('=') + pair.second;
        record.setInfoValue(pair.first, pair.second);
    }
    QCOMPARE(found.join(QLatin1Char(' ')), pairs);
    QCOMPARE(record.model, model);
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "test_protocol.moc"
