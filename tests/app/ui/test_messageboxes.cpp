#include "app/base/AppInfo.h"
#include "app/ui/AppStyle.h"
#include "app/ui/MessageBoxes.h"
#include "tests/support/ModalDriver.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QTest>

namespace {

// What a box looked like while it was shown.
struct BoxFacts
{
    bool seen = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    Qt::WindowFlags flags;
    QString styleSheet;
    bool hasParent = true;
    // Standard buttons in the order they were added.
    QList<QMessageBox::StandardButton> buttons;
};

// Records the facts of the box, then presses one of its buttons.
ModalDriver::Action inspectThenPress(BoxFacts& facts, QMessageBox::StandardButton press)
{
    return [&facts, press](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (!box)
            return;
        facts.seen = true;
        facts.icon = box->icon();
        facts.title = box->windowTitle();
        facts.text = box->text();
        facts.flags = box->windowFlags();
        facts.styleSheet = box->styleSheet();
        facts.hasParent = box->parentWidget() != nullptr;
        // Children are listed in creation order.
        const QList<QAbstractButton*> buttons = box->findChildren<QAbstractButton*>();
        for (QAbstractButton* button : buttons) {
            if (box->standardButton(button) != QMessageBox::NoButton)
                facts.buttons << box->standardButton(button);
        }
        if (QAbstractButton* button = box->button(press))
            button->click();
    };
}

bool isMessageBox(QWidget* widget)
{
    return qobject_cast<QMessageBox*>(widget) != nullptr;
}

// Collects the error reports, which go to the log as warnings, while installed.
QStringList capturedWarnings;
void captureWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("Error report:")))
        capturedWarnings << message;
}

} // namespace

class TestMessageBoxes : public QObject
{
    Q_OBJECT

private slots:
    void infoBox();
    void warningBox();
    void errorBoxWrapsTextThenReports();
    void wrappedErrorTextKeepsLineBreak();
    void askYesNo_data();
    void askYesNo();
    void buttonsAddedInFixedOrder();
    void boxCanBeDraggedWithLeftButton();
};

void TestMessageBoxes::infoBox()
{
    ModalDriver driver;
    BoxFacts facts;
    driver.answerWith(inspectThenPress(facts, QMessageBox::Ok), isMessageBox);
    showInfoBox(QStringLiteral("Saved <b>3</b> messages."));
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));

    QVERIFY(facts.seen);
    QCOMPARE(facts.icon, QMessageBox::Information);
    QCOMPARE(facts.title, QStringLiteral("Textferry"));
    QCOMPARE(facts.text, QStringLiteral("Saved <b>3</b> messages."));
    QCOMPARE(facts.flags, Qt::Dialog | Qt::FramelessWindowHint);
    QCOMPARE(int(facts.flags), 0x803);
    QVERIFY(!facts.styleSheet.isEmpty());
    QCOMPARE(facts.styleSheet, appStyleSheet());
    QVERIFY(!facts.hasParent);
    QCOMPARE(facts.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
}

