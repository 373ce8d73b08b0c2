// The main window's form, action states, tree selection, message views and
// the small commands, driven through its widgets.
#include "StandardSources.h"
#include "WindowTestKit.h"

#include "app/MainWindow.h"
#include "app/base/AppDirs.h"
#include "app/messages/ItemModelSms.h"
#include "app/messages/SmsBrowser.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "store/IOS6MessageDb.h"
#include "tests/support/ModalDriver.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

#include <memory>

using Node = AbsTreeItemModel::_ItemNode;

namespace {
QStringList enabledActions(MainWindow& window)
{
    QStringList names;
    for (const char* name : {"actBackup", "actA2A", "actDb2A", "actExport", "actPrint", "actDelete"}) {
        QAction* action = actionNamed(window, QLatin1String(name));
        if (action && action->isEnabled())
            names << QLatin1String(name);
    }
    return names;
}

// Receives the addresses the window hands to the system's shell.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};
} // namespace

class TestMainWindowViews : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void form();
    void menusAndToolBar();
    void actionStates_data();
    void actionStates();
    void localDbIsReadOnFirstSelectionOnly();
    void localDbWithoutConversationsClearsTheViews();
    void corruptLocalDbShowsTheErrorAndOthersStayUsable();
    void virtualPhonesAreListedAsPhones();
    void corruptVirtualPhoneShowsTheErrorAndTheNextFollows();
    void conversationShowsItsMessagesInHeaderOrder();
    void selectingARowTurnsTheBrowserPage();
    void clearCacheAndShellCommands();
    void aboutBox();
    void disconnectingTheShownPhoneClearsTheViews();
    void promotionLinkOfAnEarlierRun();

private:
    QTemporaryDir home;
};

void TestMainWindowViews::initTestCase()
{
    QVERIFY(home.isValid());
    prepareWindowTestHome(home);
}

void TestMainWindowViews::init()
{
    resetDataFolder();
}

void TestMainWindowViews::form()
{
    MainWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(window.size(), QSize(1000, 680));
    QCOMPARE(window.windowTitle(), QStringLiteral("Textferry"));
    QVERIFY(!window.styleSheet().isEmpty());

    for (const char* name :
         {"centralWidget", "splitter",    "widget_5",   "widget_4",   "txtHandleKeyword", "btnSearchHandle",
          "treeViewDS",    "widget",      "splitter_2", "widget_2",   "widget_3",         "txtSMSKeyword",
          "btnSearchSMS",  "treeViewSMS", "widget_6",   "lbChatName", "txtSMS",           "lbSMSCount",
          "menuBar",       "mainToolBar", "statusBar"})
        QVERIFY2(window.findChild<QWidget*>(QLatin1String(name)), name);

    auto* splitter = window.findChild<QSplitter*>(QStringLiteral("splitter"));
    QCOMPARE(splitter->orientation(), Qt::Horizontal);
    QCOMPARE(splitter->handleWidth(), 1);
    QVERIFY(!splitter->childrenCollapsible());
    auto* splitter2 = window.findChild<QSplitter*>(QStringLiteral("splitter_2"));
    QCOMPARE(splitter2->orientation(), Qt::Vertical);
    QVERIFY(!splitter2->childrenCollapsible());

    QVERIFY(treeOf(window)->isHeaderHidden());
    QCOMPARE(treeModelOf(window)->rowCount(), 2);
    QVERIFY(treeOf(window)->isExpanded(treeModelOf(window)->index(1, 0)));

    MyTreeView* list = listOf(window);
    QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(list->indentation(), 5);
    QVERIFY(!list->itemsExpandable());
    QVERIFY(list->isSortingEnabled());
    QVERIFY(!list->header()->sectionsMovable());
    QCOMPARE(list->header()->sortIndicatorSection(), 0);
    QCOMPARE(list->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    QCOMPARE(list->header()->sectionSize(0), 160);
    QCOMPARE(list->header()->sectionSize(1), 50);
    QCOMPARE(list->header()->sectionSize(2), 120);

    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lbChatName"))->text(),
             QStringLiteral("Conversations"));
    QCOMPARE(counterText(window), QStringLiteral("SMS: 0"));
    QCOMPARE(window.findChild<QToolButton*>(QStringLiteral("btnSearchSMS"))->text(), QStringLiteral("..."));
    QVERIFY(!window.findChild<QToolButton*>(QStringLiteral("btnSearchHandle"))->icon().isNull());

    auto* toolBar = window.findChild<QToolBar*>(QStringLiteral("mainToolBar"));
    QVERIFY(!toolBar->isMovable());
    QVERIFY(!toolBar->isFloatable());
    QCOMPARE(toolBar->iconSize(), QSize(60, 60));
    QCOMPARE(window.toolBarArea(toolBar), Qt::TopToolBarArea);
    QCOMPARE(window.statusBar()->styleSheet(), QStringLiteral("QStatusBar::item{border: 0px}"));
}

