// The conversations with the vendor's web server, held with a small HTTP
// server of the test's own on 127.0.0.1: the main window's daily update check
// and promotion link, the update page, the error report of every error box,
// and servers that answer badly or not at all.
#include "tests/kit/TestHome.h"
#include "tests/kit/UrlCatcher.h"
#include "tests/kit/WindowTestKit.h"

#include "app/MainWindow.h"
#include "base/AppDirs.h"
#include "base/VendorServer.h"
#include "tests/kit/ModalDriver.h"
#include "tests/kit/TestHttpServer.h"
#include "ui/MessageBoxes.h"

// The version and build number CMakeLists.txt sets, generated into the build tree.
#include "TextferryVersion.h"

#include <QAction>
#include <QDateTime>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QNetworkProxy>
#include <QtTest>

#include <algorithm>
#include <memory>

using Answer = TestHttpServer::Answer;
Q_DECLARE_METATYPE(TestHttpServer::Answer)

namespace {

const QByteArray kUpdatePath = "/sms_check_update.php";
const QByteArray kAdvPath = "/adv.php";
const QByteArray kReportPath = "/err_report.php";
const QByteArray kBuildNumber = QByteArray::number(TEXTFERRY_BUILD_NUMBER);
const QByteArray kUpdateQuery =
    "/sms_check_update.php?pid=5E0A7D19B3C24F6E8A1D0C9B7E6F4A21&ver=" + kBuildNumber;
const QByteArray kUpdateTarget = kUpdateQuery + "&q=1";
const QByteArray kAdvTarget = "/adv.php?pid=5E0A7D19B3C24F6E8A1D0C9B7E6F4A21";

// Base64 with "/" as "!" and "=" as "-", as a report carries its fields.
QByteArray reportField(QByteArray text)
{
    return text.toBase64().replace('/', '!').replace('=', '-');
}

// prod and ver of every report: "Textferry" and the version with its build
// number ("2.14.11(39)", say) encoded.
const QByteArray kReportHead =
    "prod=VGV4dGZlcnJ5&ver=" + reportField(TEXTFERRY_VERSION "(" + kBuildNumber + ")") + "&err=";
const char kTimeFile[] = "last-check-version-time";
const char kAdvFile[] = "last-adv";
// A promotion link as the window stores and shows it.
const QString kStyle = QStringLiteral("<a style=\"color:#3894BC;text-decoration:none;\"");
const QString kCachedLink = kStyle + QStringLiteral(" href=\"http://old.example/\">Old deal</a>");
const QString kUpdateQuestion =
    QStringLiteral("A new version of Textferry is available. Would you like to download it now?");
const QByteArray kHuge = QByteArray(1024 * 1024, 'x');
const QStringList kSchemes{"http", "https", "file", "javascript", "data"};

QString dataFile(const char* name)
{
    return appDataDir().absoluteFilePath(QLatin1String(name));
}

QByteArray readData(const char* name)
{
    QFile file(dataFile(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void writeData(const char* name, const QByteArray& content)
{
    QFile file(dataFile(name));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

std::unique_ptr<MainWindow> openWindow()
{
    return std::make_unique<MainWindow>(nullptr, MainWindow::DeviceWatch::Off);
}

QString promotionText(MainWindow& window)
{
    return window.findChild<QLabel*>(QStringLiteral("lbAdv"))->text();
}

QByteArray reportedError(const TestHttpServer::Request& report)
{
    QByteArray err = report.body.mid(report.body.indexOf("&err=") + 5);
    return QByteArray::fromBase64(err.replace('!', '/').replace('-', '='));
}

Answer answer(int status, const QByteArray& body)
{
    Answer a;
    a.status = status;
    a.body = body;
    return a;
}

} // namespace

class TestVendorServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void serverSetting_data();
    void serverSetting();
    void onceADay_data();
    void onceADay();
    void updateReply_data();
    void updateReply();
    void promotionReply_data();
    void promotionReply();
    void cachedPromotionIsCheckedAtStart_data();
    void cachedPromotionIsCheckedAtStart();
    void linksOpenOnlyWebAddresses_data();
    void linksOpenOnlyWebAddresses();
    void errorReport_data();
    void errorReport();
    void startedTwiceOnOneDay();
    void reportsDoNotPileUp();
    void offSendsNothing();
    void slowServerDelaysNothing_data();
    void slowServerDelaysNothing();
    void updatePage_data();
    void updatePage();

private:
    TestHome home;
    TestHttpServer server;
    UrlCatcher desktop;
};

void TestVendorServer::initTestCase()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    QVERIFY(server.listen());
    // What the program would hand to the desktop, whatever its scheme.
    for (const QString& scheme : kSchemes)
        QDesktopServices::setUrlHandler(scheme, &desktop, "open");
}

void TestVendorServer::init()
{
    server.reset();
    // Connections kept alive by earlier reports would count as open ones.
    server.dropConnections();
    QTRY_COMPARE(server.openConnections(), 0);
    desktop.urls.clear();
    qputenv("TEXTFERRY_SERVER", server.hostAndPort().toLatin1());
    QFile::remove(dataFile(kTimeFile));
    writeData(kAdvFile, kCachedLink.toUtf8());
}

void TestVendorServer::cleanup()
{
    // A broken phone left behind would open an error box in every later window.
    resetDataFolder();
}

void TestVendorServer::cleanupTestCase()
{
    for (const QString& scheme : kSchemes)
        QDesktopServices::unsetUrlHandler(scheme);
}

void TestVendorServer::serverSetting_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("url"); // of "/p" with "q=1"; empty when off

    QTest::newRow("not set") << ""
                             << "http://service.textferry.app/p?q=1";
    QTest::newRow("off") << " OFF "
                         << "";
    QTest::newRow("host") << "updates.example"
                          << "http://updates.example/p?q=1";
    QTest::newRow("host and port") << "Updates.Example:8080"
                                   << "http://updates.example:8080/p?q=1";
    QTest::newRow("port 80") << "updates.example:80"
                             << "http://updates.example/p?q=1";
    QTest::newRow("IPv6") << "[::1]:8081"
                          << "http://[::1]:8081/p?q=1";
    QTest::newRow("port 0") << "updates.example:0"
                            << "";
    QTest::newRow("port not a number") << "updates.example:http"
                                       << "";
    QTest::newRow("an address, not a host") << "http://updates.example"
                                            << "";
    QTest::newRow("with a path") << "updates.example/x"
                                 << "";
}

void TestVendorServer::serverSetting()
{
    QFETCH(QString, setting);
    QFETCH(QString, url);

    if (url.isEmpty() && setting.trimmed().compare(QLatin1String("off"), Qt::CaseInsensitive) != 0)
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^TEXTFERRY_SERVER names no server")));
    const VendorServer parsed = VendorServer::fromSetting(setting);
    QCOMPARE(parsed.isOff(), url.isEmpty());
    QCOMPARE(parsed.url(QStringLiteral("/p"), QStringLiteral("q=1")).toString(), url);
}

void TestVendorServer::onceADay_data()
{
    QTest::addColumn<QByteArray>("content"); // "%1": now - age; null: no file
    QTest::addColumn<qint64>("age");
    QTest::addColumn<bool>("sends");

    QTest::newRow("no file") << QByteArray() << qint64(0) << true;
    QTest::newRow("a minute ago") << QByteArray("%1") << qint64(60) << false;
    QTest::newRow("exactly a day ago") << QByteArray("%1") << qint64(86400) << false;
    QTest::newRow("a day and a second ago") << QByteArray("%1") << qint64(86401) << true;
    QTest::newRow("an hour ahead") << QByteArray("%1") << qint64(-3600) << true;
    QTest::newRow("NUL ends the time") << QByteArray("%1\0"
                                                     "99",
                                                     5)
                                       << qint64(60) << false;
    QTest::newRow("zero") << QByteArray("0") << qint64(0) << true;
    QTest::newRow("not a number") << QByteArray("yesterday") << qint64(0) << true;
    QTest::newRow("empty") << QByteArray("") << qint64(0) << true;
}

void TestVendorServer::onceADay()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, age);
    QFETCH(bool, sends);

    server.setAnswer(kUpdatePath, answer(200, "no"));
    // Early in a second, so "exactly a day" is still exact when the window reads it.
    QVERIFY(QTest::qWaitFor([] { return QDateTime::currentMSecsSinceEpoch() % 1000 < 100; }, 1500));
    if (!content.isNull())
        writeData(kTimeFile,
                  content.replace("%1", QByteArray::number(QDateTime::currentSecsSinceEpoch() - age)));
    const qint64 started = QDateTime::currentSecsSinceEpoch();
    auto window = openWindow();
    if (sends) {
        QVERIFY(server.waitForRequests(2));
        QTRY_COMPARE(readData(kTimeFile).toLongLong() >= started, true);
    } else {
        QTest::qWait(300);
        QCOMPARE(server.requests().size(), 0);
        QCOMPARE(readData(kTimeFile), content);
    }
}

