// The main window driven through its widgets: action states, tree selection,
// message views, searches, context menus, backup and deletion.
#include "tests/kit/TestHome.h"
#include "tests/kit/WindowTestKit.h"

#include "app/MainWindow.h"
#include "app/StartupConversion.h"
#include "app/messages/ItemModelSms.h"
#include "app/messages/SmsBrowser.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "base/AppDirs.h"
#include "store/IOS6MessageDb.h"
#include "tests/kit/ModalDriver.h"
#include "tools/gen_old_localdb/OldLocalDbWriter.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QLockFile>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {
QStringList enabledActions(MainWindow& window)
{
    QStringList names;
    for (const char* name : {"actBackup", "actA2A", "actDb2A", "actExport", "actPrint", "actDelete"}) {
        if (window.findChild<QAction*>(QLatin1String(name))->isEnabled())
            names << QLatin1String(name);
    }
    return names;
}

void search(MainWindow& window, const char* field, const QString& keyword)
{
    auto* edit = window.findChild<QLineEdit*>(QLatin1String(field));
    edit->clear();
    QTest::keyClicks(edit, keyword);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Runs the search and returns the text of the box it opened.
QString searchAnswered(MainWindow& window, const char* field, const QString& keyword)
{
    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    search(window, field, keyword);
    return driver.waitUntilDone() ? driver.texts().value(0) : QStringLiteral("no box");
}

// Menu entries as the user reads them: the entry texts are keys of the
// translation (context QObject); " (disabled)" stays as it is.
QStringList translatedEntries(QStringList entries)
{
    const QString off = QStringLiteral(" (disabled)");
    for (QString& entry : entries) {
        const bool disabled = entry.endsWith(off);
        const QByteArray key = (disabled ? entry.chopped(off.size()) : entry).toUtf8();
        entry = QCoreApplication::translate("QObject", key.constData()) + (disabled ? off : QString());
    }
    return entries;
}

void checkViewsEmpty(MainWindow& window)
{
    QCOMPARE(listModelOf(window)->rowCount(), 0);
    QVERIFY(browserOf(window)->messages().isEmpty());
    QVERIFY(browserOf(window)->toPlainText().isEmpty());
    QCOMPARE(counterText(window), QStringLiteral("SMS: 0"));
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void actionsAndContextMenus_data();
    void actionsAndContextMenus();
    void localDatabaseSelection();
    void virtualPhonesAreListedAndDisconnected();
    void contactSearch();
    void messageSearch();
    void backup_data();
    void backup();
    void deletion_data();
    void deletion();
    void deletionRefusesAFolderOutsideTheLocalDatabases();
    void exportEveryFilter_data();
    void exportEveryFilter();
    void printShowsThePreview();
    void oldDatabasesConvertAtStartUp();

private:
    TestHome home;
};

void TestMainWindow::init()
{
    resetDataFolder();
}

void TestMainWindow::localDatabaseSelection()
{
    writeStandardSources(1);
    writeDatabase(localDbFolder(QStringLiteral("Empty")), {});
    writeCorruptDatabase(localDbFolder(QStringLiteral("Broken")));
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    QCOMPARE(childNames(treeModelOf(window)->localDbRoot()),
             (QStringList{"Alpha", "Beta", "Broken", "Empty"}));
    Node* alpha = nodeAt(window, QStringLiteral("db:Alpha"));
    QVERIFY(alpha->children.isEmpty()); // listed, not read

    selectNode(window, alpha);
    QCOMPARE(childNames(alpha), (QStringList{"Bob Jones", "Alice Smith"}));
    QVERIFY(treeOf(window)->isExpanded(treeModelOf(window)->indexOfNode(alpha)));
    QCOMPARE(listTexts(window), kAlice.texts + kBob.texts);
    QCOMPARE(browserOf(window)->messages(), listModelOf(window)->messages());
    QCOMPARE(counterText(window), QStringLiteral("SMS: 5"));

    // New messages land in both files; the database is not read again, the phone is.
    Node* phone = nodeAt(window, QStringLiteral("phone:Phone A"));
    selectNode(window, phone);
    const ConversationPlan late = planConversation("Late Comer", 99, "late", 2);
    writeDatabase(localDbFolder(QStringLiteral("Alpha")), {late});
    writeDatabase(virtualPhoneFolder(QStringLiteral("Phone A")), {late});
    selectNode(window, alpha);
    QCOMPARE(listTexts(window), kAlice.texts + kBob.texts);
    selectNode(window, phone);
    QCOMPARE(counterText(window), QStringLiteral("SMS: 7"));

    // A corrupt database says so; the views show nothing of another source.
    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    selectNode(window, QStringLiteral("db:Broken"));
    QVERIFY(driver.waitUntilDone());
    QVERIFY(driver.texts().first().startsWith(QStringLiteral("An Error Occurred.")));
    QVERIFY2(driver.texts().first().contains(QStringLiteral("not a database")),
             qPrintable(driver.texts().first()));
    checkViewsEmpty(window);
    selectNode(window, QStringLiteral("db:Beta"));
    QCOMPARE(listTexts(window), kCarol.texts);

    // A database without conversations clears the views.
    selectNode(window, QStringLiteral("db:Empty"));
    QVERIFY(nodeAt(window, QStringLiteral("db:Empty"))->children.isEmpty());
    checkViewsEmpty(window);
}

void TestMainWindow::virtualPhonesAreListedAndDisconnected()
{
    writeStandardSources(2);
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    QCOMPARE(childNames(treeModelOf(window)->deviceRoot()), (QStringList{"Phone A", "Phone B"}));
    auto* phone = static_cast<_AndroidDeviceItemNode*>(nodeAt(window, QStringLiteral("phone:Phone A")));
    QCOMPARE(phone->type, int(kNodeDevice));
    QCOMPARE(QDir(phone->device.uid), QDir(virtualPhoneFolder(QStringLiteral("Phone A"))));
    // Conversations are there from the start, newest first.
    QCOMPARE(childNames(phone), (QStringList{"Erin Black", "Dave Brown"}));
    selectNode(window, childNamed(phone, QStringLiteral("Erin Black")));
    QCOMPARE(listTexts(window), kErin.texts);

    // Disconnecting the phone on display clears the views.
    selectNode(window, phone);
    std::unique_ptr<QMenu> menu(window.createTreeContextMenu());
    menu->actions().last()->trigger(); // "Disconnect Device"
    QCOMPARE(childNames(treeModelOf(window)->deviceRoot()), QStringList{"Phone B"});
    checkViewsEmpty(window);
    // A phone that is not shown goes without touching the views.
    selectNode(window, QStringLiteral("conv:Phone B/Frank Green"));
    window.androidDeviceDisconnected(QStringLiteral("no-such-serial"));
    QCOMPARE(listTexts(window), kFrank.texts);
}

void TestMainWindow::contactSearch()
{
    writeStandardSources(0);
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    Node* alice = nodeAt(window, QStringLiteral("conv:Alpha/Alice Smith"));
    Node* bob = nodeAt(window, QStringLiteral("conv:Alpha/Bob Jones"));
    selectNode(window, bob);

    search(window, "txtHandleKeyword", QStringLiteral("  SMITH "));
    QCOMPARE(currentTreeNode(window), alice);
    QCOMPARE(listTexts(window), kAlice.texts);
    // Only the current conversation matches: the search wraps and ends on it.
    search(window, "txtHandleKeyword", QStringLiteral("alice"));
    QCOMPARE(currentTreeNode(window), alice);
    // From the last row the search wraps to the first.
    search(window, "txtHandleKeyword", QStringLiteral("jones"));
    QCOMPARE(currentTreeNode(window), bob);

    QCOMPARE(searchAnswered(window, "txtHandleKeyword", QStringLiteral("zelda")),
             QCoreApplication::translate("MainWindow", "IDS_CAN_NOT_FOUNDCONTACT_KEYWORD_%0")
                 .arg(QStringLiteral("zelda")));
    QCOMPARE(currentTreeNode(window), bob);
}

void TestMainWindow::messageSearch()
{
    writeStandardSources(0);
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    QCOMPARE(searchAnswered(window, "txtSMSKeyword", QStringLiteral("hello")),
             QCoreApplication::translate("MainWindow", "IDS_CAN_NOT_FOUND_AND_MESSAGES"));

    selectNode(window, QStringLiteral("db:Alpha")); // alpha alice 1..3, alpha bob 1..2
    search(window, "txtSMSKeyword", QStringLiteral("BOB"));
    QCOMPARE(listOf(window)->currentIndex().row(), 3);
    window.findChild<QToolButton*>(QStringLiteral("btnSearchSMS"))->click();
    QCOMPARE(listOf(window)->currentIndex().row(), 4);
    window.findChild<QToolButton*>(QStringLiteral("btnSearchSMS"))->click(); // starts again at the top
    QCOMPARE(listOf(window)->currentIndex().row(), 3);

    QCOMPARE(searchAnswered(window, "txtSMSKeyword", QStringLiteral("carol")),
             QCoreApplication::translate("MainWindow", "IDS_CAN_NOT_FOUNDSMS_KEYWORD_%0")
                 .arg(QStringLiteral("carol")));
    QCOMPARE(listOf(window)->currentIndex().row(), 3);
}

void TestMainWindow::actionsAndContextMenus_data()
{
    QTest::addColumn<int>("phones");
    QTest::addColumn<QString>("node");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("treeMenu");
    QTest::addColumn<QStringList>("listMenu");
    // The transfer entries need one phone besides a phone, or any phone for a database.
    const auto off = [](QStringList entries) {
        for (QString& entry : entries) {
            if (entry.startsWith(QLatin1String("Transfer")))
                entry += QStringLiteral(" (disabled)");
        }
        return entries;
    };
    const QStringList phoneTree{"Backup SMS to Local Database",
                                "Transfer Android SMS to other Android",
                                "Export SMS to File",
                                "Print SMS",
                                "View Cache Files",
                                "Disconnect Device"};
    const QStringList phoneChatTree{"Backup SMS with this contact to Local Database",
                                    "Transfer SMS with this contact to other Android",
                                    "Export SMS with this contact to File", "Print SMS with this contact"};
    const QStringList dbTree{"Transfer SMS from Database to Android", "Export SMS to File", "Print SMS",
                             "Delete this Database"};
    const QStringList dbChatTree{"Transfer SMS with this contact to Android",
                                 "Export SMS with this contact to File", "Print SMS with this contact",
                                 "Delete SMS with this contact"};
    const QStringList phoneList{"Backup Selected SMS to Local Database",
                                "Transfer Selected SMS to other Android", "Export Selected SMS to File",
                                "Print Selected SMS"};
    const QStringList dbList{"Transfer Selected SMS to Android", "Export Selected SMS to File",
                             "Print Selected SMS", "Delete Selected SMS"};
    const QStringList dbAlone{"actExport", "actPrint", "actDelete"};
    const QStringList dbWithPhone{"actDb2A", "actExport", "actPrint", "actDelete"};
    const QStringList twoPhones{"actBackup", "actA2A", "actExport", "actPrint"};
    const QStringList none;
    QTest::newRow("nothing selected") << 2 << QString() << none << none << none;
    QTest::newRow("Local Databases") << 1 << "root:Local Databases" << none
                                     << QStringList{"Open Database Folder", "Import XML Backup\u2026"}
                                     << none;
    QTest::newRow("Devices") << 2 << "root:Devices" << none << none << none;
    QTest::newRow("phone, one phone")
        << 1 << "phone:Phone A" << QStringList{"actBackup", "actExport", "actPrint"} << off(phoneTree)
        << off(phoneList);
    QTest::newRow("phone, two phones") << 2 << "phone:Phone A" << twoPhones << phoneTree << phoneList;
    QTest::newRow("phone conversation, two phones")
        << 2 << "conv:Phone B/Frank Green" << twoPhones << phoneChatTree << phoneList;
    QTest::newRow("database, no phone") << 0 << "db:Alpha" << dbAlone << off(dbTree) << off(dbList);
    QTest::newRow("database conversation, no phone")
        << 0 << "conv:Alpha/Alice Smith" << dbAlone << off(dbChatTree) << off(dbList);
    QTest::newRow("database, one phone") << 1 << "db:Beta" << dbWithPhone << dbTree << dbList;
    QTest::newRow("database conversation, two phones")
        << 2 << "conv:Alpha/Bob Jones" << dbWithPhone << dbChatTree << dbList;
}

void TestMainWindow::actionsAndContextMenus()
{
    QFETCH(int, phones);
    QFETCH(QString, node);
    QFETCH(QStringList, actions);
    QFETCH(QStringList, treeMenu);
    QFETCH(QStringList, listMenu);
    writeStandardSources(phones);
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    QCOMPARE(enabledActions(window), QStringList());
    if (!node.isEmpty())
        selectNode(window, node);
    QCOMPARE(enabledActions(window), actions);
    std::unique_ptr<QMenu> menu(window.createTreeContextMenu());
    QCOMPARE(menuEntries(menu.get()), translatedEntries(treeMenu));
    menu.reset(window.createSmsContextMenu());
    QCOMPARE(menuEntries(menu.get()), translatedEntries(listMenu));
}

void TestMainWindow::backup_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<bool>("late"); // messages arrive after the phone was shown
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("saved");
    QTest::addColumn<QStringList>("databases");
    QTest::addColumn<QStringList>("conversations");
    QTest::addColumn<int>("stored");
    // Rows of the phone, oldest first: dave 1, dave 2, erin 1, erin 2, erin 3.
    // "All" reads the phone again, so late messages go too.
    QTest::newRow("all of a phone into a new database")
        << "phone:Phone A" << QList<int>() << true << "Fresh" << 7 << QStringList{"Alpha", "Beta", "Fresh"}
        << QStringList{"Late Comer", "Erin Black", "Dave Brown"} << 7;
    QTest::newRow("selected rows") << "phone:Phone A" << QList<int>{0, 3} << false << "Picked" << 2
                                   << QStringList{"Alpha", "Beta", "Picked"}
                                   << QStringList{"Erin Black", "Dave Brown"} << 2;
    QTest::newRow("conversation merged into a name in other case")
        << "conv:Phone A/Erin Black" << QList<int>() << false << "BETA" << 3 << QStringList{"Alpha", "Beta"}
        << QStringList{"Erin Black", "Carol White"} << 7;
}

