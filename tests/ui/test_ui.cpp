#include "base/AppInfo.h"
#include "tests/kit/ModalDriver.h"
#include "tests/kit/UrlCatcher.h"
#include "ui/AppStyle.h"
#include "ui/MessageBoxes.h"
#include "ui/ShellOpen.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// The error reports, which go to the log as warnings, while installed.
QStringList errorReports;
void captureReports(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("Error report:")))
        errorReports << message;
}

} // namespace

class TestUi : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxes_data();
    void messageBoxes();
    void wrappedErrorTextKeepsLineBreak();
    void styleSheetSelectors_data();
    void styleSheetSelectors();
    void styleSheetApplies();
    void shellOpen_data();
    void shellOpen();
    void richTextLoadsNothingFromOutside_data();
    void richTextLoadsNothingFromOutside();
    void modalDriverAnswersNestedBoxesInOrder();
    void modalDriverGivesUpOnMissingButton();
};

void TestUi::messageBoxes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("press"); // NoButton closes the box
    QTest::addColumn<int>("icon");
    QTest::addColumn<bool>("result");

    QTest::newRow("info") << "info" << int(QMessageBox::Ok) << int(QMessageBox::Information) << false;
    QTest::newRow("warning") << "warning" << int(QMessageBox::Ok) << int(QMessageBox::Warning) << false;
    QTest::newRow("error") << "error" << int(QMessageBox::Ok) << int(QMessageBox::Critical) << false;
    QTest::newRow("ask, Yes") << "ask" << int(QMessageBox::Yes) << int(QMessageBox::Question) << true;
    QTest::newRow("ask, No") << "ask" << int(QMessageBox::No) << int(QMessageBox::Question) << false;
    QTest::newRow("ask, closed") << "ask" << int(QMessageBox::NoButton) << int(QMessageBox::Question)
                                 << false;
}

void TestUi::messageBoxes()
{
    QFETCH(QString, kind);
    QFETCH(int, press);
    QFETCH(int, icon);
    QFETCH(bool, result);

    const bool isError = kind == QLatin1String("error");
    const QString text = QStringLiteral("disk full<br/>while writing");
    using Buttons = QList<QMessageBox::StandardButton>;
    const Buttons expectedButtons =
        kind == QLatin1String("ask") ? Buttons{QMessageBox::Yes, QMessageBox::No} : Buttons{QMessageBox::Ok};
    ModalDriver driver;
    driver.answerWith(
        [&](QWidget* widget) {
            auto* box = static_cast<QMessageBox*>(widget);
            // Answered from the event loop, so a failed check below still closes the box.
            QTimer::singleShot(0, box, [box, press] {
                if (QAbstractButton* button = box->button(QMessageBox::StandardButton(press)))
                    button->click();
                else
                    box->close(); // NoButton: closed without an answer
            });
            QCOMPARE(errorReports.size(), 0); // an error is reported once its box is closed
            QCOMPARE(int(box->icon()), icon);
            QCOMPARE(box->windowTitle(), QStringLiteral("Textferry"));
            QCOMPARE(box->text(), isError ? wrappedErrorText(text) : text);
            // The window manager's own frame: a title bar and a close button.
            QVERIFY(!box->windowFlags().testFlag(Qt::FramelessWindowHint));
            QCOMPARE(box->styleSheet(), appStyleSheet());
            Buttons buttons; // children come in creation order
            for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
                buttons << box->standardButton(button);
            QCOMPARE(buttons, expectedButtons);
        },
        [](QWidget* widget) { return qobject_cast<QMessageBox*>(widget) != nullptr; });

    errorReports.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureReports);
    bool answer = false;
    if (kind == QLatin1String("info"))
        showInfoBox(text);
    else if (kind == QLatin1String("warning"))
        showWarningBox(text);
    else if (isError)
        showErrorBox(text);
    else
        answer = askYesNo(text);
    qInstallMessageHandler(previous);
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(answer, result);
    // Only the error box reports, with the error as given, once the box is closed.
    QCOMPARE(errorReports.size(), isError ? 1 : 0);
    if (isError)
        QVERIFY2(errorReports.first().endsWith(QLatin1Char(' ') + text), qPrintable(errorReports.first()));
}

