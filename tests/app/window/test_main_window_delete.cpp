// Deleting through the main window: selected messages, a conversation and a
// whole local database, each after its question, and the views afterwards.
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
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Node = AbsTreeItemModel::_ItemNode;

namespace {
const ConversationSpec kAlice{QStringLiteral("Alice Smith"), QStringLiteral("+15550000001"),
                              numberedTexts(QStringLiteral("alpha alice"), 3), 400000000};
const ConversationSpec kBob{QStringLiteral("Bob Jones"), QStringLiteral("+15550000002"),
                            numberedTexts(QStringLiteral("alpha bob"), 2), 400100000};
const ConversationSpec kCarol{QStringLiteral("Carol White"), QStringLiteral("+15550000003"),
                              numberedTexts(QStringLiteral("beta carol"), 4), 400200000};
const ConversationSpec kDave{QStringLiteral("Dave Brown"), QStringLiteral("+15550000004"),
                             numberedTexts(QStringLiteral("phone dave"), 2), 400300000};

// Local databases Alpha (Bob Jones, Alice Smith) and Beta (Carol White), phone Phone A (Dave Brown).
void writeSources()
{
    writeDatabase(localDbFolder(QStringLiteral("Alpha")), {kAlice, kBob});
    writeDatabase(localDbFolder(QStringLiteral("Beta")), {kCarol});
    writeDatabase(virtualPhoneFolder(QStringLiteral("Phone A")), {kDave});
}

Node* currentTreeNode(MainWindow& window)
{
    return treeModelOf(window)->nodeFromIndex(treeOf(window)->currentIndex());
}

MessageSet& setOf(Node* node)
{
    return *static_cast<_AbsDBItemNode*>(node)->messageSet;
}

void triggerDelete(MainWindow& window)
{
    QAction* action = actionNamed(window, QStringLiteral("actDelete"));
    QVERIFY(action->isEnabled());
    action->trigger();
}
} // namespace

class TestMainWindowDelete : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void selectedMessagesOfADatabase();
    void selectedMessagesOfAConversation();
    void selectedMessagesAnsweredNo();
    void selectedMessagesOfAPhoneAreNotDeleted();
    void conversation();
    void conversationAnsweredNo();
    void conversationFromItsContextMenu();
    void wholeDatabaseOnDisplay();
    void wholeDatabaseAnsweredNo();
    void wholeDatabaseWhileAnotherIsShown();
    void databaseNamedOutsideTheFolderIsNotDeleted();

private:
    QTemporaryDir home;
};

void TestMainWindowDelete::initTestCase()
{
    QVERIFY(home.isValid());
    prepareWindowTestHome(home);
}

void TestMainWindowDelete::init()
{
    resetDataFolder();
}

void TestMainWindowDelete::selectedMessagesOfADatabase()
{
    writeSources();
    MainWindow window;
    Node* alpha = localDbNode(window, QStringLiteral("Alpha"));
    selectNode(window, alpha);
    selectRows(window, {0, 4}); // alpha alice 1, alpha bob 2

    ModalDriver driver;
    driver.answer(QMessageBox::Yes);
    driver.answer(QMessageBox::Ok);
    triggerDelete(window);
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts(),
             (QStringList{"Confirm to delete the selected SMS?", "Successfully Deleted 2 SMS."}));

    QCOMPARE(currentTreeNode(window), alpha);
    QCOMPARE(listTexts(window), (QStringList{"alpha alice 2", "alpha alice 3", "alpha bob 1"}));
    QCOMPARE(counterText(window), QStringLiteral("SMS: 3"));
    QCOMPARE(browserOf(window)->messages().size(), 3);
    QCOMPARE(setOf(alpha).messages.size(), 3);
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Alpha"))), 3);

    // The conversations show what is left.
    selectNode(window, childNamed(alpha, QStringLiteral("Bob Jones")));
    QCOMPARE(listTexts(window), QStringList{"alpha bob 1"});
}