void TestMessageBoxes::warningBox()
{
    ModalDriver driver;
    BoxFacts facts;
    driver.answerWith(inspectThenPress(facts, QMessageBox::Ok), isMessageBox);
    showWarningBox(QStringLiteral("Careful."));
    QVERIFY(driver.waitUntilDone());

    QCOMPARE(facts.icon, QMessageBox::Warning);
    QCOMPARE(facts.title, QStringLiteral("Textferry"));
    QCOMPARE(facts.flags, Qt::Dialog | Qt::FramelessWindowHint);
    QCOMPARE(facts.styleSheet, appStyleSheet());
    QCOMPARE(facts.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
}

void TestMessageBoxes::errorBoxWrapsTextThenReports()
{
    const QString error = QStringLiteral("disk full<br/>while writing");
    ModalDriver driver;
    BoxFacts facts;
    int reportsWhileShown = -1;
    driver.answerWith(
        [&](QWidget* widget) {
            reportsWhileShown = capturedWarnings.size();
            inspectThenPress(facts, QMessageBox::Ok)(widget);
        },
        isMessageBox);

    capturedWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureWarnings);
    showErrorBox(error);
    qInstallMessageHandler(previous);
    QVERIFY(driver.waitUntilDone());

    QCOMPARE(facts.icon, QMessageBox::Critical);
    QCOMPARE(facts.title, QStringLiteral("Textferry"));
    QCOMPARE(facts.flags, Qt::Dialog | Qt::FramelessWindowHint);
    QCOMPARE(facts.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    QCOMPARE(facts.text, wrappedErrorText(error));
    QCOMPARE(driver.texts(), QStringList{wrappedErrorText(error)});

    // The report carries the error as given, and only after the box closed.
    QCOMPARE(reportsWhileShown, 0);
    QCOMPARE(capturedWarnings.size(), 1);
    QVERIFY2(capturedWarnings.first().endsWith(error), qPrintable(capturedWarnings.first()));
    QVERIFY(!capturedWarnings.first().contains(QStringLiteral("An Error Occurred.")));
}

void TestMessageBoxes::wrappedErrorTextKeepsLineBreak()
{
    const QString wrapped = wrappedErrorText(QStringLiteral("first<br/>second %1"));
    QCOMPARE(wrapped, QStringLiteral(
                          "An Error Occurred. <br/><br/>first<br/>second %1<br/><br/> Or you can contact ") +
                          QString::fromLatin1(AppInfo::kSupportEmail) + QStringLiteral(" for help."));
    const int intro = wrapped.indexOf(QStringLiteral("An Error Occurred."));
    const int lineBreak = wrapped.indexOf(QStringLiteral("first<br/>second"));
    const int support = wrapped.indexOf(QStringLiteral("Or you can contact"));
    QVERIFY(intro == 0 && intro < lineBreak && lineBreak < support);
}

void TestMessageBoxes::askYesNo_data()
{
    QTest::addColumn<int>("press");
    QTest::addColumn<bool>("expected");
    QTest::newRow("Yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("No") << int(QMessageBox::No) << false;
    QTest::newRow("closed") << int(QMessageBox::NoButton) << false;
}

void TestMessageBoxes::askYesNo()
{
    QFETCH(int, press);
    QFETCH(bool, expected);

    ModalDriver driver;
    BoxFacts facts;
    if (press == QMessageBox::NoButton) {
        driver.answerWith([](QWidget* widget) { widget->close(); }, isMessageBox);
    } else {
        driver.answerWith(inspectThenPress(facts, QMessageBox::StandardButton(press)), isMessageBox);
    }
    QCOMPARE(::askYesNo(QStringLiteral("Delete?")), expected);
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts(), QStringList{QStringLiteral("Delete?")});
    if (press != QMessageBox::NoButton) {
        QCOMPARE(facts.icon, QMessageBox::Question);
        QCOMPARE(facts.title, QStringLiteral("Textferry"));
        QCOMPARE(facts.flags, Qt::Dialog | Qt::FramelessWindowHint);
        QCOMPARE(facts.buttons, (QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}));
    }
}

void TestMessageBoxes::buttonsAddedInFixedOrder()
{
    ModalDriver driver;
    BoxFacts facts;
    driver.answerWith(inspectThenPress(facts, QMessageBox::Cancel), isMessageBox);
    const int result = messageBox(QMessageBox::Question, QStringLiteral("Go on?"),
                                  QMessageBox::Cancel | QMessageBox::Ok | QMessageBox::No | QMessageBox::Yes);
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(result, int(QMessageBox::Cancel));
    QCOMPARE(facts.buttons, (QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No,
                                                                QMessageBox::Ok, QMessageBox::Cancel}));
}

void TestMessageBoxes::boxCanBeDraggedWithLeftButton()
{
    ModalDriver driver;
    QPoint before;
    QPoint after;
    driver.answerWith(
        [&](QWidget* box) {
            box->move(200, 150);
            before = box->pos();
            const QPoint press(12, 9);
            const QPoint to(42, 29);
            QMouseEvent down(QEvent::MouseButtonPress, press, box->mapToGlobal(press), Qt::LeftButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &down);
            QMouseEvent move(QEvent::MouseMove, to, box->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(box, &move);
            QMouseEvent up(QEvent::MouseButtonRelease, to, box->mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                           Qt::NoModifier);
            QApplication::sendEvent(box, &up);
            after = box->pos();
            static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
        },
        isMessageBox);
    showInfoBox(QStringLiteral("Drag me"));
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(after - before, QPoint(30, 20));
}

QTEST_MAIN(TestMessageBoxes)
#include "test_messageboxes.moc"