void TestMainWindowViews::menusAndToolBar()
{
    MainWindow window;
    QStringList titles;
    for (QAction* top : window.menuBar()->actions())
        titles << top->text();
    QCOMPARE(titles, (QStringList{"File", "Tools", "Help"}));

    QCOMPARE(menuEntries(window.menuBar()->actions().at(0)->menu()),
             (QStringList{"Backup SMS to Local Database (disabled)",
                          "Transfer Android SMS to other Android (disabled)",
                          "Transfer SMS from Database to Android (disabled)", "Export SMS to File (disabled)",
                          "Print SMS (disabled)", "Delete SMS (disabled)", "Open Database Folder", "Exit"}));
    QCOMPARE(menuEntries(window.menuBar()->actions().at(1)->menu()),
             (QStringList{"Check for Update", "Clear Cache files", "Connect Android Phone via WiFi"}));
    QCOMPARE(menuEntries(window.menuBar()->actions().at(2)->menu()),
             (QStringList{"Help", "Feedback and Support", "About"}));
    for (const char* text : {"Backup SMS to Local Database", "Delete SMS", "Open Database Folder", "Exit"})
        QVERIFY2(!menuEntry(window, QStringLiteral("File"), QLatin1String(text))->icon().isNull(), text);
    QVERIFY(!menuEntry(window, QStringLiteral("Help"), QStringLiteral("Help"))->icon().isNull());

    const QList<QAction*> tools = window.findChild<QToolBar*>(QStringLiteral("mainToolBar"))->actions();
    QCOMPARE(tools.size(), 7);
    QCOMPARE(tools.at(0), actionNamed(window, QStringLiteral("actBackup")));
    QCOMPARE(tools.at(1), actionNamed(window, QStringLiteral("actA2A")));
    QCOMPARE(tools.at(2), actionNamed(window, QStringLiteral("actDb2A")));
    QVERIFY(tools.at(3)->isSeparator());
    QCOMPARE(tools.at(4), actionNamed(window, QStringLiteral("actExport")));
    QCOMPARE(tools.at(5), actionNamed(window, QStringLiteral("actPrint")));
    QCOMPARE(tools.at(6), actionNamed(window, QStringLiteral("actDelete")));

    window.show();
    QVERIFY(window.isVisible());
    menuEntry(window, QStringLiteral("File"), QStringLiteral("Exit"))->trigger();
    QVERIFY(!window.isVisible());
}

void TestMainWindowViews::actionStates_data()
{
    QTest::addColumn<int>("phones");
    QTest::addColumn<QString>("node");
    QTest::addColumn<QStringList>("enabled");

    const QStringList none;
    const QStringList dbAlone{"actExport", "actPrint", "actDelete"};
    const QStringList dbWithPhone{"actDb2A", "actExport", "actPrint", "actDelete"};
    const QStringList onlyPhone{"actBackup", "actExport", "actPrint"};
    const QStringList twoPhones{"actBackup", "actA2A", "actExport", "actPrint"};
    QTest::newRow("nothing selected") << 2 << "none" << none;
    QTest::newRow("no phone, database") << 0 << "db:Alpha" << dbAlone;
    QTest::newRow("no phone, database conversation") << 0 << "conv:Alpha/Alice Smith" << dbAlone;
    QTest::newRow("one phone, phone") << 1 << "phone:Phone A" << onlyPhone;
    QTest::newRow("one phone, database") << 1 << "db:Alpha" << dbWithPhone;
    QTest::newRow("two phones, phone") << 2 << "phone:Phone A" << twoPhones;
    QTest::newRow("two phones, phone conversation") << 2 << "conv:Phone B/Frank Green" << twoPhones;
    QTest::newRow("two phones, database") << 2 << "db:Beta" << dbWithPhone;
    QTest::newRow("two phones, Devices root") << 2 << "root:Devices" << none;
    QTest::newRow("two phones, Local Databases root") << 2 << "root:Local Databases" << none;
}

