// Importing a phone's XML backup through the window: the file dialog, the
// database picker, the progress dialog's verdict and the database shown.
#include "WindowTestKit.h"
#include "tests/support/ModalDriver.h"

#include "app/MainWindow.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QtTest>

namespace {

const QByteArray kBackup =
    "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n<smses count=\"1\">\n"
    "<sms protocol=\"0\" address=\"+15550000001\" date=\"1700000000000\" type=\"1\" subject=\"null\" "
    "body=\"Hello &#55357;&#56832;\" contact_name=\"Alice Smith\" />\n"
    "<mms date=\"1700000001000\"><parts /></mms>\n"
    "<sms protocol=\"0\" address=\"+15550000001\" date=\"1700000060000\" type=\"2\" subject=\"null\" "
    "body=\"Line one&#10;line two\" contact_name=\"Alice Smith\" />\n"
    "<sms protocol=\"0\" address=\"+15550000002\" date=\"1700000120000\" type=\"1\" subject=\"null\" "
    "body=\"New contact\" contact_name=\"(Unknown)\" />\n"
    "</smses>\n";

// Picks the file in the open dialog, then names the database in the picker.
void answerFileAndPicker(ModalDriver& driver, const QString& file, const QString& name)
{
    driver.answerWith(
        [file](QWidget* w) {
            w->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(file);
            static_cast<QDialog*>(w)->accept();
        },
        [](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; }, QStringLiteral("open dialog"));
    answerPickerWith(driver, name);
}

} // namespace

class TestWindowImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void importsIntoANewOrExistingDatabase_data();
    void importsIntoANewOrExistingDatabase();
    void aBrokenFileChangesNothing();

private:
    QString writeBackup(const QByteArray& content);

    QTemporaryDir home;
};

void TestWindowImport::initTestCase()
{
    QVERIFY(home.isValid());
    prepareWindowTestHome(home);
}

void TestWindowImport::init()
{
    resetDataFolder();
    writeStandardSources(0);
}

QString TestWindowImport::writeBackup(const QByteArray& content)
{
    const QString path = home.filePath(QStringLiteral("backup.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("can't write %s", qPrintable(path));
    return path;
}

void TestWindowImport::importsIntoANewOrExistingDatabase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("messages"); // in the database afterwards
    const int alpha = int(kAlice.texts.size() + kBob.texts.size());
    QTest::newRow("new database") << "From XML" << 3;
    QTest::newRow("merged into Alpha") << "Alpha" << alpha + 3;
}

void TestWindowImport::importsIntoANewOrExistingDatabase()
{
    QFETCH(QString, name);
    QFETCH(int, messages);
    const QString file = writeBackup(kBackup);
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    ModalDriver driver;
    answerFileAndPicker(driver, file, name);
    triggerAction(window, "actImportXml");
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(driver.texts().last(), QStringLiteral("Imported 3 SMS. Already in the database: 0. MMS skipped: "
                                                   "1. Unusable elements skipped: 0."));
    // The database is shown with what it now holds.
    QCOMPARE(messageCountOf(localDbFolder(name)), messages);
    Node* target = nodeAt(window, QStringLiteral("db:") + name);
    QVERIFY(childNames(target).contains(QStringLiteral("Alice Smith")));
    QTRY_COMPARE(currentTreeNode(window), target);
    QCOMPARE(counterText(window), QStringLiteral("SMS: %1").arg(messages));
}

// A file that breaks off halfway: the error box, and Alpha as it was.
void TestWindowImport::aBrokenFileChangesNothing()
{
    const QString file = writeBackup(kBackup.left(kBackup.size() - 40));
    const int before = messageCountOf(localDbFolder(QStringLiteral("Alpha")));
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    ModalDriver driver;
    answerFileAndPicker(driver, file, QStringLiteral("Alpha"));
    triggerAction(window, "actImportXml");
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QVERIFY2(driver.texts().last().contains(QLatin1String("ends in the middle of an element")),
             qPrintable(driver.texts().last()));
    QCOMPARE(messageCountOf(localDbFolder(QStringLiteral("Alpha"))), before);
}

QTEST_MAIN(TestWindowImport)
#include "test_window_import.moc"
