// The main window's contact and message searches and its context menus,
// driven through its widgets.
#include "StandardSources.h"
#include "WindowTestKit.h"

#include "app/MainWindow.h"
#include "app/messages/ItemModelSms.h"
#include "app/messages/SmsBrowser.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "tests/support/ModalDriver.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

using Node = AbsTreeItemModel::_ItemNode;

class TestMainWindowSearchMenus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void contactSearchWrapsOntoTheCurrentConversation();
    void contactSearchFromASource();
    void messageSearch();
    void messageSearchOnAnEmptyList();
    void treeContextMenus();
    void treeContextMenusFollowThePhoneCount();
    void messageListContextMenus();

private:
    QTemporaryDir home;
};

void TestMainWindowSearchMenus::initTestCase()
{
    QVERIFY(home.isValid());
    prepareWindowTestHome(home);
}

void TestMainWindowSearchMenus::init()
{
    resetDataFolder();
}

void TestMainWindowSearchMenus::contactSearchWrapsOntoTheCurrentConversation()
{
    writeStandardSources(0);
    MainWindow window;
    Node* alpha = localDbNode(window, QStringLiteral("Alpha"));
    selectNode(window, alpha);
    Node* alice = childNamed(alpha, QStringLiteral("Alice Smith"));
    Node* bob = childNamed(alpha, QStringLiteral("Bob Jones"));
    selectNode(window, bob);

    auto* keyword = window.findChild<QLineEdit*>(QStringLiteral("txtHandleKeyword"));
    QTest::keyClicks(keyword, QStringLiteral("  SMITH "));
    QTest::keyClick(keyword, Qt::Key_Return);
    QCOMPARE(treeModelOf(window)->nodeFromIndex(treeOf(window)->currentIndex()), alice);
    QCOMPARE(listTexts(window), kAlice.texts);

    // Only the current conversation matches: the search wraps and ends on it.
    keyword->clear();
    QTest::keyClicks(keyword, QStringLiteral("alice"));
    QTest::keyClick(keyword, Qt::Key_Return);
    QCOMPARE(treeModelOf(window)->nodeFromIndex(treeOf(window)->currentIndex()), alice);
    // From the last row the search wraps to the first.
    keyword->clear();
    QTest::keyClicks(keyword, QStringLiteral("jones"));
    window.findChild<QToolButton*>(QStringLiteral("btnSearchHandle"))->click();
    QCOMPARE(treeModelOf(window)->nodeFromIndex(treeOf(window)->currentIndex()), bob);

    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    keyword->clear();
    QTest::keyClicks(keyword, QStringLiteral("zelda"));
    QTest::keyClick(keyword, Qt::Key_Return);
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts(), QStringList{"Find no contact with keyword zelda."});
    QCOMPARE(treeModelOf(window)->nodeFromIndex(treeOf(window)->currentIndex()), bob);
}

void TestMainWindowSearchMenus::contactSearchFromASource()
{
    writeStandardSources(1);
    MainWindow window;
    auto* keyword = window.findChild<QLineEdit*>(QStringLiteral("txtHandleKeyword"));
    QTest::keyClicks(keyword, QStringLiteral("brown"));
    QTest::keyClick(keyword, Qt::Key_Return); // no current node: nothing happens
    QVERIFY(!treeOf(window)->currentIndex().isValid());

    Node* phone = phoneNode(window, QStringLiteral("Phone A"));
    selectNode(window, phone);
    QTest::keyClick(keyword, Qt::Key_Return);
    QCOMPARE(treeModelOf(window)->nodeFromIndex(treeOf(window)->currentIndex()),
             childNamed(phone, QStringLiteral("Dave Brown")));
    QCOMPARE(listTexts(window), kDave.texts);

    // A root searches nothing and says nothing.
    selectNode(window, treeModelOf(window)->deviceRoot());
    QTest::keyClick(keyword, Qt::Key_Return);
    QCOMPARE(treeModelOf(window)->nodeFromIndex(treeOf(window)->currentIndex()),
             treeModelOf(window)->deviceRoot());
}

void TestMainWindowSearchMenus::messageSearch()
{
    writeStandardSources(0);
    MainWindow window;
    selectNode(window, localDbNode(window, QStringLiteral("Alpha")));
    // Ascending: alpha alice 1..3, alpha bob 1..2.
    auto* keyword = window.findChild<QLineEdit*>(QStringLiteral("txtSMSKeyword"));
    QTest::keyClicks(keyword, QStringLiteral("BOB"));
    QTest::keyClick(keyword, Qt::Key_Return);
    QCOMPARE(listOf(window)->currentIndex().row(), 3);
    QCOMPARE(browserOf(window)->currentPage(), 1);
    QTest::keyClick(keyword, Qt::Key_Return);
    QCOMPARE(listOf(window)->currentIndex().row(), 4);
    // Past the end the search starts again at the top.
    window.findChild<QToolButton*>(QStringLiteral("btnSearchSMS"))->click();
    QCOMPARE(listOf(window)->currentIndex().row(), 3);

    // A keyword only the current row holds wraps back onto it.
    keyword->clear();
    QTest::keyClicks(keyword, QStringLiteral("bob 1"));
    QTest::keyClick(keyword, Qt::Key_Return);
    QCOMPARE(listOf(window)->currentIndex().row(), 3);

    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    keyword->clear();
    QTest::keyClicks(keyword, QStringLiteral("carol"));
    QTest::keyClick(keyword, Qt::Key_Return);
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts(), QStringList{"Find no SMS with keyword carol."});
    QCOMPARE(listOf(window)->currentIndex().row(), 3);
}