void TestMainWindowViews::actionStates()
{
    QFETCH(int, phones);
    QFETCH(QString, node);
    QFETCH(QStringList, enabled);
    writeStandardSources(phones);
    MainWindow window;
    QCOMPARE(enabledActions(window), QStringList());
    if (node != QLatin1String("none")) {
        Node* target = nodeAt(window, node);
        QVERIFY(target);
        selectNode(window, target);
    }
    QCOMPARE(enabledActions(window), enabled);
}

void TestMainWindowViews::localDbIsReadOnFirstSelectionOnly()
{
    writeStandardSources(1);
    MainWindow window;
    Node* alpha = localDbNode(window, QStringLiteral("Alpha"));
    QVERIFY(alpha);
    QVERIFY(alpha->children.isEmpty()); // listed, not read

    selectNode(window, alpha);
    QCOMPARE(childNames(alpha), (QStringList{"Bob Jones", "Alice Smith"}));
    QVERIFY(treeOf(window)->isExpanded(treeModelOf(window)->indexOfNode(alpha)));
    QCOMPARE(listTexts(window), kAlice.texts + kBob.texts);
    QCOMPARE(counterText(window), QStringLiteral("SMS: 5"));
    QCOMPARE(browserOf(window)->messages().size(), 5);
    QCOMPARE(browserOf(window)->currentPage(), 1);

    // New messages land in both files; the database is not read again, the phone is.
    Node* phone = phoneNode(window, QStringLiteral("Phone A"));
    selectNode(window, phone);
    QCOMPARE(counterText(window), QStringLiteral("SMS: 5"));
    static_cast<_AbsDBItemNode*>(alpha)->db->close();
    static_cast<_AbsDBItemNode*>(phone)->db->close();
    const ConversationSpec late{QStringLiteral("Late Comer"), QStringLiteral("+15550000099"),
                                numberedTexts(QStringLiteral("late"), 2), 400900000};
    writeDatabase(localDbFolder(QStringLiteral("Alpha")), {late});
    writeDatabase(virtualPhoneFolder(QStringLiteral("Phone A")), {late});

    selectNode(window, alpha);
    QCOMPARE(counterText(window), QStringLiteral("SMS: 5"));
    QCOMPARE(listTexts(window), kAlice.texts + kBob.texts);
    selectNode(window, phone);
    QCOMPARE(counterText(window), QStringLiteral("SMS: 7"));
}

void TestMainWindowViews::localDbWithoutConversationsClearsTheViews()
{
    writeStandardSources(1);
    writeEmptyDatabase(localDbFolder(QStringLiteral("Empty")));
    MainWindow window;
    selectNode(window, phoneNode(window, QStringLiteral("Phone A")));
    QCOMPARE(counterText(window), QStringLiteral("SMS: 5"));

    Node* empty = localDbNode(window, QStringLiteral("Empty"));
    selectNode(window, empty);
    QVERIFY(empty->children.isEmpty());
    QCOMPARE(listModelOf(window)->rowCount(), 0);
    QVERIFY(browserOf(window)->messages().isEmpty());
    QVERIFY(browserOf(window)->toPlainText().isEmpty());
    QCOMPARE(counterText(window), QStringLiteral("SMS: 0"));
}

void TestMainWindowViews::corruptLocalDbShowsTheErrorAndOthersStayUsable()
{
    writeStandardSources(0);
    writeCorruptDatabase(localDbFolder(QStringLiteral("Broken")));
    MainWindow window;
    QCOMPARE(childNames(treeModelOf(window)->localDbRoot()), (QStringList{"Alpha", "Beta", "Broken"}));

    selectNode(window, localDbNode(window, QStringLiteral("Alpha")));
    QCOMPARE(counterText(window), QStringLiteral("SMS: 5"));

    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    selectNode(window, localDbNode(window, QStringLiteral("Broken")));
    QVERIFY(driver.waitUntilDone());
    QVERIFY(driver.texts().first().startsWith(QStringLiteral("An Error Occurred.")));
    QVERIFY2(driver.texts().first().contains(QStringLiteral("not a database")),
             qPrintable(driver.texts().first()));
    // The views keep what they showed; the other databases still open.
    QCOMPARE(counterText(window), QStringLiteral("SMS: 5"));
    selectNode(window, localDbNode(window, QStringLiteral("Beta")));
    QCOMPARE(listTexts(window), kCarol.texts);
}

