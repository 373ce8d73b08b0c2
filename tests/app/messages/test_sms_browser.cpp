#include "app/messages/MessageHtml.h"
#include "app/messages/SmsBrowser.h"
#include "store/MessageSet.h"
#include "store/StoredDate.h"

#include <QLocale>
#include <QScrollBar>
#include <QTextDocument>
#include <QUrl>
#include <QtTest>

namespace {
int countOf(const QString& html, const QString& what)
{
    return int(html.count(what));
}

int messagesOnPage(const SmsBrowser& browser)
{
    return countOf(browser.pageHtml(), QStringLiteral("<a name=\"sms_"));
}

const QString kPreviousLink = QStringLiteral("<p><a href=\"/pre_page\">&lt;&lt;Previous Page</a></p>");
const QString kNextLink = QStringLiteral("<p><a href=\"/next_page\">&gt;&gt;Next Page</a></p>");
} // namespace

class TestSmsBrowser : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void escapesText_data();
    void escapesText();
    void usesItsOwnStyleSheet();
    void pagesOf120Messages();
    void exactlyOnePage();
    void rendersOneMessage();
    void escapesContentAndContact();
    void emptyListShowsNothing();
    void clearDropsTheList();
    void showMessageTurnsToItsPage();
    void showMessageScrollsToTheMessage();
    void anchorsTurnPages();

private:
    QList<_MsgMessage*> makeMessages(int count);

    MessageSet set;
    _MsgChat* chat = nullptr;
};

void TestSmsBrowser::init()
{
    auto* bob = new _MsgHandle;
    bob->rowid = 1;
    bob->id = QStringLiteral("+555");
    bob->_ct_name = QStringLiteral("Bob");
    set.handles.insert(1, bob);
    chat = new _MsgChat;
    chat->rowid = 1;
    chat->participants.insert(QStringLiteral("1"), bob);
    set.chats.insert(1, chat);
}

void TestSmsBrowser::cleanup()
{
    set.clear();
}

QList<_MsgMessage*> TestSmsBrowser::makeMessages(int count)
{
    QList<_MsgMessage*> list;
    for (int i = 0; i < count; ++i) {
        auto* m = new _MsgMessage;
        m->rowid = 1000 + i;
        m->is_from_me = i % 2;
        m->date = 600000000 + i * 300;
        m->text = QStringLiteral("message %1").arg(i);
        m->chat = chat;
        set.messages.insert(m->rowid, m);
        list.append(m);
    }
    return list;
}

void TestSmsBrowser::escapesText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("html");
    QTest::newRow("markup and break") << "a<b & c\nd"
                                      << "a&lt;b &amp; c<br/>d";
    QTest::newRow("entity stays text") << "&lt;"
                                       << "&amp;lt;";
    QTest::newRow("crlf") << "x\r\ny\n\nz"
                          << "x<br/>y<br/><br/>z";
    QTest::newRow("lone cr") << "x\ry"
                             << "x\ry";
    QTest::newRow("link") << "<a href='file:///etc/passwd'>x</a>"
                          << "&lt;a href='file:///etc/passwd'&gt;x&lt;/a&gt;";
    QTest::newRow("empty") << ""
                           << "";
}

void TestSmsBrowser::escapesText()
{
    QFETCH(QString, text);
    QFETCH(QString, html);
    QCOMPARE(escapeMessageHtml(text), html);
}

void TestSmsBrowser::usesItsOwnStyleSheet()
{
    SmsBrowser browser;
    QCOMPARE(browser.document()->defaultStyleSheet(),
             QStringLiteral(".t{font-size:13px;padding:5px 10px} .c,.sc{font-size:14px;padding:5px "
                            "10px;background-color:#EEEEEE;}.send{/*background-color:#CEE0EC;*/} .send "
                            ".t{color:#008040;}.rec{/*background-color:#F5FFE2;*/} .rec .t{color:#0000FF;}"));
    QCOMPARE(browser.document()->parent(), &browser);
    QVERIFY(!browser.openLinks());
    browser.setMessages(makeMessages(3));
    QCOMPARE(browser.document()->defaultStyleSheet().left(3), QStringLiteral(".t{"));
}

