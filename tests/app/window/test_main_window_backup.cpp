// Backing up through the main window: which messages go, the database
// picker, new and merged targets, and the refreshed tree and views.
#include "WindowTestKit.h"

#include "app/MainWindow.h"
#include "app/base/AppDirs.h"
#include "app/messages/ItemModelSms.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "store/IOS6MessageDb.h"
#include "tests/support/ModalDriver.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Node = AbsTreeItemModel::_ItemNode;

namespace {
const ConversationSpec kCarol{QStringLiteral("Carol White"), QStringLiteral("+15550000003"),
                              numberedTexts(QStringLiteral("archive carol"), 4), 400200000};
const ConversationSpec kDave{QStringLiteral("Dave Brown"), QStringLiteral("+15550000004"),
                             numberedTexts(QStringLiteral("phone dave"), 2), 400300000};
const ConversationSpec kErin{QStringLiteral("Erin Black"), QStringLiteral("+15550000005"),
                             numberedTexts(QStringLiteral("phone erin"), 3), 400400000};

// The local database Archive (Carol White) and the phone Phone A (Erin Black, Dave Brown).
void writeSources()
{
    writeDatabase(localDbFolder(QStringLiteral("Archive")), {kCarol});
    writeDatabase(virtualPhoneFolder(QStringLiteral("Phone A")), {kDave, kErin});
}

bool isPicker(QWidget* widget)
{
    return widget->objectName() == QLatin1String("LocalDbSelForm");
}

// What the picker offered when it was answered.
struct PickerSeen
{
    QStringList items;
    QString suggested;
};

// Answers the database picker by typing a name into its edit field and
// pressing Confirm, then the success box of the backup.
void answerPickerWith(ModalDriver& driver, const QString& name, PickerSeen* seen = nullptr)
{
    driver.answerWith(
        [name, seen](QWidget* picker) {
            auto* combo = picker->findChild<QComboBox*>(QStringLiteral("cbLocalDbNames"));
            if (seen) {
                for (int i = 0; i < combo->count(); ++i)
                    seen->items << combo->itemText(i);
                seen->suggested = combo->currentText();
            }
            combo->lineEdit()->selectAll();
            QTest::keyClicks(combo->lineEdit(), name);
            picker->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        },
        isPicker, QStringLiteral("database picker"));
    driver.answer(QMessageBox::Ok);
}

Node* currentTreeNode(MainWindow& window)
{
    return treeModelOf(window)->nodeFromIndex(treeOf(window)->currentIndex());
}
} // namespace

class TestMainWindowBackup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void allMessagesOfAPhoneIntoANewDatabase();
    void selectedRowsOfAPhone();
    void conversationMergesIntoAnExistingDatabaseInOtherCase();
    void mergingIntoADatabaseAlreadyRead();
    void backingADatabaseUpIntoItselfWhileShown();
    void allIsReadAgainFromTheDatabase();
    void aPhoneWithoutMessagesOffersNoBackup();
    void cancelledPickerChangesNothing();

private:
    QTemporaryDir home;
};

void TestMainWindowBackup::initTestCase()
{
    QVERIFY(home.isValid());
    prepareWindowTestHome(home);
}

void TestMainWindowBackup::init()
{
    resetDataFolder();
}

void TestMainWindowBackup::allMessagesOfAPhoneIntoANewDatabase()
{
    writeSources();
    MainWindow window;
    selectNode(window, phoneNode(window, QStringLiteral("Phone A")));

    ModalDriver driver;
    PickerSeen seen;
    answerPickerWith(driver, QStringLiteral("Fresh"), &seen);
    actionNamed(window, QStringLiteral("actBackup"))->trigger();
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(seen.items, (QStringList{"", "Archive"}));
    QCOMPARE(seen.suggested, QStringLiteral("Phone A_Backup"));
    QCOMPARE(driver.texts().last(), QStringLiteral("Successfully Backup 5 SMS to local Database."));

    QCOMPARE(childNames(treeModelOf(window)->localDbRoot()), (QStringList{"Archive", "Fresh"}));
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Fresh"))), 5);
    Node* fresh = localDbNode(window, QStringLiteral("Fresh"));
    QCOMPARE(childNames(fresh), (QStringList{"Erin Black", "Dave Brown"}));
    QTRY_COMPARE(currentTreeNode(window), fresh);
    QVERIFY(treeOf(window)->isExpanded(treeModelOf(window)->indexOfNode(fresh)));
    QCOMPARE(counterText(window), QStringLiteral("SMS: 5"));
    QCOMPARE(listTexts(window), kDave.texts + kErin.texts);
}

void TestMainWindowBackup::selectedRowsOfAPhone()
{
    writeSources();
    MainWindow window;
    selectNode(window, phoneNode(window, QStringLiteral("Phone A")));
    selectRows(window, {0, 3});
    const QStringList chosen{listTexts(window).at(0), listTexts(window).at(3)};

    ModalDriver driver;
    answerPickerWith(driver, QStringLiteral("Picked"));
    actionNamed(window, QStringLiteral("actBackup"))->trigger();
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts().last(), QStringLiteral("Successfully Backup 2 SMS to local Database."));
    QTRY_COMPARE(currentTreeNode(window), localDbNode(window, QStringLiteral("Picked")));
    QCOMPARE(listTexts(window), chosen);
}