void TestVendorServer::updateReply_data()
{
    QTest::addColumn<Answer>("reply");
    QTest::addColumn<int>("press"); // NoButton: no question expected
    QTest::addColumn<QString>("opened");

    const QByteArray address = "HTTP://DOWNLOAD.EXAMPLE/Textferry-2.15.exe";
    QTest::newRow("upper-case address, Yes")
        << answer(200, address) << int(QMessageBox::Yes) << "http://download.example/Textferry-2.15.exe";
    QTest::newRow("address and line end, No")
        << answer(200, "http://download.example/\r\n") << int(QMessageBox::No) << "";
    QTest::newRow("no newer version") << answer(200, "no") << int(QMessageBox::NoButton) << "";
    QTest::newRow("address with status 500") << answer(500, address) << int(QMessageBox::NoButton) << "";
    QTest::newRow("redirect") << answer(302, address) << int(QMessageBox::NoButton) << "";
    QTest::newRow("binary") << answer(200, address + QByteArray("\0\x01\x02", 3))
                            << int(QMessageBox::NoButton) << "";
    QTest::newRow("huge") << answer(200, address + kHuge) << int(QMessageBox::NoButton) << "";
    Answer unannounced = answer(200, address + kHuge);
    unannounced.announceLength = false;
    QTest::newRow("huge, length not announced") << unannounced << int(QMessageBox::NoButton) << "";
}

