// The window as a person meets it: keys that run its commands, dialogs that
// Escape closes, emoji that reach every view and file, an export that says
// where it went, and English without the old misspellings.
#include "tests/kit/ModalDriver.h"
#include "tests/kit/TestHome.h"
#include "tests/kit/UrlCatcher.h"
#include "tests/kit/WindowTestKit.h"

#include "android/forms/AndroidWIFIForm.h"
#include "app/MainWindow.h"
#include "app/dialogs/AboutUsForm.h"
#include "app/dialogs/DataSourceSelForm.h"
#include "app/messages/ItemModelSms.h"
#include "app/messages/SmsBrowser.h"
#include "app/views/MyTreeView.h"
#include "country/forms/CountrySelForm.h"
#include "jobs/LocalDbSelForm.h"
#include "jobs/ProgressForm.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
// A text with emoji in and beyond the Basic Multilingual Plane.
const QString kEmojiText = QStringLiteral("Party \u2705 \u2764 \U0001F389 tonight");

// What a key does, seen from outside: true when it did it.
using Effect = std::function<bool(MainWindow&, ModalDriver&)>;

void press(MainWindow& window, const QKeySequence& key)
{
    const QKeyCombination combination = key[0];
    QTest::keyClick(window.focusWidget() ? window.focusWidget() : &window, combination.key(),
                    combination.keyboardModifiers());
}

// The key runs its command at once, so a dialog it opens is expected (and
// closed) by an answer queued before: true when it came.
Effect dialogOpens()
{
    return [](MainWindow&, ModalDriver& driver) {
        return driver.waitUntilDone(10000) && driver.texts().size() == 1;
    };
}

void expectDialog(ModalDriver& driver, const QString& name)
{
    driver.answerWith(
        [](QWidget* w) { static_cast<QDialog*>(w)->reject(); },
        [name](QWidget* w) { return w->inherits(qPrintable(name)) || w->objectName() == name; });
}

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString firstFileIn(const QString& folder)
{
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*.pdf"), QStringLiteral("*.html")}, QDir::Files);
    return files.isEmpty() ? QString() : QDir(folder).filePath(files.first());
}

using MakeDialog = std::function<QDialog*()>;

QString pdfText(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}
} // namespace

Q_DECLARE_METATYPE(Effect)
Q_DECLARE_METATYPE(MakeDialog)

class TestWindowExperience : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void keysRunTheirCommands_data();
    void keysRunTheirCommands();
    void escapeClosesEveryDialog_data();
    void escapeClosesEveryDialog();
    void emojiReachEveryView();
    void emojiReachEveryExport_data();
    void emojiReachEveryExport();
    void noMisspellingLeft_data();
    void noMisspellingLeft();

private:
    TestHome home;
};

void TestWindowExperience::init()
{
    resetDataFolder();
    writeStandardSources(1);
}

void TestWindowExperience::keysRunTheirCommands_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("dialog"); // the dialog the key opens, when it opens one
    QTest::addColumn<Effect>("effect");
    QTest::newRow("Ctrl+F: the message search box")
        << "db:Alpha" << QKeySequence(QKeySequence::Find) << "" << Effect([](MainWindow& w, ModalDriver&) {
               return w.findChild<QLineEdit*>(QStringLiteral("txtSMSKeyword"))->hasFocus();
           });
    QTest::newRow("Ctrl+A: every message")
        << "db:Alpha" << QKeySequence(QKeySequence::SelectAll) << ""
        << Effect([](MainWindow& w, ModalDriver&) {
               return listOf(w)->selectionModel()->selectedRows().size() == listModelOf(w)->rowCount();
           });
    QTest::newRow("F5: the source read again")
        << "db:Alpha" << QKeySequence(QKeySequence::Refresh) << "" << Effect([](MainWindow& w, ModalDriver&) {
               QTest::qWait(50);
               return counterText(w).endsWith(QLatin1String("7"));
           });
    QTest::newRow("Ctrl+E: the save dialog")
        << "db:Alpha" << QKeySequence(Qt::CTRL | Qt::Key_E) << "QFileDialog" << dialogOpens();
    QTest::newRow("Ctrl+P: the print preview")
        << "db:Alpha" << QKeySequence(QKeySequence::Print) << "printPreview" << dialogOpens();
    QTest::newRow("Ctrl+B: the backup's database picker")
        << "phone:Phone A" << QKeySequence(Qt::CTRL | Qt::Key_B) << "LocalDbSelForm" << dialogOpens();
    QTest::newRow("Delete: the same confirmation")
        << "conv:Alpha/Alice Smith" << QKeySequence(QKeySequence::Delete) << "QMessageBox"
        << Effect([](MainWindow&, ModalDriver& d) {
               return d.waitUntilDone() &&
                      d.texts().value(0) ==
                          QCoreApplication::translate("MainWindow", "IDS_CONFIRM_DEL_THIS_CHAT");
           });
    // The search box holds "alpha", which every message of Alpha has.
    QTest::newRow("F3: the first match")
        << "db:Alpha" << QKeySequence(Qt::Key_F3) << ""
        << Effect([](MainWindow& w, ModalDriver&) { return listOf(w)->currentIndex().row() == 0; });
    QTest::newRow("Shift+F3: the last match, backwards")
        << "db:Alpha" << QKeySequence(Qt::SHIFT | Qt::Key_F3) << ""
        << Effect([](MainWindow& w, ModalDriver&) {
               return listOf(w)->currentIndex().row() == listModelOf(w)->rowCount() - 1;
           });
    QTest::newRow("Ctrl+Q: the window closes")
        << "db:Alpha" << QKeySequence(Qt::CTRL | Qt::Key_Q) << ""
        << Effect([](MainWindow& w, ModalDriver&) { return !w.isVisible(); });
}