void TestMainWindowBackup::conversationMergesIntoAnExistingDatabaseInOtherCase()
{
    writeSources();
    MainWindow window;
    Node* phone = phoneNode(window, QStringLiteral("Phone A"));
    selectNode(window, childNamed(phone, QStringLiteral("Erin Black")));
    QCOMPARE(listTexts(window), kErin.texts);

    ModalDriver driver;
    PickerSeen seen;
    answerPickerWith(driver, QStringLiteral("ARCHIVE"), &seen);
    actionNamed(window, QStringLiteral("actBackup"))->trigger(); // no rows: the conversation
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(seen.suggested, QStringLiteral("Phone A_Backup"));
    QCOMPARE(driver.texts().last(), QStringLiteral("Successfully Backup 3 SMS to local Database."));

    QCOMPARE(childNames(treeModelOf(window)->localDbRoot()), QStringList{"Archive"});
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Archive"))), 7);
    Node* archive = localDbNode(window, QStringLiteral("Archive"));
    QCOMPARE(childNames(archive), (QStringList{"Erin Black", "Carol White"}));
    QTRY_COMPARE(currentTreeNode(window), archive);
    QCOMPARE(counterText(window), QStringLiteral("SMS: 7"));
}

void TestMainWindowBackup::mergingIntoADatabaseAlreadyRead()
{
    writeSources();
    MainWindow window;
    Node* archive = localDbNode(window, QStringLiteral("Archive"));
    selectNode(window, archive);
    QCOMPARE(childNames(archive), QStringList{"Carol White"});

    Node* phone = phoneNode(window, QStringLiteral("Phone A"));
    selectNode(window, phone);
    std::unique_ptr<QMenu> menu(window.createTreeContextMenu());
    ModalDriver driver;
    answerPickerWith(driver, QStringLiteral("Archive"));
    menu->actions().first()->trigger(); // "Backup SMS to Local Database": all of the phone
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(childNames(archive), (QStringList{"Erin Black", "Dave Brown", "Carol White"}));
    QTRY_COMPARE(currentTreeNode(window), archive);
    QCOMPARE(counterText(window), QStringLiteral("SMS: 9"));

    // Backing up the same messages again merges without duplicates.
    selectNode(window, phone);
    answerPickerWith(driver, QStringLiteral("archive"));
    actionNamed(window, QStringLiteral("actBackup"))->trigger();
    QVERIFY(driver.waitUntilDone());
    QTRY_COMPARE(currentTreeNode(window), archive);
    QCOMPARE(counterText(window), QStringLiteral("SMS: 9"));
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Archive"))), 9);
}

// The target's conversations are rebuilt while the views show its records.
void TestMainWindowBackup::backingADatabaseUpIntoItselfWhileShown()
{
    writeSources();
    MainWindow window;
    Node* archive = localDbNode(window, QStringLiteral("Archive"));
    selectNode(window, archive);
    selectNode(window, childNamed(archive, QStringLiteral("Carol White")));
    QCOMPARE(listTexts(window), kCarol.texts);

    ModalDriver driver;
    PickerSeen seen;
    answerPickerWith(driver, QStringLiteral("Archive"), &seen);
    window.miBackupAll();
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(seen.suggested, QStringLiteral("Archive_Backup"));
    QCOMPARE(childNames(archive), QStringList{"Carol White"});
    QTRY_COMPARE(currentTreeNode(window), archive);
    QCOMPARE(listTexts(window), kCarol.texts);
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Archive"))), 4);
}

void TestMainWindowBackup::allIsReadAgainFromTheDatabase()
{
    writeSources();
    MainWindow window;
    auto* phone = static_cast<_AbsDBItemNode*>(phoneNode(window, QStringLiteral("Phone A")));
    selectNode(window, phone);
    QCOMPARE(counterText(window), QStringLiteral("SMS: 5"));
    phone->db->close();
    const ConversationSpec late{QStringLiteral("Late Comer"), QStringLiteral("+15550000099"),
                                numberedTexts(QStringLiteral("late"), 2), 400900000};
    writeDatabase(virtualPhoneFolder(QStringLiteral("Phone A")), {late});

    ModalDriver driver;
    answerPickerWith(driver, QStringLiteral("Everything"));
    window.miBackupAll();
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts().last(), QStringLiteral("Successfully Backup 7 SMS to local Database."));
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Everything"))), 7);
}

void TestMainWindowBackup::aPhoneWithoutMessagesOffersNoBackup()
{
    writeEmptyDatabase(virtualPhoneFolder(QStringLiteral("Quiet")));
    MainWindow window;
    selectNode(window, phoneNode(window, QStringLiteral("Quiet")));
    QVERIFY(actionNamed(window, QStringLiteral("actBackup"))->isEnabled());

    ModalDriver driver;
    driver.setAnswerTimeout(300);
    driver.answerByName(QStringLiteral("btnClose")); // must find nothing to answer
    actionNamed(window, QStringLiteral("actBackup"))->trigger();
    QVERIFY(!driver.waitUntilDone(2000));
    QVERIFY(driver.texts().isEmpty());
    QVERIFY(treeModelOf(window)->localDbRoot()->children.isEmpty());
}

void TestMainWindowBackup::cancelledPickerChangesNothing()
{
    writeSources();
    MainWindow window;
    selectNode(window, phoneNode(window, QStringLiteral("Phone A")));
    ModalDriver driver;
    driver.answerByName(QStringLiteral("btnClose"));
    actionNamed(window, QStringLiteral("actBackup"))->trigger();
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(childNames(treeModelOf(window)->localDbRoot()), QStringList{"Archive"});
    QCOMPARE(localDbDir().entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"Archive"});
    QCOMPARE(currentTreeNode(window), phoneNode(window, QStringLiteral("Phone A")));
    QCOMPARE(counterText(window), QStringLiteral("SMS: 5"));
}

QTEST_MAIN(TestMainWindowBackup)
#include "test_main_window_backup.moc"
