// The message list model and the paged browser under it.
#include "app/messages/ItemModelSms.h"
#include "app/messages/MessageHtml.h"
#include "app/messages/SmsBrowser.h"
#include "store/MessageSet.h"
#include "store/MessageText.h"

#include <QAbstractItemModelTester>
#include <QPixmap>
#include <QUrl>
#include <QtTest>

namespace {
int messagesOnPage(const SmsBrowser& browser)
{
    return int(browser.pageHtml().count(QStringLiteral("<a name=\"sms_")));
}

bool hasPreviousLink(const SmsBrowser& browser)
{
    return browser.pageHtml().contains(
        QStringLiteral("<p><a href=\"/pre_page\">&lt;&lt;Previous Page</a></p>"));
}

bool hasNextLink(const SmsBrowser& browser)
{
    return browser.pageHtml().contains(QStringLiteral("<p><a href=\"/next_page\">&gt;&gt;Next Page</a></p>"));
}
} // namespace

class TestMessageViews : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listColumns_data();
    void listColumns();
    void listShape();

    void escapesContentAndContactInThePage();
    void longTextsAreBoundedAndBreakable_data();
    void longTextsAreBoundedAndBreakable();
    void pages_data();
    void pages();
    void showMessageTurnsToItsPage();
    void clearedBrowserTurnsNoPage();

private:
    _MsgMessage* addMessage(int fromMe, const QString& text = QString());
    QList<_MsgMessage*> addMessages(int count);

    MessageSet set;
    _MsgChat* chat = nullptr;
};

void TestMessageViews::init()
{
    auto* ann = new _MsgHandle;
    ann->rowid = 1;
    ann->id = QStringLiteral("+123");
    ann->_ct_name = QStringLiteral("Ann");
    set.handles.insert(1, ann);
    chat = new _MsgChat;
    chat->rowid = 1;
    chat->participants.insert(QStringLiteral("1"), ann);
    set.chats.insert(1, chat);
}

void TestMessageViews::cleanup()
{
    set.clear();
}

_MsgMessage* TestMessageViews::addMessage(int fromMe, const QString& text)
{
    auto* m = new _MsgMessage;
    m->rowid = 1000 + set.messages.size();
    m->is_from_me = fromMe;
    m->text = text;
    m->date = 600000000 + int(m->rowid) * 60;
    m->set_service(QStringLiteral("SMS"));
    m->chat = chat;
    set.messages.insert(m->rowid, m);
    return m;
}

QList<_MsgMessage*> TestMessageViews::addMessages(int count)
{
    QList<_MsgMessage*> list;
    for (int i = 0; i < count; ++i)
        list << addMessage(i % 2, QStringLiteral("message %1").arg(i));
    return list;
}

void TestMessageViews::listColumns_data()
{
    QTest::addColumn<int>("itemType");
    QTest::addColumn<int>("fromMe");
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("flag");
    QTest::addColumn<QString>("contact");
    QTest::addColumn<QString>("icon");
    const QString ann = QStringLiteral("Ann (+123)");
    QTest::newRow("SMS received") << 0 << 0 << "SMS" << QString("From") << ann
                                  << ":/res/icon_sms-receive.png";
    QTest::newRow("SMS sent") << 0 << 1 << "SMS" << QString("To") << ann << ":/res/icon_sms-sent.png";
    QTest::newRow("iMessage sent") << 0 << 1 << "iMessage" << QString("To") << ann << ":/res/imsg-send.png";
    QTest::newRow("IMESSAGE received")
        << 0 << 0 << "IMESSAGE" << QString("From") << ann << ":/res/imsg-rec.png";
    QTest::newRow("group renamed") << 2 << 1 << "SMS" << QString() << QString("Ann")
                                   << ":/res/icon_sms-sent.png";
}

void TestMessageViews::listColumns()
{
    QFETCH(int, itemType);
    QFETCH(int, fromMe);
    QFETCH(QString, service);
    QFETCH(QString, flag);
    QFETCH(QString, contact);
    QFETCH(QString, icon);
    _MsgMessage* m = addMessage(fromMe, QStringLiteral("hi\u2705 there"));
    m->item_type = itemType;
    m->set_group_title(QStringLiteral("Trip"));
    m->set_service(service);
    ItemModelSms model;
    model.setMessages({m});
    QCOMPARE(model.index(0, 1).data().toString(), flag);
    QCOMPARE(model.index(0, 2).data().toString(), contact);
    QCOMPARE(model.index(0, 3).data().toString(), displayText(*m));
    const QPixmap expected = QPixmap(icon).scaledToWidth(18);
    QVERIFY(!expected.isNull());
    QCOMPARE(model.index(0, 0).data(Qt::DecorationRole).value<QPixmap>().toImage(), expected.toImage());
}

void TestMessageViews::listShape()
{
    ItemModelSms model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QList<_MsgMessage*> list = addMessages(2);
    model.setMessages(list);
    QCOMPARE(model.rowCount(), 2);
    for (int column = 0; column < 4; ++column)
        QCOMPARE(model.rowCount(model.index(1, column)), 0);
    QCOMPARE(model.indexOfRow(1), model.index(1, 0));
    QVERIFY(!model.indexOfRow(2).isValid());

    model.clear();
    QCOMPARE(model.rowCount(), 0);
}