void TestWindowExperience::keysRunTheirCommands()
{
    QFETCH(QString, node);
    QFETCH(QKeySequence, key);
    QFETCH(QString, dialog);
    QFETCH(Effect, effect);
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    selectNode(window, node);
    window.findChild<QLineEdit*>(QStringLiteral("txtSMSKeyword"))->setText(QStringLiteral("alpha"));
    treeOf(window)->setFocus();
    // What F5 is to find: messages written since the source was shown.
    writeDatabase(localDbFolder(QStringLiteral("Alpha")), {planConversation("Late Comer", 99, "late", 2)});
    ModalDriver driver;
    if (dialog == QLatin1String("QMessageBox"))
        driver.answer(QMessageBox::No);
    else if (!dialog.isEmpty())
        expectDialog(driver, dialog);
    press(window, key);
    QVERIFY(effect(window, driver));
}

void TestWindowExperience::escapeClosesEveryDialog_data()
{
    QTest::addColumn<MakeDialog>("make");
    using Make = MakeDialog;
    QTest::newRow("about") << Make([] { return new AboutUsForm; });
    QTest::newRow("phone picker") << Make([] { return new DataSourceSelForm; });
    QTest::newRow("database picker") << Make(
        [] { return new LocalDbSelForm({}, QStringLiteral("x"), nullptr); });
    QTest::newRow("WiFi") << Make([] { return new AndroidWIFIForm; });
    QTest::newRow("country") << Make([] { return new CountrySelForm; });
    QTest::newRow("progress") << Make([] { return new ProgressForm(QString(), nullptr); });
}

// Each has a title of its own and the window manager's frame; Escape rejects it.
void TestWindowExperience::escapeClosesEveryDialog()
{
    QFETCH(MakeDialog, make);
    const std::unique_ptr<QDialog> dialog(make());
    QVERIFY(!dialog->windowTitle().isEmpty());
    QVERIFY(dialog->windowTitle() != QLatin1String("Dialog"));
    QVERIFY(!dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    QTRY_VERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
}

void TestWindowExperience::emojiReachEveryView()
{
    writeDatabase(localDbFolder(QStringLiteral("Emoji")),
                  {{QStringLiteral("Erin \U0001F600"), QStringLiteral("+15550000077"), {kEmojiText}}});
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    selectNode(window, QStringLiteral("db:Emoji"));
    QCOMPARE(listModelOf(window)->index(0, 3).data().toString(), kEmojiText);
    QVERIFY2(browserOf(window)->pageHtml().contains(kEmojiText), qPrintable(browserOf(window)->pageHtml()));
    // The caption names what the views show.
    QCOMPARE(
        window.findChild<QLabel*>(QStringLiteral("lbChatName"))->text(),
        QCoreApplication::translate("MainWindow", "All conversations of %1").arg(QStringLiteral("Emoji")));
}

void TestWindowExperience::emojiReachEveryExport_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("expected"); // what reading the result back finds
    QTest::newRow("text") << "Text Files(*.txt)"
                          << "out.txt" << kEmojiText;
    QTest::newRow("CSV") << "CSV Files(*.csv)"
                         << "out.csv" << kEmojiText;
    QTest::newRow("HTML") << "HTML Files(*.html)"
                          << "out-html" << kEmojiText;
    // Qt 6.4's PDF engine maps glyphs back to characters only within the
    // Basic Multilingual Plane: those emoji are read back from the page.
    QTest::newRow("PDF") << "PDF Files(*.pdf)"
                         << "out-pdf" << QStringLiteral("Party \u2705 \u2764");
}

