#include "app/ui/MessageBoxes.h"
#include "tests/support/ModalDriver.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A small modal dialog with a label, a combo box and two buttons.
class SampleDialog : public QDialog
{
public:
    QComboBox* combo;
    QPushButton* ok;
    QPushButton* close;

    SampleDialog()
    {
        setWindowTitle(QStringLiteral("Pick"));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("Choose one:"), this));
        combo = new QComboBox(this);
        combo->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        layout->addWidget(combo);
        ok = new QPushButton(QStringLiteral("&Confirm"), this);
        ok->setObjectName(QStringLiteral("btnOk"));
        layout->addWidget(ok);
        close = new QPushButton(QStringLiteral("Close"), this);
        close->setObjectName(QStringLiteral("btnClose"));
        layout->addWidget(close);
        connect(close, &QPushButton::clicked, this, &QDialog::reject);
    }
};

QString failuresOf(const ModalDriver& driver)
{
    return driver.failures().join(QLatin1Char('\n'));
}

} // namespace

class TestModalDriver : public QObject
{
    Q_OBJECT

private slots:
    void answersBoxOpenedSynchronously();
    void answersBoxesInSequence();
    void answersNestedBoxFromDialogSlot();
    void customAnswerFillsDialog();
    void skipsModalWidgetThatDoesNotFit();
    void missingButtonGivesUpAndUnblocks();
    void answerWithoutBoxIsReported();
};

void TestModalDriver::answersBoxOpenedSynchronously()
{
    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    showInfoBox(QStringLiteral("hello"));
    QVERIFY2(driver.waitUntilDone(), qPrintable(failuresOf(driver)));
    QCOMPARE(driver.texts(), QStringList{QStringLiteral("hello")});
    QVERIFY(!driver.hasPending());
}

void TestModalDriver::answersBoxesInSequence()
{
    ModalDriver driver;
    driver.answer(QMessageBox::Yes);
    driver.answer(QMessageBox::No);
    driver.answerByText(QStringLiteral("OK"));
    QVERIFY(askYesNo(QStringLiteral("one")));
    QVERIFY(!askYesNo(QStringLiteral("two")));
    showWarningBox(QStringLiteral("three"));
    QVERIFY2(driver.waitUntilDone(), qPrintable(failuresOf(driver)));
    QCOMPARE(driver.texts(),
             (QStringList{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}));
}

void TestModalDriver::answersNestedBoxFromDialogSlot()
{
    SampleDialog dialog;
    int asked = 0;
    connect(dialog.ok, &QPushButton::clicked, &dialog, [&dialog, &asked] {
        ++asked;
        if (askYesNo(QStringLiteral("Sure?")))
            dialog.accept();
    });

    ModalDriver driver;
    driver.answerByName(QStringLiteral("btnOk"));
    driver.answer(QMessageBox::No); // the dialog stays open
    driver.answerByText(QStringLiteral("Confirm"));
    driver.answer(QMessageBox::Yes);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY2(driver.waitUntilDone(), qPrintable(failuresOf(driver)));
    QCOMPARE(asked, 2);
    const QString dialogText = QStringLiteral("Pick\nChoose one:");
    QCOMPARE(driver.texts(),
             (QStringList{dialogText, QStringLiteral("Sure?"), dialogText, QStringLiteral("Sure?")}));
}

void TestModalDriver::customAnswerFillsDialog()
{
    SampleDialog dialog;
    connect(dialog.ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    ModalDriver driver;
    driver.answerWith(
        [](QWidget* widget) {
            auto* self = static_cast<SampleDialog*>(widget);
            self->combo->setCurrentIndex(2);
            self->ok->click();
        },
        [&dialog](QWidget* widget) { return widget == &dialog; }, QStringLiteral("pick c"));
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(dialog.combo->currentText(), QStringLiteral("c"));
}

void TestModalDriver::skipsModalWidgetThatDoesNotFit()
{
    // A modal dialog (think of a progress dialog) opens a box by itself later;
    // the box answer must not be spent on the dialog.
    SampleDialog dialog;
    QTimer::singleShot(150, &dialog, [] { showWarningBox(QStringLiteral("from a timer")); });
    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    driver.answerByName(QStringLiteral("btnClose"));
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY2(driver.waitUntilDone(), qPrintable(failuresOf(driver)));
    QCOMPARE(driver.texts(),
             (QStringList{QStringLiteral("from a timer"), QStringLiteral("Pick\nChoose one:")}));
}

void TestModalDriver::missingButtonGivesUpAndUnblocks()
{
    ModalDriver driver;
    driver.setAnswerTimeout(300);
    driver.answer(QMessageBox::Yes);
    driver.answer(QMessageBox::Ok);
    showInfoBox(QStringLiteral("only OK here")); // returns once the driver gives up
    QVERIFY(!driver.waitUntilDone(1000));
    QCOMPARE(driver.failures().size(), 2);
    QVERIFY2(driver.failures().at(0).contains(QStringLiteral("Yes")), qPrintable(failuresOf(driver)));
    QVERIFY(driver.failures().at(0).contains(QStringLiteral("only OK here")));
    QVERIFY(driver.failures().at(1).contains(QStringLiteral("never used")));
    QVERIFY(driver.texts().isEmpty());
}

void TestModalDriver::answerWithoutBoxIsReported()
{
    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    QVERIFY(!driver.waitUntilDone(200));
    QCOMPARE(driver.failures().size(), 1);
    QVERIFY(driver.failures().first().contains(QStringLiteral("Ok")));
    QVERIFY(driver.pendingAnswers().isEmpty());
}

QTEST_MAIN(TestModalDriver)
#include "test_modaldriver.moc"