void TestMainWindow::backup()
{
    QFETCH(QString, node);
    QFETCH(QList<int>, rows);
    QFETCH(bool, late);
    QFETCH(QString, name);
    QFETCH(int, saved);
    QFETCH(QStringList, databases);
    QFETCH(QStringList, conversations);
    QFETCH(int, stored);
    writeStandardSources(1);
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    selectNode(window, node);
    selectRows(window, rows);
    QStringList chosen;
    for (int row : rows)
        chosen << listTexts(window).at(row);
    if (late)
        writeDatabase(virtualPhoneFolder(QStringLiteral("Phone A")),
                      {planConversation("Late Comer", 99, "late", 2)});

    ModalDriver driver;
    QString suggested;
    answerPickerWith(driver, name, &suggested);
    triggerAction(window, "actBackup");
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(suggested, QStringLiteral("Phone A_Backup"));
    QCOMPARE(driver.texts().last(),
             QCoreApplication::translate("BackupSMSThread", "IDS_SUC_BACKUP_%1_SMS").arg(saved));

    // The target is shown with its conversations.
    QCOMPARE(childNames(treeModelOf(window)->localDbRoot()), databases);
    const QString target = name == QLatin1String("BETA") ? QStringLiteral("Beta") : name;
    QCOMPARE(messageCountOf(localDbFolder(target)), stored);
    Node* targetNode = nodeAt(window, QStringLiteral("db:") + target);
    QCOMPARE(childNames(targetNode), conversations);
    QTRY_COMPARE(currentTreeNode(window), targetNode);
    QCOMPARE(counterText(window), QStringLiteral("SMS: %1").arg(stored));
    if (!rows.isEmpty())
        QCOMPARE(listTexts(window), chosen);
}