void TestVendorServer::updateReply()
{
    QFETCH(Answer, reply);
    QFETCH(int, press);
    QFETCH(QString, opened);

    server.setAnswer(kUpdatePath, reply);
    ModalDriver driver;
    if (press != QMessageBox::NoButton)
        driver.answer(QMessageBox::StandardButton(press));
    else
        driver.rejectEveryBox();
    const qint64 started = QDateTime::currentSecsSinceEpoch();
    auto window = openWindow();
    window->show();
    // Every reply with a status counts as the day's check.
    QTRY_COMPARE(readData(kTimeFile).toLongLong() >= started, true);
    if (press != QMessageBox::NoButton)
        QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    else
        QTest::qWait(200);
    QCOMPARE(driver.texts(), press != QMessageBox::NoButton ? QStringList{kUpdateQuestion} : QStringList());
    QCOMPARE(desktop.urls, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(opened)});
    QCOMPARE(window->isVisible(), opened.isEmpty());
}

void TestVendorServer::promotionReply_data()
{
    QTest::addColumn<Answer>("reply");
    QTest::addColumn<QString>("shown"); // and stored; empty: the cached link stays

    QTest::newRow("upper-case anchor") << answer(200, "<A HREF=\"http://deal.example/\">Deal \xc3\xbc</A>")
                                       << QString(kStyle + " href=\"http://deal.example/\">Deal ü</a>");
    QTest::newRow("https, single quotes, references")
        << answer(200, "<a target=_blank href='https://deal.example/?a=1&amp;b=2'>Tom &amp; <b>Jerry</b></a>")
        << QString(kStyle + " href=\"https://deal.example/?a=1&amp;b=2\">Tom &amp; Jerry</a>");
    QTest::newRow("local image inside: text only")
        << answer(200, "<a href=\"http://deal.example/\"><img src=\"/dev/zero\">Deal</a>")
        << QString(kStyle + " href=\"http://deal.example/\">Deal</a>");
    QTest::newRow("long text cut") << answer(200, "<a href=\"http://deal.example/\">" + QByteArray(300, 'x') +
                                                      "</a>")
                                   << QString(kStyle + " href=\"http://deal.example/\">" + QString(99, 'x') +
                                              QChar(0x2026) + "</a>");
    QTest::newRow("local image alone") << answer(200, "<img src=\"/dev/zero\">") << "";
    QTest::newRow("image after the link")
        << answer(200, "<a href=\"http://x.example/\">y</a><img src=/dev/zero>") << "";
    QTest::newRow("file:") << answer(200, "<a href=\"file:///etc/passwd\">y</a>") << "";
    QTest::newRow("javascript:") << answer(200, "<a href=\"javascript:alert(1)\">y</a>") << "";
    QTest::newRow("data:") << answer(200, "<a href=\"data:text/html,<b>y</b>\">y</a>") << "";
    QTest::newRow("relative") << answer(200, "<a href=\"x\">y</a>") << "";
    QTest::newRow("no text") << answer(200, "<a href=\"http://x.example/\"><img src=x></a>") << "";
    QTest::newRow("plain text") << answer(200, "Deal of the day") << "";
    QTest::newRow("anchor with status 500") << answer(500, "<a href=\"http://x.example/\">y</a>") << "";
    QTest::newRow("binary") << answer(200, QByteArray("<a href=\"http://x.example/\">\0\x01</a>", 34)) << "";
    QTest::newRow("not UTF-8") << answer(200, "<a href=\"http://x.example/\">\xff\xfe</a>") << "";
    QTest::newRow("huge") << answer(200, "<a href=\"http://x.example/\">" + kHuge + "</a>") << "";
}