void TestMainWindowDelete::selectedMessagesOfAConversation()
{
    writeSources();
    MainWindow window;
    Node* alpha = localDbNode(window, QStringLiteral("Alpha"));
    selectNode(window, alpha);
    Node* alice = childNamed(alpha, QStringLiteral("Alice Smith"));
    selectNode(window, alice);
    selectRows(window, {1});

    ModalDriver driver;
    driver.answer(QMessageBox::Yes);
    driver.answer(QMessageBox::Ok);
    std::unique_ptr<QMenu> menu(window.createSmsContextMenu());
    menu->actions().last()->trigger(); // "Delete Selected SMS"
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(currentTreeNode(window), alice);
    QCOMPARE(listTexts(window), (QStringList{"alpha alice 1", "alpha alice 3"}));
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Alpha"))), 4);
}

void TestMainWindowDelete::selectedMessagesAnsweredNo()
{
    writeSources();
    MainWindow window;
    selectNode(window, localDbNode(window, QStringLiteral("Alpha")));
    selectRows(window, {0, 1});
    ModalDriver driver;
    driver.answer(QMessageBox::No);
    triggerDelete(window);
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts(), QStringList{"Confirm to delete the selected SMS?"});
    QCOMPARE(counterText(window), QStringLiteral("SMS: 5"));
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Alpha"))), 5);
}

void TestMainWindowDelete::selectedMessagesOfAPhoneAreNotDeleted()
{
    writeSources();
    MainWindow window;
    selectNode(window, phoneNode(window, QStringLiteral("Phone A")));
    QVERIFY(!actionNamed(window, QStringLiteral("actDelete"))->isEnabled());
    selectRows(window, {0});
    ModalDriver driver;
    driver.setAnswerTimeout(300);
    driver.answer(QMessageBox::No); // must find no question
    window.miDelSel();
    window.miDel();
    QVERIFY(!driver.waitUntilDone(2000));
    QVERIFY(driver.texts().isEmpty());
    QCOMPARE(messageCountOf(virtualPhoneFolder(QStringLiteral("Phone A"))), 2);
}

void TestMainWindowDelete::conversation()
{
    writeSources();
    MainWindow window;
    Node* alpha = localDbNode(window, QStringLiteral("Alpha"));
    selectNode(window, alpha);
    Node* bob = childNamed(alpha, QStringLiteral("Bob Jones"));
    QList<_MsgChat*> bobChats = static_cast<_ChatSessionItemNode*>(bob)->chats;
    selectNode(window, bob);

    ModalDriver driver;
    driver.answer(QMessageBox::Yes);
    driver.answer(QMessageBox::Ok);
    triggerDelete(window); // no rows selected: the conversation
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts(),
             (QStringList{"Confirm to delete SMS with this contact?", "Successfully Deleted 2 SMS."}));

    QCOMPARE(childNames(alpha), QStringList{"Alice Smith"});
    QVERIFY(!treeOf(window)->currentIndex().isValid());
    QCOMPARE(listModelOf(window)->rowCount(), 0);
    QCOMPARE(counterText(window), QStringLiteral("SMS: 0"));
    QCOMPARE(setOf(alpha).messages.size(), 3);
    for (const _MsgChat* chat : bobChats)
        QVERIFY(!setOf(alpha).chats.values().contains(const_cast<_MsgChat*>(chat)));
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Alpha"))), 3);

    selectNode(window, alpha);
    QCOMPARE(listTexts(window), kAlice.texts);
}

void TestMainWindowDelete::conversationAnsweredNo()
{
    writeSources();
    MainWindow window;
    Node* alpha = localDbNode(window, QStringLiteral("Alpha"));
    selectNode(window, alpha);
    Node* bob = childNamed(alpha, QStringLiteral("Bob Jones"));
    selectNode(window, bob);
    ModalDriver driver;
    driver.answer(QMessageBox::No);
    window.miDel();
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts(), QStringList{"Confirm to delete SMS with this contact?"});
    QCOMPARE(childNames(alpha), (QStringList{"Bob Jones", "Alice Smith"}));
    QCOMPARE(currentTreeNode(window), bob);
    QCOMPARE(listTexts(window), kBob.texts);
}

void TestMainWindowDelete::conversationFromItsContextMenu()
{
    writeSources();
    MainWindow window;
    Node* beta = localDbNode(window, QStringLiteral("Beta"));
    selectNode(window, beta);
    selectNode(window, childNamed(beta, QStringLiteral("Carol White")));
    selectRows(window, {0}); // the conversation's command ignores the rows

    std::unique_ptr<QMenu> menu(window.createTreeContextMenu());
    ModalDriver driver;
    driver.answer(QMessageBox::Yes);
    driver.answer(QMessageBox::Ok);
    menu->actions().last()->trigger(); // "Delete SMS with this contact"
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts().last(), QStringLiteral("Successfully Deleted 4 SMS."));
    QVERIFY(beta->children.isEmpty());
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Beta"))), 0);
}