void TestMainWindowViews::virtualPhonesAreListedAsPhones()
{
    writeStandardSources(2);
    MainWindow window;
    const Node* devices = treeModelOf(window)->deviceRoot();
    QCOMPARE(childNames(devices), (QStringList{"Phone A", "Phone B"}));
    QVERIFY(treeOf(window)->isExpanded(treeModelOf(window)->indexOfNode(treeModelOf(window)->deviceRoot())));
    auto* phone = static_cast<_AndroidDeviceItemNode*>(phoneNode(window, QStringLiteral("Phone A")));
    QCOMPARE(phone->type, int(kNodeDevice));
    QCOMPARE(phone->device.model, QStringLiteral("Phone A"));
    QCOMPARE(QDir(phone->device.uid), QDir(virtualPhoneFolder(QStringLiteral("Phone A"))));
    // Conversations are there from the start, newest first.
    QCOMPARE(childNames(phone), (QStringList{"Erin Black", "Dave Brown"}));
    QCOMPARE(treeModelOf(window)->countChildrenOfType(devices, kNodeDevice), 2);

    selectNode(window, childNamed(phone, QStringLiteral("Erin Black")));
    QCOMPARE(listTexts(window), kErin.texts);
}

void TestMainWindowViews::corruptVirtualPhoneShowsTheErrorAndTheNextFollows()
{
    writeCorruptDatabase(virtualPhoneFolder(QStringLiteral("A Broken")));
    writeDatabase(virtualPhoneFolder(QStringLiteral("B Fine")), {kDave});
    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    MainWindow window;
    QVERIFY(driver.waitUntilDone());
    QVERIFY(driver.texts().first().contains(QStringLiteral("not a database")));
    Node* fine = phoneNode(window, QStringLiteral("B Fine"));
    QVERIFY(fine);
    QCOMPARE(childNames(fine), QStringList{"Dave Brown"});
}

void TestMainWindowViews::conversationShowsItsMessagesInHeaderOrder()
{
    writeStandardSources(0);
    MainWindow window;
    window.show();
    Node* alice = nodeAt(window, QStringLiteral("conv:Alpha/Alice Smith"));
    selectNode(window, alice);
    QCOMPARE(listTexts(window), kAlice.texts);
    QCOMPARE(counterText(window), QStringLiteral("SMS: 3"));

    // Any other column orders by date, newest first.
    QHeaderView* header = listOf(window)->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(3) + 20, header->height() / 2));
    QCOMPARE(header->sortIndicatorSection(), 0);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QStringList reversed = kAlice.texts;
    std::reverse(reversed.begin(), reversed.end());
    QCOMPARE(listTexts(window), reversed);
    QCOMPARE(browserOf(window)->messages(), listModelOf(window)->messages());

    // The order holds for the next node shown.
    selectNode(window, localDbNode(window, QStringLiteral("Beta")));
    QCOMPARE(listTexts(window).first(), kCarol.texts.last());
    header->setSortIndicator(0, Qt::AscendingOrder);
    QCOMPARE(listTexts(window), kCarol.texts);
}

void TestMainWindowViews::selectingARowTurnsTheBrowserPage()
{
    const ConversationSpec chatty{QStringLiteral("Chatty"), QStringLiteral("+15550000042"),
                                  numberedTexts(QStringLiteral("chatty"), 120), 400000000};
    writeDatabase(localDbFolder(QStringLiteral("Big")), {chatty});
    MainWindow window;
    selectNode(window, localDbNode(window, QStringLiteral("Big")));
    SmsBrowser* browser = browserOf(window);
    QCOMPARE(browser->pageCount(), 3);
    QCOMPARE(browser->currentPage(), 1);

    listOf(window)->setCurrentIndex(listModelOf(window)->indexOfRow(60));
    QCOMPARE(browser->currentPage(), 2);
    QVERIFY(browser->pageHtml().contains(
        QStringLiteral("sms_%1").arg(listModelOf(window)->messages().at(60)->rowid)));
}