void TestVendorServer::promotionReply()
{
    QFETCH(Answer, reply);
    QFETCH(QString, shown);

    server.setAnswer(kAdvPath, reply);
    auto window = openWindow();
    QCOMPARE(promotionText(*window), kCachedLink);
    QVERIFY(server.waitForRequests(2));
    if (shown.isEmpty()) {
        QTest::qWait(300);
        QCOMPARE(promotionText(*window), kCachedLink);
        QCOMPARE(readData(kAdvFile), kCachedLink.toUtf8());
    } else {
        QTRY_COMPARE(promotionText(*window), shown);
        QCOMPARE(readData(kAdvFile), shown.toUtf8());
    }
}

void TestVendorServer::cachedPromotionIsCheckedAtStart_data()
{
    QTest::addColumn<QByteArray>("cached");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a link stored earlier") << kCachedLink.toUtf8() << kCachedLink;
    QTest::newRow("a local image") << QByteArray("<img src=\"/dev/zero\">") << "";
    QTest::newRow("a file: link") << QByteArray("<a href=\"file:///etc/passwd\">x</a>") << "";
    QTest::newRow("a link around an image")
        << QByteArray("<a href=\"http://old.example/\"><img src=\"/dev/zero\">Old deal</a>") << kCachedLink;
}

// The stored link is held to the rules of a reply before it is shown.
void TestVendorServer::cachedPromotionIsCheckedAtStart()
{
    QFETCH(QByteArray, cached);
    QFETCH(QString, shown);
    qputenv("TEXTFERRY_SERVER", "off");
    writeData(kAdvFile, cached);
    auto window = openWindow();
    QCOMPARE(promotionText(*window), shown);
}

void TestVendorServer::linksOpenOnlyWebAddresses_data()
{
    QTest::addColumn<QString>("where"); // the status bar's label or an error box
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("opened");
    for (const char* where : {"status bar", "error box"}) {
        const auto row = [where](const char* name, const char* link, bool opened) {
            QTest::addRow("%s: %s", where, name) << where << link << opened;
        };
        row("http", "http://deal.example/", true);
        row("https", "https://deal.example/a?b=c", true);
        row("file:", "file:///etc/passwd", false);
        row("javascript:", "javascript:alert(1)", false);
        row("data:", "data:text/html,<b>x</b>", false);
        row("relative", "deal.html", false);
    }
}

// A link clicked in the status bar or in a message box reaches the browser
// only when it is a web address.
void TestVendorServer::linksOpenOnlyWebAddresses()
{
    QFETCH(QString, where);
    QFETCH(QString, link);
    QFETCH(bool, opened);
    if (!opened)
        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QStringLiteral("Not opened, not a web address: ") + link));
    qputenv("TEXTFERRY_SERVER", "off");
    if (where == QLatin1String("status bar")) {
        auto window = openWindow();
        emit window->findChild<QLabel*>(QStringLiteral("lbAdv"))->linkActivated(link);
    } else {
        ModalDriver driver;
        driver.answerWith(
            [link](QWidget* box) {
                emit box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->linkActivated(link);
                static_cast<QMessageBox*>(box)->done(QMessageBox::Ok);
            },
            [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; }, QStringLiteral("box"));
        showErrorBox(QStringLiteral("<a href=\"%1\">the phone said so</a>").arg(link.toHtmlEscaped()));
        QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    }
    QCOMPARE(desktop.urls, opened ? QList<QUrl>{QUrl(link)} : QList<QUrl>());
}