void TestMainWindowDelete::wholeDatabaseOnDisplay()
{
    writeSources();
    MainWindow window;
    Node* alpha = localDbNode(window, QStringLiteral("Alpha"));
    selectNode(window, alpha);
    QCOMPARE(counterText(window), QStringLiteral("SMS: 5"));

    ModalDriver driver;
    driver.answer(QMessageBox::Yes);
    driver.answer(QMessageBox::Ok);
    triggerDelete(window); // no rows selected: the database itself
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts(),
             (QStringList{"Confirm to delete this Database?", "Successfully Deleted Database Alpha."}));
    QCOMPARE(childNames(treeModelOf(window)->localDbRoot()), QStringList{"Beta"});
    QVERIFY(!QDir(localDbFolder(QStringLiteral("Alpha"))).exists());
    QVERIFY(QDir(localDbFolder(QStringLiteral("Beta"))).exists());
    QCOMPARE(listModelOf(window)->rowCount(), 0);
    QVERIFY(browserOf(window)->messages().isEmpty());
    QCOMPARE(counterText(window), QStringLiteral("SMS: 0"));
    QVERIFY(!actionNamed(window, QStringLiteral("actDelete"))->isEnabled());

    // The views go on working with the other sources.
    selectNode(window, localDbNode(window, QStringLiteral("Beta")));
    QCOMPARE(listTexts(window), kCarol.texts);
}

void TestMainWindowDelete::wholeDatabaseAnsweredNo()
{
    writeSources();
    MainWindow window;
    Node* alpha = localDbNode(window, QStringLiteral("Alpha"));
    selectNode(window, alpha);
    std::unique_ptr<QMenu> menu(window.createTreeContextMenu());
    ModalDriver driver;
    driver.answer(QMessageBox::No);
    menu->actions().last()->trigger(); // "Delete this Database"
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts(), QStringList{"Confirm to delete this Database?"});
    QCOMPARE(childNames(treeModelOf(window)->localDbRoot()), (QStringList{"Alpha", "Beta"}));
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Alpha"))), 5);
    QCOMPARE(counterText(window), QStringLiteral("SMS: 5"));
}

void TestMainWindowDelete::wholeDatabaseWhileAnotherIsShown()
{
    writeSources();
    MainWindow window;
    Node* beta = localDbNode(window, QStringLiteral("Beta"));
    selectNode(window, beta);
    selectNode(window, localDbNode(window, QStringLiteral("Alpha")));
    ModalDriver driver;
    driver.answer(QMessageBox::Yes);
    driver.answer(QMessageBox::Ok);
    window.miDelAll();
    QVERIFY(driver.waitUntilDone());
    selectNode(window, childNamed(beta, QStringLiteral("Carol White")));
    QCOMPARE(listTexts(window), kCarol.texts);
    QCOMPARE(childNames(treeModelOf(window)->localDbRoot()), QStringList{"Beta"});
}

void TestMainWindowDelete::databaseNamedOutsideTheFolderIsNotDeleted()
{
    writeSources();
    const QString victim = appDataDir().absoluteFilePath(QStringLiteral("victim"));
    writeEmptyDatabase(victim);
    MainWindow window;
    auto db = QSharedPointer<IOS6MessageDb>::create(QDir(victim), QString());
    Node* stray = treeModelOf(window)->addLocalDb(db, QStringLiteral("../victim"));
    selectNode(window, stray);

    ModalDriver driver;
    driver.answer(QMessageBox::Yes);
    driver.answer(QMessageBox::Ok);
    window.miDelAll();
    QVERIFY(driver.waitUntilDone());
    QVERIFY(driver.texts().last().startsWith(QStringLiteral("An Error Occurred.")));
    QVERIFY(QDir(victim).exists());
    QVERIFY(localDbNode(window, QStringLiteral("../victim")));
}

QTEST_MAIN(TestMainWindowDelete)
#include "test_main_window_delete.moc"