void TestMainWindow::deletion_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("siblings"); // the node's parent's children afterwards
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("stored"); // left in Alpha; -1: the folder is gone
    const QString selected = QCoreApplication::translate("MainWindow", "IDS_CONFIRM_DEL_SEL_MESSAGES");
    const QString chat = QCoreApplication::translate("MainWindow", "IDS_CONFIRM_DEL_THIS_CHAT");
    const QString db = QCoreApplication::translate("MainWindow", "IDS_CONFIRM_DEL_THIS_LOCALDB");
    const QString deleted2 =
        QCoreApplication::translate("DeleteMessagesThread", "IDS_SUC_DELETE_%1_MESSAGES").arg(2);
    const QString alphaDeleted = QCoreApplication::translate("MainWindow", "IDS_DEL_LOCALDB_SUC")
                                     .replace(QStringLiteral("%0"), "Alpha");
    const QStringList dbs{"Alpha", "Beta"};
    const QStringList chats{"Bob Jones", "Alice Smith"};
    const QStringList all = kAlice.texts + kBob.texts; // alpha alice 1..3, alpha bob 1..2
    QTest::newRow("selected, yes") << "db:Alpha" << QList<int>{0, 4} << true
                                   << QStringList{selected, deleted2} << dbs
                                   << QStringList{"alpha alice 2", "alpha alice 3", "alpha bob 1"} << 3;
    QTest::newRow("selected, no") << "db:Alpha" << QList<int>{0, 1} << false << QStringList{selected} << dbs
                                  << all << 5;
    QTest::newRow("conversation, yes")
        << "conv:Alpha/Bob Jones" << QList<int>() << true << QStringList{chat, deleted2}
        << QStringList{"Alice Smith"} << QStringList() << 3;
    QTest::newRow("conversation, no")
        << "conv:Alpha/Bob Jones" << QList<int>() << false << QStringList{chat} << chats << kBob.texts << 5;
    QTest::newRow("database, yes") << "db:Alpha" << QList<int>() << true << QStringList{db, alphaDeleted}
                                   << QStringList{"Beta"} << QStringList() << -1;
    QTest::newRow("database, no") << "db:Alpha" << QList<int>() << false << QStringList{db} << dbs << all
                                  << 5;
}