void TestVendorServer::errorReport_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("err");

    QTest::newRow("abc") << "abc" << QByteArray("YWJj");
    QTest::newRow("one character, padded") << "a" << QByteArray("YQ--");
    QTest::newRow("line-break tags") << "a<br/>b<BR />c" << QByteArray("YQ0KYg0KYw--");
    QTest::newRow("line-break tags, spaced") << "a< br>b<BR >c" << QByteArray("YQ0KYg0KYw--");
    QTest::newRow("markup escaped") << "<b>x</b>" << QByteArray("Jmx0O2ImZ3Q7eCZsdDsvYiZndDs-");
    QTest::newRow("slash as !") << "???" << QByteArray("Pz8!");
    QTest::newRow("plus kept") << "~~~" << QByteArray("fn5+");
    QTest::newRow("UTF-8") << QStringLiteral("Tür") << QByteArray("VMO8cg--");
}

void TestVendorServer::errorReport()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, err);

    server.setAnswer(kReportPath, answer(200, "ok"));
    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    showErrorBox(text);
    QVERIFY(driver.waitUntilDone());
    // The box shows the error as given, line breaks and all.
    const QString shown = driver.texts().value(0);
    QVERIFY2(shown.contains(QString(QStringLiteral("<br/><br/>") + text)), qPrintable(shown));
    QVERIFY(server.waitForRequests(1));
    const TestHttpServer::Request report = server.requests().first();
    QCOMPARE(report.method, QByteArray("POST"));
    QCOMPARE(report.target, kReportPath);
    QCOMPARE(report.headers.value("host"), server.hostAndPort().toLatin1());
    QCOMPARE(report.headers.value("content-type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(report.body, kReportHead + err);
}

// Two starts on one day, each with an error box: the update check and the
// promotion request go once, an error report goes for every box.
void TestVendorServer::startedTwiceOnOneDay()
{
    writeCorruptDatabase(virtualPhoneFolder(QStringLiteral("Broken")));
    for (int start = 1; start <= 2; ++start) {
        server.reset();
        server.setAnswer(kUpdatePath, answer(200, "no"));
        server.setAnswer(kReportPath, answer(200, "ok"));
        ModalDriver driver;
        driver.answer(QMessageBox::Ok);
        auto window = openWindow();
        QVERIFY(driver.waitUntilDone());
        const int expected = start == 1 ? 3 : 1;
        QVERIFY(server.waitForRequests(expected));
        QTest::qWait(300);
        QCOMPARE(server.requests().size(), expected);
        const QList<TestHttpServer::Request> reports = server.requestsTo(kReportPath);
        QCOMPARE(reports.size(), 1);
        QVERIFY(driver.texts().value(0).contains(QString::fromUtf8(reportedError(reports.first()))));
        if (start == 1) {
            QCOMPARE(server.requestsTo(kUpdatePath).value(0).target, kUpdateTarget);
            QCOMPARE(server.requestsTo(kAdvPath).value(0).target, kAdvTarget);
            for (const TestHttpServer::Request& request : server.requests())
                QCOMPARE(request.headers.value("host"), server.hostAndPort().toLatin1());
            QTRY_VERIFY(QFile::exists(dataFile(kTimeFile)));
        }
    }
}

// Reports to a server that never answers, or to no server, stop at a few
// under way; once those end, reports go again.
void TestVendorServer::reportsDoNotPileUp()
{
    server.setAnswer(kReportPath, [] {
        Answer silent;
        silent.silent = true;
        return silent;
    }());
    ModalDriver driver;
    for (int i = 0; i < 8; ++i) {
        driver.answer(QMessageBox::Ok);
        showErrorBox(QStringLiteral("unanswered %1").arg(i));
    }
    QVERIFY(driver.waitUntilDone());
    QVERIFY(server.waitForRequests(4));
    QTest::qWait(300);
    QCOMPARE(server.requests().size(), 4);

    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const QByteArray nowhere = "127.0.0.1:" + QByteArray::number(closed.serverPort());
    closed.close();
    server.setAnswer(kReportPath, answer(200, "ok"));
    server.dropConnections();
    qputenv("TEXTFERRY_SERVER", nowhere);
    for (int i = 0; i < 8; ++i) {
        driver.answer(QMessageBox::Ok);
        showErrorBox(QStringLiteral("refused %1").arg(i));
    }
    QVERIFY(driver.waitUntilDone());

    QTest::qWait(300);
    qputenv("TEXTFERRY_SERVER", server.hostAndPort().toLatin1());
    driver.answer(QMessageBox::Ok);
    showErrorBox(QStringLiteral("back again"));
    QVERIFY(driver.waitUntilDone());
    const auto reportedAgain = [this] {
        const QList<TestHttpServer::Request> reports = server.requestsTo(kReportPath);
        return std::any_of(reports.cbegin(), reports.cend(),
                           [](const auto& report) { return reportedError(report) == "back again"; });
    };
    QTRY_VERIFY(reportedAgain());
}

void TestVendorServer::offSendsNothing()
{
    qputenv("TEXTFERRY_SERVER", "off");
    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    auto window = openWindow();
    showErrorBox(QStringLiteral("not reported"));
    QVERIFY(driver.waitUntilDone());
    QTest::qWait(300);
    QCOMPARE(server.requests().size(), 0);
    QVERIFY(!QFile::exists(dataFile(kTimeFile)));
    QCOMPARE(promotionText(*window), kCachedLink);
}

void TestVendorServer::slowServerDelaysNothing_data()
{
    QTest::addColumn<Answer>("reply");

    Answer silent;
    silent.silent = true;
    Answer headersOnly = answer(200, "http://download.example/");
    headersOnly.headersOnly = true;
    Answer late = answer(200, "http://download.example/");
    late.delayMs = 3000;
    QTest::newRow("never answers") << silent;
    QTest::newRow("headers only") << headersOnly;
    QTest::newRow("answers late") << late;
}

// The window neither waits for the server when it opens nor when it closes,
// and a request cut short by closing stores nothing.
void TestVendorServer::slowServerDelaysNothing()
{
    QFETCH(Answer, reply);

    server.setAnswer(kUpdatePath, reply);
    Answer advReply = reply;
    advReply.body = "<a href=\"x\">y</a>";
    server.setAnswer(kAdvPath, advReply);
    ModalDriver driver;
    driver.rejectEveryBox();
    QElapsedTimer clock;
    clock.start();
    auto window = openWindow();
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(server.waitForRequests(2));
    QTest::qWait(200);
    clock.restart();
    window.reset();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QTRY_COMPARE(server.openConnections(), 0);
    QCOMPARE(server.answersSent(), 0);
    QVERIFY(!QFile::exists(dataFile(kTimeFile)));
    QCOMPARE(readData(kAdvFile), kCachedLink.toUtf8());
    QCOMPARE(driver.texts(), QStringList());
}

void TestVendorServer::updatePage_data()
{
    QTest::addColumn<QString>("setting"); // "local": the test's server
    QTest::addColumn<QString>("page");

    const QString query = QString::fromLatin1(kUpdateQuery);
    const QString vendor = QStringLiteral("http://service.textferry.app") + query;
    QTest::newRow("test server") << "local"
                                 << QString(QStringLiteral("http://") + server.hostAndPort() + query);
    QTest::newRow("off: the vendor's page") << "off" << vendor;
    QTest::newRow("not set") << "" << vendor;
}

void TestVendorServer::updatePage()
{
    QFETCH(QString, setting);
    QFETCH(QString, page);

    if (setting != QLatin1String("local"))
        qputenv("TEXTFERRY_SERVER", setting.toLatin1());
    // Checked within the day: the window itself sends nothing.
    writeData(kTimeFile, QByteArray::number(QDateTime::currentSecsSinceEpoch()));
    auto window = openWindow();
    const QList<QAction*> actions = window->findChildren<QAction*>();
    const auto check = std::find_if(actions.cbegin(), actions.cend(), [](const QAction* action) {
        return action->objectName() == QLatin1String("actCheckUpdate");
    });
    QVERIFY(check != actions.cend());
    (*check)->trigger();
    QCOMPARE(desktop.urls, QList<QUrl>{QUrl(page)});
    QCOMPARE(server.requests().size(), 0);
}

QTEST_MAIN(TestVendorServer)
#include "test_vendor_server.moc"