void TestMainWindowViews::clearCacheAndShellCommands()
{
    writeStandardSources(1);
    const QDir data = appDataDir();
    QVERIFY(data.mkpath(QStringLiteral("android_cache/123/inner")));
    QFile leftover(data.absoluteFilePath(QStringLiteral("android_cache/123/inner/sms.db")));
    QVERIFY(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    MainWindow window;

    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    menuEntry(window, QStringLiteral("Tools"), QStringLiteral("Clear Cache files"))->trigger();
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts(), QStringList{"Successfully cleared cache files."});
    QVERIFY(!data.exists(QStringLiteral("android_cache")));
    QCOMPARE(childNames(treeModelOf(window)->deviceRoot()), QStringList{"Phone A"});

    menuEntry(window, QStringLiteral("File"), QStringLiteral("Open Database Folder"))->trigger();
    menuEntry(window, QStringLiteral("Help"), QStringLiteral("Help"))->trigger();
    menuEntry(window, QStringLiteral("Help"), QStringLiteral("Feedback and Support"))->trigger();
    window.miViewCache(); // no phone selected: nothing
    selectNode(window, phoneNode(window, QStringLiteral("Phone A")));
    window.miViewCache();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));

    QCOMPARE(catcher.urls.size(), 4);
    QCOMPARE(QDir(catcher.urls.at(0).toLocalFile()), localDbDir());
    QCOMPARE(catcher.urls.at(1).toString(), QStringLiteral("https://www.textferry.app/help/"));
    QCOMPARE(catcher.urls.at(2).toString(), QStringLiteral("https://www.textferry.app/support/"));
    QCOMPARE(QDir(catcher.urls.at(3).toLocalFile()),
             QDir(data.absoluteFilePath(QStringLiteral("android_cache"))));
}

void TestMainWindowViews::aboutBox()
{
    MainWindow window;
    ModalDriver driver;
    driver.answerByName(QStringLiteral("btnOK"));
    menuEntry(window, QStringLiteral("Help"), QStringLiteral("About"))->trigger();
    QVERIFY(driver.waitUntilDone());
    QVERIFY(driver.texts().first().contains(QStringLiteral("Textferry v2.14.11")));
}

void TestMainWindowViews::disconnectingTheShownPhoneClearsTheViews()
{
    writeStandardSources(2);
    MainWindow window;
    Node* phone = phoneNode(window, QStringLiteral("Phone A"));
    selectNode(window, childNamed(phone, QStringLiteral("Erin Black")));
    QCOMPARE(counterText(window), QStringLiteral("SMS: 3"));

    selectNode(window, phone);
    std::unique_ptr<QMenu> menu(window.createTreeContextMenu());
    menu->actions().last()->trigger(); // "Disconnect Device"
    QCOMPARE(childNames(treeModelOf(window)->deviceRoot()), QStringList{"Phone B"});
    QCOMPARE(listModelOf(window)->rowCount(), 0);
    QVERIFY(browserOf(window)->messages().isEmpty());
    QCOMPARE(counterText(window), QStringLiteral("SMS: 0"));
    // The views work on after the set went.
    listOf(window)->header()->setSortIndicator(2, Qt::AscendingOrder);
    QCOMPARE(listOf(window)->header()->sortIndicatorOrder(), Qt::DescendingOrder);

    // A phone that is not shown goes without touching the views.
    Node* second = phoneNode(window, QStringLiteral("Phone B"));
    selectNode(window, childNamed(second, QStringLiteral("Frank Green")));
    window.androidDeviceDisconnected(QStringLiteral("no-such-serial"));
    QCOMPARE(listTexts(window), kFrank.texts);
}

void TestMainWindowViews::promotionLinkOfAnEarlierRun()
{
    const QString link = QStringLiteral("<a href=\"https://example.com/\">Try \u00dcbersetzer</a>");
    QFile cached(appDataDir().absoluteFilePath(QStringLiteral("last-adv")));
    QVERIFY(cached.open(QIODevice::WriteOnly));
    cached.write(link.toUtf8());
    cached.close();
    MainWindow window;
    const QList<QLabel*> labels = window.statusBar()->findChildren<QLabel*>();
    auto found =
        std::find_if(labels.begin(), labels.end(), [&](QLabel* label) { return label->text() == link; });
    QVERIFY(found != labels.end());
    QVERIFY((*found)->openExternalLinks());
}

QTEST_MAIN(TestMainWindowViews)
#include "test_main_window_views.moc"