// "Delete SMS" deletes the selected rows, else the conversation, else the
// whole database, each after its question.
void TestMainWindow::deletion()
{
    QFETCH(QString, node);
    QFETCH(QList<int>, rows);
    QFETCH(bool, yes);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, siblings);
    QFETCH(QStringList, shown);
    QFETCH(int, stored);
    writeStandardSources(1);
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    Node* target = nodeAt(window, node);
    Node* parent = target->parent;
    selectNode(window, target);
    selectRows(window, rows);

    ModalDriver driver;
    driver.answer(yes ? QMessageBox::Yes : QMessageBox::No);
    if (yes)
        driver.answer(QMessageBox::Ok);
    triggerAction(window, "actDelete");
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(driver.texts(), texts);

    QCOMPARE(childNames(parent), siblings);
    QCOMPARE(listTexts(window), shown);
    QCOMPARE(counterText(window), QStringLiteral("SMS: %1").arg(shown.size()));
    if (stored < 0)
        QVERIFY(!QDir(localDbFolder(QStringLiteral("Alpha"))).exists());
    else
        QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Alpha"))), stored);
    // The views go on working with the other sources.
    selectNode(window, QStringLiteral("db:Beta"));
    QCOMPARE(listTexts(window), kCarol.texts);
}

void TestMainWindow::deletionRefusesAFolderOutsideTheLocalDatabases()
{
    const QString victim = appDataDir().absoluteFilePath(QStringLiteral("victim"));
    writeDatabase(victim, {});
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    Node* stray = treeModelOf(window)->addLocalDb(
        QSharedPointer<IOS6MessageDb>::create(QDir(victim), QString()), QStringLiteral("../victim"));
    selectNode(window, stray);

    ModalDriver driver;
    driver.answer(QMessageBox::Yes);
    driver.answer(QMessageBox::Ok);
    window.miDelAll();
    QVERIFY(driver.waitUntilDone());
    QVERIFY(driver.texts().last().startsWith(QStringLiteral("An Error Occurred.")));
    QVERIFY(QDir(victim).exists());
    QVERIFY(childNames(treeModelOf(window)->localDbRoot()).contains(QStringLiteral("../victim")));
}

