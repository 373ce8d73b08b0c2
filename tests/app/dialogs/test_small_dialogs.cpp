#include "app/dialogs/AboutUsForm.h"
#include "app/dialogs/DataSourceSelForm.h"
#include "tests/kit/ModalDriver.h"
#include "tests/kit/TestHome.h"

// The version CMakeLists.txt sets, generated into the build tree.
#include "TextferryVersion.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {
const QList<DataSourceItem> kTwoPhones{
    {QStringLiteral(":/res/android.png"), QStringLiteral("Acme X1"), 11},
    {QStringLiteral(":/res/android.png"), QStringLiteral("Acme X2"), 22},
};

// Queues an answer for the picker: records the entry it opened with, optionally
// picks `choose`, then presses `button`.
void answerPicker(ModalDriver& driver, const QString& button, int* shownIndex = nullptr, int choose = -2)
{
    driver.answerWith(
        [=](QWidget* w) {
            auto* combo = w->findChild<QComboBox*>(QStringLiteral("cbDevice"));
            if (shownIndex)
                *shownIndex = combo->currentIndex();
            if (choose > -2)
                combo->setCurrentIndex(choose);
            w->findChild<QPushButton*>(button)->click();
        },
        [](QWidget* w) { return w->objectName() == QLatin1String("DataSourceSelForm"); }, button);
}
} // namespace

class TestSmallDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void pickerWithOneItemOpensWithItChosen();
    void pickerWithTwoItemsWarnsUntilOneIsChosen();
    void pickerCancelReturnsZero();
    void aboutBoxShowsTheVersion();
};

void TestSmallDialogs::initTestCase()
{
    QVERIFY(installEnglishTranslation());
}

void TestSmallDialogs::pickerWithOneItemOpensWithItChosen()
{
    ModalDriver driver;
    int shownIndex = -2;
    answerPicker(driver, QStringLiteral("btnOK"), &shownIndex);
    DataSourceSelForm form;
    QCOMPARE(form.select(QStringLiteral("Transfer to which phone?"), {kTwoPhones.first()}), qint64(11));
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(shownIndex, 0);
    QVERIFY(driver.texts().first().contains(QStringLiteral("Transfer to which phone?")));
}

void TestSmallDialogs::pickerWithTwoItemsWarnsUntilOneIsChosen()
{
    ModalDriver driver;
    int shownIndex = -2;
    answerPicker(driver, QStringLiteral("btnOK"), &shownIndex); // nothing chosen yet
    driver.answer(QMessageBox::Ok);
    answerPicker(driver, QStringLiteral("btnOK"), nullptr, 1);
    DataSourceSelForm form;
    QCOMPARE(form.select(QStringLiteral("Pick"), kTwoPhones), qint64(22));
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(shownIndex, -1);
    QCOMPARE(driver.texts().value(1),
             QCoreApplication::translate("DataSourceSelForm", "IDS_PLEASE_SELECT_ONE_DATASOURCE"));
}

void TestSmallDialogs::pickerCancelReturnsZero()
{
    ModalDriver driver;
    answerPicker(driver, QStringLiteral("btnClose"), nullptr, 0);
    DataSourceSelForm form;
    QCOMPARE(form.select(QStringLiteral("Pick"), kTwoPhones), qint64(0));
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts().size(), 1); // no warning on the way out
}

void TestSmallDialogs::aboutBoxShowsTheVersion()
{
    AboutUsForm form;
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("lbProduct"))->text(),
             QStringLiteral("Textferry v" TEXTFERRY_VERSION));
    ModalDriver driver;
    driver.answerByName(QStringLiteral("btnOK"));
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QVERIFY(driver.waitUntilDone());
}

QTEST_MAIN(TestSmallDialogs)
#include "test_small_dialogs.moc"