void TestSmsBrowser::pagesOf120Messages()
{
    SmsBrowser browser;
    browser.setMessages(makeMessages(120));
    QCOMPARE(browser.pageCount(), 3);
    QCOMPARE(browser.currentPage(), 1);
    QCOMPARE(messagesOnPage(browser), 50);
    QVERIFY(!browser.pageHtml().contains(kPreviousLink));
    QVERIFY(browser.pageHtml().endsWith(kNextLink + QStringLiteral("<a name=\"end\"></a>")));
    QVERIFY(browser.pageHtml().contains(QStringLiteral("<a name=\"sms_1049\">")));
    QVERIFY(!browser.pageHtml().contains(QStringLiteral("<a name=\"sms_1050\">")));

    browser.showNextPage();
    browser.showNextPage();
    QCOMPARE(browser.currentPage(), 3);
    QCOMPARE(messagesOnPage(browser), 20);
    QVERIFY(browser.pageHtml().startsWith(QStringLiteral("<a name=\"start\"></a>") + kPreviousLink));
    QVERIFY(!browser.pageHtml().contains(kNextLink));
    QVERIFY(browser.pageHtml().contains(QStringLiteral("<a name=\"sms_1119\">")));

    browser.showNextPage(); // already on the last page
    QCOMPARE(browser.currentPage(), 3);

    browser.showPreviousPage();
    QCOMPARE(browser.currentPage(), 2);
    QVERIFY(browser.pageHtml().contains(kPreviousLink));
    QVERIFY(browser.pageHtml().contains(kNextLink));
    QVERIFY(browser.textCursor().atEnd());

    browser.showFirstPage();
    QCOMPARE(browser.currentPage(), 1);
    QVERIFY(browser.textCursor().atStart());
    browser.showPreviousPage(); // already on the first page
    QCOMPARE(browser.currentPage(), 1);
}

void TestSmsBrowser::exactlyOnePage()
{
    SmsBrowser browser;
    browser.setMessages(makeMessages(50));
    QCOMPARE(browser.pageCount(), 1);
    QCOMPARE(messagesOnPage(browser), 50);
    QVERIFY(!browser.pageHtml().contains(kPreviousLink));
    QVERIFY(!browser.pageHtml().contains(kNextLink));

    browser.setMessages(makeMessages(51));
    QCOMPARE(browser.pageCount(), 2);
}

void TestSmsBrowser::rendersOneMessage()
{
    const QList<_MsgMessage*> list = makeMessages(2); // a received one, then a sent one
    SmsBrowser browser;
    browser.setMessages(list);
    const QString received =
        QLocale::system().toString(storedDateToLocal(list.at(0)->date), QLocale::ShortFormat);
    const QString sent = QLocale::system().toString(storedDateToLocal(list.at(1)->date), QLocale::ShortFormat);
    const QString expected =
        QStringLiteral(
            "<a name=\"start\"></a>"
            "<a name=\"sms_1000\"></a>"
            "<table class=\"rec\" width=\"100%\" cellpadding=\"0\" border=\"0\" cellspacing=\"0\">"
            "<tr><td width=\"50%\" class=\"t\">%1<br/>From: Bob (+555)</td>"
            "<td width=\"50%\" class=\"st\"></td></tr>"
            "<tr><td width=\"50%\" class=\"c\">message 0</td><td width=\"50%\" class=\"sc\"></td></tr>"
            "</table>"
            "<a name=\"sms_1001\"></a>"
            "<table class=\"send\" width=\"100%\" cellpadding=\"0\" border=\"0\" cellspacing=\"0\">"
            "<tr><td width=\"50%\" class=\"st\"></td>"
            "<td width=\"50%\" class=\"t\">%2<br/>To: Bob (+555)</td></tr>"
            "<tr><td width=\"50%\" class=\"sc\"></td><td width=\"50%\" class=\"c\">message 1</td></tr>"
            "</table>"
            "<a name=\"end\"></a>")
            .arg(received, sent);
    QCOMPARE(browser.pageHtml(), expected);
    QVERIFY(browser.toPlainText().contains(QStringLiteral("message 1")));
}