void TestMainWindowSearchMenus::messageSearchOnAnEmptyList()
{
    MainWindow window;
    auto* keyword = window.findChild<QLineEdit*>(QStringLiteral("txtSMSKeyword"));
    QTest::keyClicks(keyword, QStringLiteral("   "));
    QTest::keyClick(keyword, Qt::Key_Return); // blank keyword: nothing

    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    QTest::keyClicks(keyword, QStringLiteral("hello"));
    QTest::keyClick(keyword, Qt::Key_Return);
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts(), QStringList{"Can't find any SMS."});
}

void TestMainWindowSearchMenus::treeContextMenus()
{
    writeStandardSources(1);
    MainWindow window;
    QVERIFY(!window.createTreeContextMenu()); // no current node

    selectNode(window, treeModelOf(window)->localDbRoot());
    std::unique_ptr<QMenu> menu(window.createTreeContextMenu());
    QCOMPARE(menuEntries(menu.get()), QStringList{"Open Database Folder"});
    QVERIFY(!menu->actions().first()->icon().isNull());

    selectNode(window, treeModelOf(window)->deviceRoot());
    QVERIFY(!window.createTreeContextMenu());

    selectNode(window, phoneNode(window, QStringLiteral("Phone A")));
    menu.reset(window.createTreeContextMenu());
    QCOMPARE(menuEntries(menu.get()),
             (QStringList{"Backup SMS to Local Database", "Transfer Android SMS to other Android (disabled)",
                          "Export SMS to File", "Print SMS", "View Cache Files", "Disconnect Device"}));
    QVERIFY(menu->actions().at(4)->icon().isNull());
    QVERIFY(!menu->actions().at(5)->icon().isNull());

    selectNode(window, nodeAt(window, QStringLiteral("conv:Phone A/Dave Brown")));
    menu.reset(window.createTreeContextMenu());
    QCOMPARE(menuEntries(menu.get()),
             (QStringList{"Backup SMS with this contact to Local Database",
                          "Transfer SMS with this contact to other Android (disabled)",
                          "Export SMS with this contact to File", "Print SMS with this contact"}));

    selectNode(window, localDbNode(window, QStringLiteral("Alpha")));
    menu.reset(window.createTreeContextMenu());
    QCOMPARE(menuEntries(menu.get()),
             (QStringList{"Transfer SMS from Database to Android", "Export SMS to File", "Print SMS",
                          "Delete this Database"}));

    selectNode(window, nodeAt(window, QStringLiteral("conv:Alpha/Bob Jones")));
    menu.reset(window.createTreeContextMenu());
    QCOMPARE(menuEntries(menu.get()),
             (QStringList{"Transfer SMS with this contact to Android", "Export SMS with this contact to File",
                          "Print SMS with this contact", "Delete SMS with this contact"}));
    for (QAction* action : menu->actions())
        QVERIFY(!action->icon().isNull());
}

void TestMainWindowSearchMenus::treeContextMenusFollowThePhoneCount()
{
    writeStandardSources(2);
    MainWindow window;
    selectNode(window, phoneNode(window, QStringLiteral("Phone B")));
    std::unique_ptr<QMenu> menu(window.createTreeContextMenu());
    QVERIFY(menu->actions().at(1)->isEnabled());
    selectNode(window, nodeAt(window, QStringLiteral("conv:Phone B/Frank Green")));
    menu.reset(window.createTreeContextMenu());
    QVERIFY(menu->actions().at(1)->isEnabled());

    // Without phones a database offers no transfer.
    resetDataFolder();
    writeStandardSources(0);
    MainWindow alone;
    selectNode(alone, localDbNode(alone, QStringLiteral("Alpha")));
    menu.reset(alone.createTreeContextMenu());
    QCOMPARE(menuEntries(menu.get()).first(),
             QStringLiteral("Transfer SMS from Database to Android (disabled)"));
    selectNode(alone, childNamed(localDbNode(alone, QStringLiteral("Alpha")), QStringLiteral("Bob Jones")));
    menu.reset(alone.createTreeContextMenu());
    QCOMPARE(menuEntries(menu.get()).first(),
             QStringLiteral("Transfer SMS with this contact to Android (disabled)"));
    menu.reset(); // a child of the window, which goes first
}

void TestMainWindowSearchMenus::messageListContextMenus()
{
    writeStandardSources(1);
    MainWindow window;
    QVERIFY(!window.createSmsContextMenu());
    selectNode(window, treeModelOf(window)->localDbRoot());
    QVERIFY(!window.createSmsContextMenu());

    selectNode(window, phoneNode(window, QStringLiteral("Phone A")));
    std::unique_ptr<QMenu> menu(window.createSmsContextMenu());
    QCOMPARE(menuEntries(menu.get()), (QStringList{"Backup Selected SMS to Local Database",
                                                   "Transfer Selected SMS to other Android (disabled)",
                                                   "Export Selected SMS to File", "Print Selected SMS"}));

    selectNode(window, nodeAt(window, QStringLiteral("conv:Alpha/Alice Smith")));
    menu.reset(window.createSmsContextMenu());
    QCOMPARE(menuEntries(menu.get()),
             (QStringList{"Transfer Selected SMS to Android", "Export Selected SMS to File",
                          "Print Selected SMS", "Delete Selected SMS"}));
}

QTEST_MAIN(TestMainWindowSearchMenus)
#include "test_main_window_search_menus.moc"