void TestMainWindow::exportEveryFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("typed");  // the name typed into the save dialog
    QTest::addColumn<QString>("output"); // what appears
    QTest::addColumn<QString>("variant");
    QTest::addColumn<int>("count");
    const struct
    {
        const char* filter;
        const char* typed;
        const char* output;
    } filters[] = {{"Text Files(*.txt)", "out", "out.txt"},   {"Doc Files(*.doc)", "out", "out.doc"},
                   {"CSV Files(*.csv)", "out", "out.csv"},    {"PDF Files(*.pdf)", "out.pdf", "out-pdf"},
                   {"HTML Files(*.html)", "out", "out-html"}, {"XML Backup (*.xml)", "out", "out.xml"}};
    const int all = int(kAlice.texts.size() + kBob.texts.size());
    for (const auto& f : filters) {
        for (const auto& [variant, count] : {std::pair<const char*, int>{"selection", 2},
                                             {"conversation", int(kAlice.texts.size())},
                                             {"source", all}}) {
            QTest::newRow(
                qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(f.filter), QLatin1String(variant))))
                << f.filter << f.typed << f.output << variant << count;
        }
    }
}

// From the window: the save dialog's filter decides the format and the name.
void TestMainWindow::exportEveryFilter()
{
    QFETCH(QString, filter);
    QFETCH(QString, typed);
    QFETCH(QString, output);
    QFETCH(QString, variant);
    QFETCH(int, count);
    writeStandardSources(0);
    QTemporaryDir target;
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    if (variant == QLatin1String("source")) {
        selectNode(window, QStringLiteral("db:Alpha"));
    } else {
        selectNode(window, QStringLiteral("conv:Alpha/Alice Smith"));
        if (variant == QLatin1String("selection"))
            selectRows(window, {0, 2});
    }
    ModalDriver driver;
    const QString chosen = target.filePath(typed);
    answerFileDialog(driver, chosen, filter);
    driver.answer(QMessageBox::Ok);
    triggerAction(window, "actExport");
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    // The box says how many went out and where.
    const QString success =
        QCoreApplication::translate("ExportSMSThread", "IDS_SUC_EXPORT_%1_MMS").arg(count);
    const QString where = QCoreApplication::translate("MainWindow", "Saved to %1")
                              .arg(QDir::toNativeSeparators(target.filePath(output)));
    QCOMPARE(driver.texts().last(), success + QStringLiteral("<br/><br/>") + where);
    const QFileInfo result(target.filePath(output));
    QVERIFY2(result.exists(), qPrintable(output));
    if (result.isDir())
        QVERIFY(!QDir(result.filePath()).entryList(QDir::Files).isEmpty());
    else
        QVERIFY(result.size() > 0);
    QFile file(result.filePath());
    if (result.suffix() == QLatin1String("xml") && file.open(QIODevice::ReadOnly))
        QCOMPARE(file.readAll().count("<sms "), count);
}

