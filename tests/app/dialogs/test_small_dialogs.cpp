#include "app/base/AppInfo.h"
#include "app/dialogs/AboutUsForm.h"
#include "app/dialogs/DataSourceSelForm.h"
#include "tests/support/ModalDriver.h"

#include <QComboBox>
#include <QGraphicsPixmapItem>
#include <QGraphicsView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>

namespace {
const QList<DataSourceItem> kTwoPhones{
    {QStringLiteral(":/res/android.png"), QStringLiteral("Acme X1"), 11},
    {QStringLiteral(":/res/android.png"), QStringLiteral("Acme X2"), 22},
};

QComboBox* comboOf(QWidget* dialog)
{
    return dialog->findChild<QComboBox*>(QStringLiteral("cbDevice"));
}

void press(QWidget* dialog, const QString& name)
{
    dialog->findChild<QPushButton*>(name)->click();
}

bool isPicker(QWidget* w)
{
    return w->objectName() == QLatin1String("DataSourceSelForm");
}
} // namespace

class TestSmallDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void pickerForm();
    void pickerWithOneItemPreselectsIt();
    void pickerWithTwoItemsWarnsUntilOneIsChosen();
    void pickerCancelReturnsZero();
    void emptyPickerWarnsAndCancels();
    void aboutBox();

private:
    QTranslator translator;
};

void TestSmallDialogs::initTestCase()
{
    QVERIFY(translator.load(QStringLiteral(":/en.qm")));
    QCoreApplication::installTranslator(&translator);
}

void TestSmallDialogs::pickerForm()
{
    DataSourceSelForm form;
    QCOMPARE(form.objectName(), QStringLiteral("DataSourceSelForm"));
    QCOMPARE(int(form.windowFlags()), 0x803);
    QCOMPARE(form.size(), QSize(421, 152));
    QCOMPARE(form.minimumSize(), QSize(421, 152));
    QCOMPARE(form.maximumSize(), QSize(421, 152));
    QCOMPARE(form.windowTitle(), QStringLiteral("Dialog"));
    QVERIFY(!form.styleSheet().isEmpty());

    auto* caption = form.findChild<QLabel*>(QStringLiteral("lbSelDevice"));
    QVERIFY(caption);
    QCOMPARE(caption->text(), QStringLiteral("Please select a Device."));
    QCOMPARE(caption->geometry(), QRect(10, 20, 401, 16));
    QVERIFY(comboOf(&form));
    QCOMPARE(comboOf(&form)->geometry(), QRect(10, 50, 401, 22));
    QVERIFY(!comboOf(&form)->isEditable());
    auto* layoutWidget = form.findChild<QWidget*>(QStringLiteral("layoutWidget"));
    QVERIFY(layoutWidget);
    QCOMPARE(layoutWidget->geometry(), QRect(100, 100, 211, 25));
    QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("btnOK"))->text(), QStringLiteral("Confirm"));
    QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("btnClose"))->text(), QStringLiteral("Cancel"));
    QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("btnOK"))->parentWidget(), layoutWidget);
}

void TestSmallDialogs::pickerWithOneItemPreselectsIt()
{
    ModalDriver driver;
    int shownIndex = -2;
    QString shownCaption;
    driver.answerWith(
        [&](QWidget* w) {
            shownIndex = comboOf(w)->currentIndex();
            shownCaption = w->findChild<QLabel*>(QStringLiteral("lbSelDevice"))->text();
            press(w, QStringLiteral("btnOK"));
        },
        isPicker, QStringLiteral("the picker"));
    DataSourceSelForm form;
    const qint64 key = form.select(QStringLiteral("Transfer to which phone?"), {kTwoPhones.first()});
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(shownIndex, 0);
    QCOMPARE(shownCaption, QStringLiteral("Transfer to which phone?"));
    QCOMPARE(key, qint64(11));
}