void TestUi::wrappedErrorTextKeepsLineBreak()
{
    const QString wrapped = wrappedErrorText(QStringLiteral("first<br/>second %1"));
    const int error = wrapped.indexOf(QStringLiteral("first<br/>second %1"));
    const int support = wrapped.indexOf(QStringLiteral("contact ") + QLatin1String(AppInfo::kSupportEmail));
    QVERIFY2(wrapped.startsWith(QStringLiteral("An Error Occurred.")) && error > 0 && error < support,
             qPrintable(wrapped));
}

void TestUi::styleSheetSelectors_data()
{
    QTest::addColumn<QString>("selector");
    const QString selectors = QStringLiteral(
        "QPushButton;QPushButton:hover;#lbTitle;QMessageBox;#AboutUsForm;#CountrySelForm;#DataSourceSelForm;"
        "#LocalDbSelForm;#ProgressForm;#AndroidWIFIForm;#MainWindow;QMenuBar;QMenuBar::item;"
        "QMenuBar::item:open;QMenu;QMenu::item:disabled;QToolBar;#treeViewDS;#treeViewSMS;#txtSMS;"
        "#treeViewSMS QHeaderView::section;#lbChatName;#lbSMSCount;QStatusBar");
    for (const QString& selector : selectors.split(QLatin1Char(';')))
        QTest::newRow(qPrintable(selector)) << selector;
}

void TestUi::styleSheetSelectors()
{
    QFETCH(QString, selector);
    // The selector starts a rule or stands in a selector list.
    const QRegularExpression rule(QStringLiteral("(^|[,}]\\s*)") + QRegularExpression::escape(selector) +
                                  QStringLiteral("\\s*[,{]"));
    QVERIFY(rule.match(appStyleSheet()).hasMatch());
}

void TestUi::styleSheetApplies()
{
    int images = 0;
    const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
    for (auto it = url.globalMatch(appStyleSheet()); it.hasNext(); ++images) {
        const QString name = it.next().captured(1);
        QVERIFY2(QFile::exists(name), qPrintable(name));
    }
    QVERIFY(images > 0);

    // Qt warns "Could not parse stylesheet" when a rule is malformed.
    QTest::failOnWarning(
        QRegularExpression(QStringLiteral("parse.*style ?sheet"), QRegularExpression::CaseInsensitiveOption));
    QWidget window;
    auto* title = new QLabel(QStringLiteral("title"), &window);
    title->setObjectName(QStringLiteral("lbTitle"));
    window.setStyleSheet(appStyleSheet());
    window.ensurePolished();
    QVERIFY(title->font().bold());
}

void TestUi::shellOpen_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QList<QUrl>>("expected");

    const QString web = QStringLiteral("https://www.textferry.app/help/?pid=5E0A&ver=39");
    const QString file = QDir::tempPath() + QStringLiteral("/export #1 100%.html");
    QTest::newRow("web address") << false << web << QList<QUrl>{QUrl(web)};
    QTest::newRow("folder") << true << QDir::tempPath() + QStringLiteral("/sub/../")
                            << QList<QUrl>{QUrl::fromLocalFile(QDir::tempPath())};
    // Only web addresses go to the browser.
    QTest::newRow("local file") << false << file << QList<QUrl>();
    QTest::newRow("file: URL") << false << QUrl::fromLocalFile(file).toString() << QList<QUrl>();
    QTest::newRow("web address without host") << false << QStringLiteral("http:///x") << QList<QUrl>();
}

void TestUi::shellOpen()
{
#ifdef Q_OS_WIN
    QSKIP("the Windows shell is called directly");
#endif
    QFETCH(bool, folder);
    QFETCH(QString, target);
    QFETCH(QList<QUrl>, expected);

    UrlCatcher catcher;
    const QStringList schemes{QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file")};
    for (const QString& scheme : schemes)
        QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    if (!folder && expected.isEmpty())
        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QStringLiteral("Not opened, not a web address: ") + target));
    folder ? openInExplorer(target) : void(openWithShell(target));
    for (const QString& scheme : schemes)
        QDesktopServices::unsetUrlHandler(scheme);
    QCOMPARE(catcher.urls, expected);
}