void TestMessageViews::escapesContentAndContactInThePage()
{
    _MsgMessage* m = addMessage(0, QStringLiteral("a<b & c\nd"));
    set.handles.value(1)->_ct_name = QStringLiteral("<a href='file:///etc/passwd'>x</a>");
    SmsBrowser browser;
    browser.setMessages({m});

    const QString html = browser.pageHtml();
    QVERIFY(html.contains(QStringLiteral("class=\"c\">a&lt;b &amp; c<br/>d</td>")));
    QVERIFY(
        html.contains(QStringLiteral("From: &lt;a href='file:///etc/passwd'&gt;x&lt;/a&gt; (+123)</td>")));
    QVERIFY(!browser.toHtml().contains(QStringLiteral("href=\"file:")));
}

void TestMessageViews::longTextsAreBoundedAndBreakable_data()
{
    const QString emoji = QStringLiteral("\U0001F600");
    const QString word = QStringLiteral("word ");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("omitted");
    QTest::newRow("short words stay as they are") << word.repeated(10) << qsizetype(0);
    QTest::newRow("1 MB without spaces") << QString(1 << 20, QLatin1Char('x')) << qsizetype((1 << 20) - 4000);
    QTest::newRow("words beyond the limit") << word.repeated(2000) << qsizetype(6000);
    // The cut and the breaks fall between characters, never inside a pair.
    QTest::newRow("emoji pair across the cut") << QStringLiteral("a") + emoji.repeated(2000) << qsizetype(2);
    QTest::newRow("letters with combining marks") << QStringLiteral("e\u0301").repeated(30) << qsizetype(0);
}

void TestMessageViews::longTextsAreBoundedAndBreakable()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, omitted);
    qsizetype left = -1;
    const QString shown = transcriptText(text, &left);
    QCOMPARE(left, omitted);
    QString unbroken = shown;
    unbroken.remove(QChar(0x200B));
    QCOMPARE(unbroken, text.left(text.size() - omitted));
    qsizetype run = 0;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = shown.at(i);
        run = (c.isSpace() || c.unicode() == 0x200B) ? 0 : run + 1;
        QVERIFY2(run <= kUnbrokenRunLimit + 2, "a run longer than the limit");
        if (c.unicode() == 0x200B && i + 1 < shown.size())
            QVERIFY(!shown.at(i + 1).isLowSurrogate() && !shown.at(i + 1).isMark());
    }

    // The page says what was left out of the text it shows.
    _MsgMessage* m = addMessage(0, text);
    qsizetype notShown = 0;
    transcriptText(displayText(*m), &notShown);
    SmsBrowser browser;
    browser.setMessages({m});
    QCOMPARE(browser.pageHtml().contains(QStringLiteral("%1 more characters are not shown").arg(notShown)),
             notShown > 0);
    QVERIFY(browser.pageHtml().size() < 6000 + 2 * kTranscriptTextLimit);
}

void TestMessageViews::pages_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("onLastPage");
    QTest::newRow("50") << 50 << 1 << 50;
    QTest::newRow("51") << 51 << 2 << 1;
    QTest::newRow("120") << 120 << 3 << 20;
}

void TestMessageViews::pages()
{
    QFETCH(int, count);
    QFETCH(int, pages);
    QFETCH(int, onLastPage);
    SmsBrowser browser;
    browser.setMessages(addMessages(count));
    QCOMPARE(browser.pageCount(), pages);
    QCOMPARE(browser.currentPage(), 1);
    QCOMPARE(messagesOnPage(browser), 50);
    QVERIFY(!hasPreviousLink(browser));
    QCOMPARE(hasNextLink(browser), pages > 1);

    // The page links turn the pages; past either end nothing moves.
    for (int i = 0; i < pages; ++i)
        browser.onAnchorClicked(QUrl(QStringLiteral("/next_page")));
    QCOMPARE(browser.currentPage(), pages);
    QCOMPARE(messagesOnPage(browser), onLastPage);
    QCOMPARE(hasPreviousLink(browser), pages > 1);
    QVERIFY(!hasNextLink(browser));
    browser.onAnchorClicked(QUrl(QStringLiteral("/pre_page")));
    QCOMPARE(browser.currentPage(), qMax(1, pages - 1));
    browser.onAnchorClicked(QUrl(QStringLiteral("https://example.com/next")));
    QCOMPARE(browser.currentPage(), qMax(1, pages - 1));
}

void TestMessageViews::showMessageTurnsToItsPage()
{
    SmsBrowser browser;
    browser.setMessages(addMessages(120));
    browser.showMessage(49);
    QCOMPARE(browser.currentPage(), 1);
    browser.showMessage(50);
    QCOMPARE(browser.currentPage(), 2);
    QVERIFY(browser.pageHtml().contains(QStringLiteral("<a name=\"sms_1050\">")));
    browser.showMessage(120);
    browser.showMessage(-1);
    QCOMPARE(browser.currentPage(), 2);
    QCoreApplication::processEvents(); // the queued scrolls run without trouble
}

void TestMessageViews::clearedBrowserTurnsNoPage()
{
    SmsBrowser browser;
    browser.setMessages(addMessages(120));
    browser.clear();
    QVERIFY(browser.messages().isEmpty());
    QVERIFY(browser.toPlainText().isEmpty());
    browser.onAnchorClicked(QUrl(QStringLiteral("/next_page")));
    browser.showMessage(0);
    QCOMPARE(browser.currentPage(), 0);
    QVERIFY(browser.pageHtml().isEmpty());
}

QTEST_MAIN(TestMessageViews)
#include "test_message_views.moc"
