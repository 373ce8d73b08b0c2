// The main window against unlucky data folders: a database that fails to
// read, read-only and older files, links leading elsewhere, many databases
// under a low descriptor limit, look-alike names, long lists.
#include "tests/kit/TestHome.h"
#include "tests/kit/WindowTestKit.h"

#include "app/MainWindow.h"
#include "app/messages/ItemModelSms.h"
#include "app/messages/SmsBrowser.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "base/AppDirs.h"
#include "store/IOS6MessageDb.h"
#include "tests/kit/ModalDriver.h"
#include "tests/kit/ReadOnlyFile.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

namespace {
QString databaseFile(const QString& folder)
{
    return IOS6MessageDb(QDir(folder), QString()).databasePath();
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The orphan trigger of an earlier version, which the program replaces
// before its first write to the file.
void putEarlierTrigger(const QString& folder)
{
    Sqlite3DB db;
    db.openThrow(databaseFile(folder), Sqlite3DB::ReadWrite);
    QString error;
    QCOMPARE(
        db.exec(QStringLiteral("DROP TRIGGER clean_orphaned_messages;"
                               "CREATE TRIGGER clean_orphaned_messages AFTER DELETE ON chat_message_join "
                               "BEGIN DELETE FROM message WHERE (SELECT 1 FROM chat_message_join WHERE "
                               "message_id = message.ROWID LIMIT 1) IS NULL; END"),
                error),
        0);
}

// Makes the node current without selecting it, so the views keep what they
// showed: the state a failed selection used to leave behind.
void makeCurrentOnly(MainWindow& window, Node* node)
{
    treeOf(window)->selectionModel()->setCurrentIndex(treeModelOf(window)->indexOfNode(node),
                                                      QItemSelectionModel::NoUpdate);
}

QString refusal(const char* source)
{
    return QStringLiteral("The messages on display do not belong to %1. Select it again; nothing was done.")
        .arg(QLatin1String(source));
}
} // namespace

class TestWindowSafety : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void failedSelectionLeavesNothingToActOn();
    void browsingLeavesFilesAsTheyWere_data();
    void browsingLeavesFilesAsTheyWere();
    void linksLeadingOutsideAreRefused_data();
    void linksLeadingOutsideAreRefused();
    void manyDatabasesUnderALowDescriptorLimit();
    void backupPrefersTheExactName();
    void newListStartsAtTheTop();

private:
    TestHome home;
};

void TestWindowSafety::init()
{
    resetDataFolder();
}

// A and B hold 50 messages each under the same row ids. B fails to read
// while another program holds its lock: the views empty, and a list left
// over from A is never used with B's database.
void TestWindowSafety::failedSelectionLeavesNothingToActOn()
{
    const QString a = localDbFolder(QStringLiteral("A"));
    const QString b = localDbFolder(QStringLiteral("B"));
    writeDatabase(a, {planConversation("Ann", 1, "a", 50)});
    writeDatabase(b, {planConversation("Ben", 2, "b", 50)});
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    selectNode(window, QStringLiteral("db:A"));
    QCOMPARE(listModelOf(window)->rowCount(), 50);

    ModalDriver driver;
    {
        Sqlite3DB locker;
        locker.openThrow(databaseFile(b), Sqlite3DB::ReadWrite);
        locker.executeThrow(QStringLiteral("BEGIN EXCLUSIVE"));
        driver.answer(QMessageBox::Ok);
        selectNode(window, QStringLiteral("db:B"));
        QVERIFY(driver.waitUntilDone(15000));
        QVERIFY2(driver.texts().last().contains(QStringLiteral("database is locked")),
                 qPrintable(driver.texts().last()));
        locker.rollbackTran();
    }
    QCOMPARE(listModelOf(window)->rowCount(), 0);
    QVERIFY(browserOf(window)->toPlainText().isEmpty());
    QCOMPARE(counterText(window), QStringLiteral("SMS: 0"));

    // Views that show A while B is current: every command refuses the list.
    selectNode(window, QStringLiteral("db:A"));
    selectRows(window, {0, 1, 2});
    makeCurrentOnly(window, nodeAt(window, QStringLiteral("db:B")));
    driver.answer(QMessageBox::Ok);
    driver.answer(QMessageBox::Ok);
    window.miDelSel();
    window.miBackupSel(); // no picker: the refusal comes first
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts().size(), 3);
    for (const QString& text : driver.texts().mid(1))
        QVERIFY2(text.contains(refusal("B")), qPrintable(text));
    QCOMPARE(messageCountOf(a), 50);
    QCOMPARE(messageCountOf(b), 50);
}

void TestWindowSafety::browsingLeavesFilesAsTheyWere_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("writable, earlier trigger") << false;
    QTest::newRow("read-only, earlier trigger") << true;
}

