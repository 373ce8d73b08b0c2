// The country dialog: filtering, the choice and its confirmation, and the
// ways it cannot be left.
#include "country/forms/CountrySelForm.h"
#include "tests/kit/ModalDriver.h"
#include "tests/kit/TestHome.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {
QStringList itemTexts(const CountrySelForm& form)
{
    QStringList texts;
    const auto* list = form.findChild<QListWidget*>(QStringLiteral("ltCountries"));
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void type(CountrySelForm& form, const QString& text)
{
    auto* edit = form.findChild<QLineEdit*>(QStringLiteral("txtKW"));
    edit->clear();
    QTest::keyClicks(edit, text);
}

// Makes the first item whose text starts with `name` current.
void choose(CountrySelForm& form, const QString& name)
{
    auto* list = form.findChild<QListWidget*>(QStringLiteral("ltCountries"));
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchStartsWith);
    QVERIFY(!found.isEmpty());
    list->setCurrentItem(found.first());
}
} // namespace

class TestCountryDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void filtering();
    void choice_data();
    void choice();
    void leavingWithoutAChoice();

private:
    TestHome home;
};

void TestCountryDialog::initTestCase()
{
    QVERIFY(installEnglishTranslation());
}

void TestCountryDialog::filtering()
{
    CountrySelForm form;
    const QStringList all = itemTexts(form);
    QVERIFY(all.size() > 200);
    type(form, QStringLiteral("44"));
    const QStringList uk = itemTexts(form);
    for (const char* name : {"United Kingdom (+44)", "Guernsey (+44)", "Isle of Man (+44)", "Jersey (+44)"})
        QVERIFY2(uk.contains(QLatin1String(name)), name);
    for (const QString& text : uk)
        QVERIFY(text.contains(QLatin1String("44")));
    type(form, QStringLiteral("UNITED"));
    QVERIFY(itemTexts(form).filter(QStringLiteral("United States")).size() == 1);
    QVERIFY(itemTexts(form).filter(QStringLiteral("United Kingdom")).size() == 1);
    type(form, QString());
    QCOMPARE(itemTexts(form), all);
}

void TestCountryDialog::choice_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("mcc");
    QTest::newRow("India: the first of its codes") << "India ("
                                                   << "404";
    QTest::newRow("Jersey") << "Jersey ("
                            << "234";
}

void TestCountryDialog::choice()
{
    QFETCH(QString, name);
    QFETCH(QString, mcc);
    CountrySelForm form;
    type(form, name.left(4));
    choose(form, name);
    ModalDriver driver;
    driver.answer(QMessageBox::No); // not yet
    driver.answer(QMessageBox::Yes);
    QTimer::singleShot(0, &form, [&form] {
        form.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        QTimer::singleShot(300, &form,
                           [&form] { form.findChild<QPushButton*>(QStringLiteral("btnOK"))->click(); });
    });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QVERIFY(driver.waitUntilDone());
    const QString question = QCoreApplication::translate("CountrySelForm", "IDS_CONFIRM_SEL_COUNTRY_%1");
    QVERIFY(driver.texts().first().startsWith(question.section(QStringLiteral("%1"), 0, 0) + name));
    QCOMPARE(form.selectedMcc(), mcc);
}

// Escape leaves without a choice; OK without a current item warns.
void TestCountryDialog::leavingWithoutAChoice()
{
    CountrySelForm form;
    form.show();
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(form.selectedMcc().isNull());
    form.show();
    type(form, QStringLiteral("Zimbabwe"));
    choose(form, QStringLiteral("Zimbabwe"));
    type(form, QStringLiteral("Jersey")); // the current item is filtered away
    ModalDriver driver;
    driver.answer(QMessageBox::Ok);
    form.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(driver.texts(), QStringList{QCoreApplication::translate(
                                 "CountrySelForm", "IDS_CANT_CONTINUE_WITHOUT_SEL_ONE_COUNTRY")});
    QVERIFY(form.isVisible());
    QVERIFY(form.selectedMcc().isNull());
}

QTEST_MAIN(TestCountryDialog)
#include "test_country_dialog.moc"
