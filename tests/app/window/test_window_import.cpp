// Importing a phone's XML backup through the window: the file dialog, the
// database picker, the progress dialog's verdict and the database shown.
#include "tests/kit/ModalDriver.h"
#include "tests/kit/TestHome.h"
#include "tests/kit/WindowTestKit.h"

#include "app/MainWindow.h"
#include "app/tree/ItemModelMain.h"
#include "store/IOS6MessageDb.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
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

// Picks the file in the open dialog, then names the database in the picker;
// then the box with the job's verdict is answered with OK.
void answerFileAndPicker(ModalDriver& driver, const QString& file, const QString& name)
{
    answerFileDialog(driver, file);
    answerPickerWith(driver, name);
}

// The same, with the country dialog between the picker and the verdict:
// records the country it offered and chooses `chosen` (the offered one when empty).
void answerFilePickerAndCountry(ModalDriver& driver, const QString& file, const QString& name,
                                QString* offered, const QString& chosen = QString())
{
    answerFileDialog(driver, file);
    driver.answerWith(
        [name](QWidget* picker) {
            picker->findChild<QComboBox*>(QStringLiteral("cbLocalDbNames"))->setEditText(name);
            picker->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        },
        [](QWidget* w) { return w->objectName() == QLatin1String("LocalDbSelForm"); },
        QStringLiteral("picker"));
    driver.answerWith(
        [offered, chosen](QWidget* form) {
            auto* list = form->findChild<QListWidget*>(QStringLiteral("ltCountries"));
            *offered = list->currentItem() ? list->currentItem()->text() : QString();
            if (!chosen.isEmpty())
                list->setCurrentItem(list->findItems(chosen, Qt::MatchExactly).value(0));
            form->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        },
        [](QWidget* w) { return w->objectName() == QLatin1String("CountrySelForm"); },
        QStringLiteral("country"));
    driver.answer(QMessageBox::Yes);
    driver.answer(QMessageBox::Ok);
}

QString storedCountry(const QString& name)
{
    IOS6MessageDb db(QDir(localDbFolder(name)), QString());
    return db.mostCommonHandleCountry();
}

} // namespace

class TestWindowImport : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void importsIntoANewOrExistingDatabase_data();
    void importsIntoANewOrExistingDatabase();
    void aDatabaseKeepsItsCountry();
    void aBrokenFileChangesNothing_data();
    void aBrokenFileChangesNothing();

private:
    QString writeBackup(const QByteArray& content, const QString& name = QStringLiteral("backup.xml"));

    TestHome home;
};

void TestWindowImport::init()
{
    resetDataFolder();
    writeStandardSources(0);
}

QString TestWindowImport::writeBackup(const QByteArray& content, const QString& name)
{
    const QString path = home.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("can't write %s", qPrintable(path));
    return path;
}

void TestWindowImport::importsIntoANewOrExistingDatabase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("messages"); // in the database afterwards
    QTest::addColumn<QString>("kept"); // the country its correspondents keep
    const int alpha = int(kAlice.texts.size() + kBob.texts.size());
    QTest::newRow("new database") << "From XML" << 3 << "US";
    // Alpha's correspondents were there before, without a country; they stay so.
    QTest::newRow("merged into Alpha") << "Alpha" << alpha + 3 << "";
}

void TestWindowImport::importsIntoANewOrExistingDatabase()
{
    QFETCH(QString, name);
    QFETCH(int, messages);
    QFETCH(QString, kept);
    const QString file = writeBackup(kBackup);
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    ModalDriver driver;
    QString offered;
    answerFilePickerAndCountry(driver, file, name, &offered);
    triggerAction(window, "actImportXml");
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    // The country of the file's international numbers is offered first.
    QCOMPARE(offered, QStringLiteral("United States (+1)"));
    QCOMPARE(driver.texts().last(), QStringLiteral("Imported 3 SMS. Already in the database: 0. MMS skipped: "
                                                   "1. Unusable elements skipped: 0."));
    QCOMPARE(storedCountry(name), kept);
    // The database is shown with what it now holds.
    QCOMPARE(messageCountOf(localDbFolder(name)), messages);
    Node* target = nodeAt(window, QStringLiteral("db:") + name);
    QVERIFY(childNames(target).contains(QStringLiteral("Alice Smith")));
    QTRY_COMPARE(currentTreeNode(window), target);
    QCOMPARE(counterText(window), QStringLiteral("SMS: %1").arg(messages));
}

// The country chosen at the first import stays with the database: the next
// import asks no more and reads national numbers with it.
void TestWindowImport::aDatabaseKeepsItsCountry()
{
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    ModalDriver driver;
    QString offered;
    answerFilePickerAndCountry(driver, writeBackup(kBackup), QStringLiteral("Kept"), &offered,
                               QStringLiteral("Germany (+49)"));
    triggerAction(window, "actImportXml");
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(storedCountry(QStringLiteral("Kept")), QStringLiteral("DE"));

    const QByteArray national =
        "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n<smses>\n"
        "<sms address=\"0151 12345678\" date=\"1700000300000\" type=\"1\" body=\"Hallo\" />\n</smses>\n";
    answerFileAndPicker(driver, writeBackup(national, QStringLiteral("national.xml")),
                        QStringLiteral("Kept"));
    triggerAction(window, "actImportXml");
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QVERIFY2(driver.texts().last().startsWith(QLatin1String("Imported 1 SMS.")),
             qPrintable(driver.texts().last()));
    QVERIFY(childNames(nodeAt(window, QStringLiteral("db:Kept"))).contains(QStringLiteral("+4915112345678")));
}

void TestWindowImport::aBrokenFileChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("into a new database: none is left") << "Broken";
    QTest::newRow("into Alpha: as it was") << "Alpha";
}

// A file that breaks off halfway: the error box; a database made for it goes
// again, an existing one stays as it was.
void TestWindowImport::aBrokenFileChangesNothing()
{
    QFETCH(QString, name);
    const QString file = writeBackup(kBackup.left(kBackup.size() - 40));
    const bool existed = QFileInfo::exists(localDbFolder(name));
    const int before = existed ? messageCountOf(localDbFolder(name)) : 0;
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    ModalDriver driver;
    QString offered;
    answerFilePickerAndCountry(driver, file, name, &offered);
    triggerAction(window, "actImportXml");
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QVERIFY2(driver.texts().last().contains(QLatin1String("ends in the middle of an element")),
             qPrintable(driver.texts().last()));
    QCOMPARE(QFileInfo::exists(localDbFolder(name)), existed);
    QCOMPARE(nodeAt(window, QStringLiteral("db:") + name) != nullptr, existed);
    if (existed)
        QCOMPARE(messageCountOf(localDbFolder(name)), before);
}

QTEST_MAIN(TestWindowImport)
#include "test_window_import.moc"