void TestSmallDialogs::pickerWithTwoItemsWarnsUntilOneIsChosen()
{
    ModalDriver driver;
    int shownIndex = -2;
    QStringList shownItems;
    driver.answerWith(
        [&](QWidget* w) {
            QComboBox* combo = comboOf(w);
            shownIndex = combo->currentIndex();
            for (int i = 0; i < combo->count(); ++i)
                shownItems << combo->itemText(i);
            press(w, QStringLiteral("btnOK")); // nothing chosen yet
        },
        isPicker, QStringLiteral("the picker, pressing OK"));
    driver.answer(QMessageBox::Ok);
    driver.answerWith(
        [&](QWidget* w) {
            comboOf(w)->setCurrentIndex(1);
            press(w, QStringLiteral("btnOK"));
        },
        isPicker, QStringLiteral("the picker, choosing the second"));

    DataSourceSelForm form;
    const qint64 key = form.select(QStringLiteral("Pick"), kTwoPhones);
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(shownIndex, -1);
    QCOMPARE(shownItems, (QStringList{"Acme X1", "Acme X2"}));
    QCOMPARE(driver.texts().value(1), QStringLiteral("Need to select a Device to continue."));
    QCOMPARE(key, qint64(22));
    QCOMPARE(comboOf(&form)->currentData(Qt::UserRole).toLongLong(), qint64(22));
}

void TestSmallDialogs::pickerCancelReturnsZero()
{
    ModalDriver driver;
    driver.answerWith(
        [](QWidget* w) {
            comboOf(w)->setCurrentIndex(0);
            press(w, QStringLiteral("btnClose"));
        },
        isPicker, QStringLiteral("the picker, cancelling"));
    DataSourceSelForm form;
    QCOMPARE(form.select(QStringLiteral("Pick"), kTwoPhones), qint64(0));
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts().size(), 1); // no warning on the way out
}

void TestSmallDialogs::emptyPickerWarnsAndCancels()
{
    ModalDriver driver;
    driver.answerByName(QStringLiteral("btnOK"));
    driver.answer(QMessageBox::Ok);
    driver.answerByName(QStringLiteral("btnClose"));
    DataSourceSelForm form;
    QCOMPARE(form.select(QStringLiteral("Pick"), {}), qint64(0));
    QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
    QCOMPARE(driver.texts().value(1), QStringLiteral("Need to select a Device to continue."));
}

void TestSmallDialogs::aboutBox()
{
    AboutUsForm form;
    QCOMPARE(form.objectName(), QStringLiteral("AboutUsForm"));
    QCOMPARE(int(form.windowFlags()), 0x803);
    QCOMPARE(form.size(), QSize(400, 194));
    QVERIFY(!form.styleSheet().isEmpty());

    auto* title = form.findChild<QLabel*>(QStringLiteral("lbTitle"));
    QCOMPARE(title->text(), QStringLiteral("About"));
    QCOMPARE(title->geometry(), QRect(20, 10, 121, 16));

    auto* product = form.findChild<QLabel*>(QStringLiteral("lbProduct"));
    QCOMPARE(product->text(), QStringLiteral("Textferry v2.14.11"));
    QCOMPARE(product->geometry(), QRect(100, 48, 281, 31));
    QVERIFY(product->wordWrap());

    auto* picture = form.findChild<QGraphicsView*>(QStringLiteral("picApp"));
    QCOMPARE(picture->geometry(), QRect(20, 40, 64, 64));
    QCOMPARE(picture->styleSheet(), QStringLiteral("background:Transparent;border:0;"));
    QVERIFY(picture->scene());
    const QList<QGraphicsItem*> items = picture->scene()->items();
    QCOMPARE(items.size(), 1);
    const QPixmap shown = static_cast<QGraphicsPixmapItem*>(items.first())->pixmap();
    QVERIFY(!shown.isNull());
    QCOMPARE(shown.height(), 64);

    auto* homePage = form.findChild<QLabel*>(QStringLiteral("lbHomePage"));
    QCOMPARE(homePage->geometry(), QRect(100, 120, 121, 16));
    QVERIFY(homePage->openExternalLinks());
    QVERIFY(homePage->text().contains(QStringLiteral("href=\"%1\"").arg(QLatin1String(AppInfo::kHomePage))));

    auto* ok = form.findChild<QPushButton*>(QStringLiteral("btnOK"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), QRect(160, 160, 75, 23));
    QSignalSpy accepted(&form, &QDialog::accepted);
    form.show();
    QTest::mousePress(ok, Qt::LeftButton);
    QCOMPARE(accepted.count(), 1);
    QTest::mouseRelease(ok, Qt::LeftButton);
}

QTEST_MAIN(TestSmallDialogs)
#include "test_small_dialogs.moc"