void TestSmsBrowser::escapesContentAndContact()
{
    QList<_MsgMessage*> list = makeMessages(1);
    list.first()->text = QStringLiteral("a<b & c\nd");
    set.handles.value(1)->_ct_name = QStringLiteral("<a href='file:///etc/passwd'>x</a>");
    SmsBrowser browser;
    browser.setMessages(list);

    const QString html = browser.pageHtml();
    QVERIFY(html.contains(QStringLiteral("class=\"c\">a&lt;b &amp; c<br/>d</td>")));
    QVERIFY(
        html.contains(QStringLiteral("From: &lt;a href='file:///etc/passwd'&gt;x&lt;/a&gt; (+555)</td>")));
    QVERIFY(!html.contains(QStringLiteral("<a href='file")));
    // The name is shown as text and the page carries no link at all.
    QVERIFY(browser.toPlainText().contains(QStringLiteral("<a href='file:///etc/passwd'>x</a>")));
    QVERIFY(!browser.toHtml().contains(QStringLiteral("href=\"file:")));
}

void TestSmsBrowser::emptyListShowsNothing()
{
    SmsBrowser browser;
    browser.setMessages({});
    QCOMPARE(browser.pageCount(), 0);
    QCOMPARE(browser.currentPage(), 0);
    QVERIFY(browser.pageHtml().isEmpty());
    QVERIFY(browser.toPlainText().isEmpty());
    browser.showNextPage();
    browser.showFirstPage();
    browser.showMessage(0);
    QCOMPARE(browser.currentPage(), 0);
    QVERIFY(browser.pageHtml().isEmpty());
}

void TestSmsBrowser::clearDropsTheList()
{
    SmsBrowser browser;
    browser.setMessages(makeMessages(120));
    browser.clear();
    QVERIFY(browser.messages().isEmpty());
    QVERIFY(browser.pageHtml().isEmpty());
    QVERIFY(browser.toPlainText().isEmpty());
    QVERIFY(browser.updatesEnabled());
    // No stale page can be turned to once the list is gone.
    browser.showNextPage();
    browser.onAnchorClicked(QUrl(QStringLiteral("/next_page")));
    QVERIFY(browser.pageHtml().isEmpty());
    QCOMPARE(browser.currentPage(), 0);
}

void TestSmsBrowser::showMessageTurnsToItsPage()
{
    SmsBrowser browser;
    browser.setMessages(makeMessages(120));
    browser.showMessage(49);
    QCOMPARE(browser.currentPage(), 1);
    browser.showMessage(50);
    QCOMPARE(browser.currentPage(), 2);
    QVERIFY(browser.pageHtml().contains(QStringLiteral("<a name=\"sms_1050\">")));
    browser.showMessage(119);
    QCOMPARE(browser.currentPage(), 3);
    browser.showMessage(120);
    browser.showMessage(-1);
    QCOMPARE(browser.currentPage(), 3);
    QCoreApplication::processEvents(); // the queued scrolls run without trouble
}

void TestSmsBrowser::showMessageScrollsToTheMessage()
{
    SmsBrowser browser;
    browser.resize(400, 200);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    browser.setMessages(makeMessages(120));
    QCOMPARE(browser.verticalScrollBar()->value(), 0);
    browser.showMessage(95);
    QCOMPARE(browser.currentPage(), 2);
    QCOMPARE(browser.verticalScrollBar()->value(), 0); // the scroll is queued
    QTRY_VERIFY(browser.verticalScrollBar()->value() > 0);
}

void TestSmsBrowser::anchorsTurnPages()
{
    SmsBrowser browser;
    browser.setMessages(makeMessages(120));
    browser.onAnchorClicked(QUrl(QStringLiteral("/next_page")));
    QCOMPARE(browser.currentPage(), 2);
    browser.onAnchorClicked(QUrl(QStringLiteral("/next_page")));
    QCOMPARE(browser.currentPage(), 3);
    browser.onAnchorClicked(QUrl(QStringLiteral("/pre_page")));
    QCOMPARE(browser.currentPage(), 2);
    browser.onAnchorClicked(QUrl(QStringLiteral("https://example.com/next")));
    browser.onAnchorClicked(QUrl(QStringLiteral("#sms_1000")));
    QCOMPARE(browser.currentPage(), 2);

    // A real click on the link of the shown page does the same.
    emit browser.anchorClicked(QUrl(QStringLiteral("/pre_page")));
    QCOMPARE(browser.currentPage(), 1);
}

QTEST_MAIN(TestSmsBrowser)
#include "test_sms_browser.moc"