// Through the window's export, with the success box's Open Folder.
void TestWindowExperience::emojiReachEveryExport()
{
    QFETCH(QString, filter);
    QFETCH(QString, output);
    QFETCH(QString, expected);
    if (filter.startsWith(QLatin1String("PDF")) &&
        QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (Debian package poppler-utils) reads the PDF back");
    writeDatabase(localDbFolder(QStringLiteral("Emoji")),
                  {{QStringLiteral("Erin"), QStringLiteral("+15550000077"), {kEmojiText}}});
    QTemporaryDir target;
    MainWindow window(nullptr, MainWindow::DeviceWatch::Off);
    selectNode(window, QStringLiteral("db:Emoji"));
    UrlCatcher desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "open");
    ModalDriver driver;
    const QString chosen = target.filePath(QStringLiteral("out"));
    answerFileDialog(driver, chosen, filter);
    driver.answerByText(QCoreApplication::translate("MainWindow", "Open Folder"));
    triggerAction(window, "actExport");
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    const QString result = target.filePath(output);
    QVERIFY2(driver.texts().last().contains(QDir::toNativeSeparators(result)),
             qPrintable(driver.texts().last()));
    const bool folder = QFileInfo(result).isDir();
    QCOMPARE(desktop.urls, QList<QUrl>{QUrl::fromLocalFile(folder ? result : target.path())});
    const QString file = folder ? firstFileIn(result) : result;
    const QString text = filter.startsWith(QLatin1String("PDF")) ? pdfText(file) : readAll(file);
    QVERIFY2(text.contains(expected), qPrintable(text));
}

void TestWindowExperience::noMisspellingLeft_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("misspelt");
    QTest::newRow("cuntry") << "CountrySelForm"
                            << "IDS_CANT_CONTINUE_WITHOUT_SEL_ONE_COUNTRY"
                            << "cuntry";
    QTest::newRow("Successfully Backup") << "BackupSMSThread"
                                         << "IDS_SUC_BACKUP_%1_SMS"
                                         << "Successfully Backup";
    QTest::newRow("Find no SMS") << "MainWindow"
                                 << "IDS_CAN_NOT_FOUNDSMS_KEYWORD_%0"
                                 << "Find no";
    QTest::newRow("Find no contact") << "MainWindow"
                                     << "IDS_CAN_NOT_FOUNDCONTACT_KEYWORD_%0"
                                     << "Find no";
    QTest::newRow("download and installed")
        << "AndroidConnectWithUSBThread"
        << "1 Go to Google Play on your phone to download and installed the latest version Quillbridge SMS "
           "Sync.<br/><br/>"
        << "installed the latest";
    QTest::newRow("Progress without a space") << "ProgressForm"
                                              << "Progress:%1%"
                                              << "Progress:%1";
    QTest::newRow("a dialog called Dialog") << "AboutUsForm"
                                            << "Dialog"
                                            << "Dialog";
    QTest::newRow("Windows drivers on Linux")
        << "MainWindow"
        << "* Install USB driver software on your computer. <a href=\"%1\">How to</a>?<br/><br/>"
        << "How to</a>?";
}

void TestWindowExperience::noMisspellingLeft()
{
    QFETCH(QString, context);
    QFETCH(QString, key);
    QFETCH(QString, misspelt);
    const QString english =
        QCoreApplication::translate(context.toUtf8().constData(), key.toUtf8().constData());
    QVERIFY2(english != key || !key.contains(misspelt), qPrintable(english)); // translated at all
    QVERIFY2(!english.contains(misspelt), qPrintable(english));
}

QTEST_MAIN(TestWindowExperience)
#include "test_window_experience.moc"