void TestMainWindow::printShowsThePreview()
{
    writeStandardSources(0);
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    selectNode(window, QStringLiteral("conv:Alpha/Alice Smith"));
    ModalDriver driver;
    int pages = 0;
    driver.answerWith(
        [&pages](QWidget* preview) {
            pages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
            static_cast<QDialog*>(preview)->reject();
        },
        [](QWidget* w) { return w->objectName() == QLatin1String("printPreview"); },
        QStringLiteral("preview"));
    triggerAction(window, "actPrint");
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(driver.texts().first().section(QLatin1Char('\n'), 0, 0), QStringLiteral("Print SMS"));
    QCOMPARE(pages, 1);
}

// A file of the earlier format converts under the progress dialog, which
// says so; the next start shows it as a local database with its messages.
// While another Textferry holds the conversion lock, nothing is converted.
void TestMainWindow::oldDatabasesConvertAtStartUp()
{
    const QList<OldSmsRow> rows = generatedOldRows(30, 5);
    writeOldLocalDatabase(localDbFolder(QStringLiteral("Old Phone.db")), rows);
    {
        QLockFile other(appDataDir().absoluteFilePath(QStringLiteral("convert.lock")));
        QVERIFY(other.tryLock(0));
        MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
        ModalDriver driver;
        driver.rejectEveryBox();
        QVERIFY(!convertOldLocalDatabasesIfAny());
        QCOMPARE(driver.texts(), QStringList());
        QVERIFY(QFileInfo(localDbFolder(QStringLiteral("Old Phone.db"))).isFile());
    }
    {
        MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
        ModalDriver driver;
        driver.answer(QMessageBox::Ok);
        QVERIFY(convertOldLocalDatabasesIfAny());
        QVERIFY(driver.waitUntilDone());
        QCOMPARE(driver.texts(), QStringList{QCoreApplication::translate(
                                     "LocalDbUpdateThread", "IDS_LOCALDB_UPDATE_SUC_RESTART_REFRESH")});
        QVERIFY(!convertOldLocalDatabasesIfAny()); // nothing left to convert
    }
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    selectNode(window, QStringLiteral("db:Old Phone.db"));
    QCOMPARE(counterText(window), QStringLiteral("SMS: %1").arg(rows.size()));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