void TestWindowSafety::browsingLeavesFilesAsTheyWere()
{
    QFETCH(bool, readOnly);
    const QString folder = localDbFolder(QStringLiteral("Kept"));
    writeDatabase(folder, {planConversation("Kim", 1, "kept", 3)});
    putEarlierTrigger(folder);
    const QString file = databaseFile(folder);
    const QByteArray before = bytesOf(file);
    std::unique_ptr<ReadOnlyFile> guard;
    if (readOnly) {
        guard = std::make_unique<ReadOnlyFile>(file);
        if (!guard->holds())
            QSKIP("this process cannot make a file read-only for itself");
    }
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    ModalDriver driver;
    driver.rejectEveryBox();
    selectNode(window, QStringLiteral("db:Kept"));
    selectNode(window, QStringLiteral("conv:Kept/Kim"));
    QCOMPARE(listTexts(window), (QStringList{"kept 1", "kept 2", "kept 3"}));
    QCOMPARE(driver.texts(), QStringList());
    QCOMPARE(bytesOf(file), before);
}

void TestWindowSafety::linksLeadingOutsideAreRefused_data()
{
    QTest::addColumn<QString>("link"); // below the database folder; empty: the folder itself
    QTest::newRow("file-relay") << "file-relay";
    QTest::newRow("a folder further down") << "file-relay/var/mobile";
    QTest::newRow("the database folder") << "";
}

// Selecting such a database creates nothing where the link leads.
void TestWindowSafety::linksLeadingOutsideAreRefused()
{
    QFETCH(QString, link);
    QTemporaryDir outside;
    const QString folder = localDbFolder(QStringLiteral("Linked"));
    const QString linkPath = link.isEmpty() ? folder : folder + QLatin1Char('/') + link;
    QVERIFY(QDir().mkpath(QFileInfo(linkPath).absolutePath()));
    QVERIFY(QFile::link(outside.path(), linkPath));

    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    selectNode(window, QStringLiteral("db:Linked"));
    QVERIFY(driver.waitUntilDone());
    QVERIFY2(driver.texts().first().contains(QStringLiteral("symbolic link")),
             qPrintable(driver.texts().first()));
    QCOMPARE(QDir(outside.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

// Each database browsed gives its descriptors back: 100 of them one after
// another under a limit of 64 open files.
void TestWindowSafety::manyDatabasesUnderALowDescriptorLimit()
{
    const int count = 100;
    for (int i = 0; i < count; ++i)
        writeDatabase(localDbFolder(QStringLiteral("db%1").arg(i, 3, 10, QLatin1Char('0'))),
                      {planConversation("Pat", 1, "only", 1)});
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    ModalDriver driver;
    driver.rejectEveryBox();
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = 64;
    QCOMPARE(setrlimit(RLIMIT_NOFILE, &low), 0);
    int shown = 0;
    for (Node* node : treeModelOf(window)->localDbRoot()->children) {
        selectNode(window, node);
        if (counterText(window) == QLatin1String("SMS: 1"))
            ++shown;
    }
    QCOMPARE(setrlimit(RLIMIT_NOFILE, &saved), 0);
    QVERIFY2(driver.texts().isEmpty(), qPrintable(driver.texts().join(QLatin1Char('\n'))));
    QCOMPARE(shown, count);
}

// "alpha" and "Alpha" both exist: a backup into "alpha" goes into "alpha".
void TestWindowSafety::backupPrefersTheExactName()
{
    writeStandardSources(1);
    writeDatabase(localDbFolder(QStringLiteral("alpha")), {planConversation("Lee", 7, "lower", 1)});
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    selectNode(window, QStringLiteral("conv:Phone A/Erin Black"));
    ModalDriver driver;
    driver.answerWith(
        [](QWidget* picker) {
            auto* combo = picker->findChild<QComboBox*>(QStringLiteral("cbLocalDbNames"));
            combo->lineEdit()->setText(QStringLiteral("alpha"));
            picker->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        },
        [](QWidget* w) { return w->objectName() == QLatin1String("LocalDbSelForm"); });
    driver.answer(QMessageBox::Ok);
    triggerAction(window, "actBackup");
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("alpha"))), 1 + kErin.texts.size());
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Alpha"))), kAlice.texts.size() + kBob.texts.size());
}

void TestWindowSafety::newListStartsAtTheTop()
{
    writeDatabase(localDbFolder(QStringLiteral("Long")), {planConversation("Lou", 1, "long", 300)});
    writeDatabase(localDbFolder(QStringLiteral("Other")), {planConversation("Oz", 2, "other", 300)});
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    selectNode(window, QStringLiteral("db:Long"));
    QScrollBar* bar = listOf(window)->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(bar->maximum());
    selectNode(window, QStringLiteral("db:Other"));
    QCOMPARE(bar->value(), 0);
}

QTEST_MAIN(TestWindowSafety)
#include "test_window_safety.moc"