void TestUi::richTextLoadsNothingFromOutside_data()
{
    QTest::addColumn<QString>("markup"); // %1: a picture on disk
    QTest::addColumn<QString>("shown");  // the box's text
    QTest::newRow("picture") << "a <img src=\"%1\"> b"
                             << "a &lt;img src=\"%1\"> b";
    // Not taken for rich text, so shown as plain text: nothing is loaded.
    QTest::newRow("picture, no closing bracket") << "a <IMG src=%1"
                                                 << "a <IMG src=%1";
    QTest::newRow("brackets in plain text") << "not \" < > |"
                                            << "not \" < > |";
    QTest::newRow("style sheet") << "<link rel=stylesheet href=\"%1\">x"
                                 << "&lt;link rel=stylesheet href=\"%1\">x";
    QTest::newRow("background") << "<p style=\"background-image:url(%1)\">x</p>"
                                << "&lt;p style=\"background-image:url(%1)\">x</p>";
    QTest::newRow("the program's own markup") << "<b>x</b><br/>< br >y<BR/><p>z</p><i>1</i><u>2</u> <a "
                                                 "href=\"https://a.example/?q=%1\">how</a> &amp;"
                                              << "<b>x</b><br/>< br >y<BR/><p>z</p><i>1</i><u>2</u> <a "
                                                 "href=\"https://a.example/?q=%1\">how</a> &amp;";
}

// A box shows no picture, style sheet or background named by its text: such
// markup is shown as text; the program's own markup stays.
void TestUi::richTextLoadsNothingFromOutside()
{
    QFETCH(QString, markup);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("big.png"));
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(picture));

    ModalDriver driver;
    int height = 0;
    driver.answerWith(
        [&height](QWidget* box) {
            height = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->sizeHint().height();
            static_cast<QMessageBox*>(box)->done(QMessageBox::Ok);
        },
        [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; }, QStringLiteral("box"));
    showInfoBox(markup.arg(picture));
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(driver.texts(), QStringList{shown.arg(picture)});
    QVERIFY2(height < 300, qPrintable(QString::number(height)));
}

void TestUi::modalDriverAnswersNestedBoxesInOrder()
{
    // A dialog whose button asks first; it closes only on Yes.
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Pick"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Choose one:"), &dialog));
    auto* ok = new QPushButton(QStringLiteral("&Confirm"), &dialog);
    ok->setObjectName(QStringLiteral("btnOk"));
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, &dialog, [&dialog] {
        if (askYesNo(QStringLiteral("Sure?")))
            dialog.accept();
    });

    ModalDriver driver;
    driver.answerByName(QStringLiteral("btnOk"));
    driver.answer(QMessageBox::No); // the dialog stays open
    driver.answerByText(QStringLiteral("Confirm"));
    driver.answer(QMessageBox::Yes);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    const QString dialogText = QStringLiteral("Pick\nChoose one:");
    QCOMPARE(driver.texts(),
             (QStringList{dialogText, QStringLiteral("Sure?"), dialogText, QStringLiteral("Sure?")}));
}

void TestUi::modalDriverGivesUpOnMissingButton()
{
    ModalDriver driver;
    driver.setAnswerTimeout(300);
    driver.answer(QMessageBox::Yes);
    driver.answer(QMessageBox::Ok);
    showInfoBox(QStringLiteral("only OK here")); // returns once the driver gives up
    QVERIFY(!driver.waitUntilDone(1000));
    // The missing Yes, naming the box it looked at, and the answer never used.
    QCOMPARE(driver.failures().size(), 2);
    QVERIFY(driver.failures().first().contains(QStringLiteral("Yes")));
    QVERIFY(driver.failures().first().contains(QStringLiteral("only OK here")));
    QVERIFY(driver.texts().isEmpty());
}

QTEST_MAIN(TestUi)
#include "test_ui.moc"
