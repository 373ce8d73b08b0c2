#include "TestHome.h"
#include "jobs/LocalDbSelForm.h"
#include "tests/support/ModalDriver.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kSelectOrEnter = QStringLiteral("Select one Database or enter a new Database name");
const QString kInvalidName =
    QStringLiteral("Invalid Local Database name(can't contain \\ / : * ? \" < > |).");

bool isPicker(QWidget* widget)
{
    return widget->objectName() == QLatin1String("LocalDbSelForm");
}

QComboBox* combo(QWidget* picker)
{
    return picker->findChild<QComboBox*>(QStringLiteral("cbLocalDbNames"));
}

void press(QWidget* picker, const char* buttonName)
{
    QTest::mouseClick(picker->findChild<QPushButton*>(QLatin1String(buttonName)), Qt::LeftButton);
}

// The next picker: type the name into the combo box and press Confirm.
void confirmTyped(ModalDriver& driver, const QString& name)
{
    driver.answerWith(
        [name](QWidget* picker) {
            combo(picker)->setEditText(name);
            press(picker, "btnOK");
        },
        isPicker, QStringLiteral("confirm ") + name);
}

void cancelPicker(ModalDriver& driver)
{
    driver.answerWith([](QWidget* picker) { press(picker, "btnClose"); }, isPicker, QStringLiteral("cancel"));
}

const QStringList kNames{QStringLiteral("Family"), QStringLiteral("Work phone")};

} // namespace

class TestLocalDbSelForm : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir home;

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid());
        prepareTestHome(home);
    }

    void offersEmptyItemThenNamesWithSuggestion()
    {
        LocalDbSelForm form(kNames, QStringLiteral("Acme X1_Backup"), nullptr);
        QComboBox* box = combo(&form);
        QVERIFY(box->isEditable());
        QCOMPARE(box->count(), 3);
        QCOMPARE(box->itemText(0), QString());
        QCOMPARE(box->itemText(1), QStringLiteral("Family"));
        QCOMPARE(box->itemText(2), QStringLiteral("Work phone"));
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(box->currentText(), QStringLiteral("Acme X1_Backup"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Select one Database for backup"));
        QCOMPARE(form.windowFlags(), Qt::Dialog | Qt::FramelessWindowHint);
    }

    void noSuggestionLeavesTheFieldEmpty()
    {
        LocalDbSelForm form(kNames, QString(), nullptr);
        QCOMPARE(combo(&form)->currentText(), QString());
    }

    void acceptedNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("suggested name kept") << QString();
        QTest::newRow("leading blanks kept") << QStringLiteral("  lead");
        QTest::newRow("dots inside") << QStringLiteral("a..b");
        QTest::newRow("three dots") << QStringLiteral("...");
        QTest::newRow("unicode") << QStringLiteral("Tel\u00e9fono de Ana");
    }

    void acceptedNames()
    {
        QFETCH(QString, typed);
        LocalDbSelForm form(kNames, QStringLiteral("Acme X1_Backup"), nullptr);
        ModalDriver driver;
        if (typed.isEmpty())
            driver.answerWith([](QWidget* picker) { press(picker, "btnOK"); }, isPicker);
        else
            confirmTyped(driver, typed);
        const QString name = form.selectDatabaseName();
        QVERIFY(driver.waitUntilDone());
        QCOMPARE(name, typed.isEmpty() ? QStringLiteral("Acme X1_Backup") : typed);
    }

    void choosingAnExistingName()
    {
        LocalDbSelForm form(kNames, QStringLiteral("Acme X1_Backup"), nullptr);
        ModalDriver driver;
        driver.answerWith(
            [](QWidget* picker) {
                combo(picker)->setCurrentIndex(2);
                press(picker, "btnOK");
            },
            isPicker);
        QCOMPARE(form.selectDatabaseName(), QStringLiteral("Work phone"));
        QVERIFY(driver.waitUntilDone());
    }

    void refusedNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("warning");
        QTest::newRow("empty") << QString() << kSelectOrEnter;
        QTest::newRow("blanks") << QStringLiteral("   ") << kSelectOrEnter;
        QTest::newRow("tab and blanks") << QStringLiteral(" \t ") << kSelectOrEnter;
        QTest::newRow("colon") << QStringLiteral("a:b") << kInvalidName;
        const QString forbidden = QStringLiteral("\\/*?\"<>|");
        for (const QChar c : forbidden)
            QTest::addRow("character %s", qPrintable(QString(c)))
                << (QStringLiteral("x") + c + QStringLiteral("y")) << kInvalidName;
        // Names the file system reads as the folder itself or its parent.
        QTest::newRow("dot") << QStringLiteral(".") << kInvalidName;
        QTest::newRow("dot dot") << QStringLiteral("..") << kInvalidName;
        QTest::newRow("a/..") << QStringLiteral("a/..") << kInvalidName;
        QTest::newRow("control character") << QStringLiteral("bad\nname") << kInvalidName;
        QTest::newRow("escape character") << QStringLiteral("bad\x1bname") << kInvalidName;
    }

    void refusedNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, warning);
        LocalDbSelForm form(kNames, QStringLiteral("Acme X1_Backup"), nullptr);
        ModalDriver driver;
        confirmTyped(driver, typed);
        driver.answer(QMessageBox::Ok);
        cancelPicker(driver);
        const QString name = form.selectDatabaseName();
        QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(QLatin1Char('\n'))));
        QCOMPARE(name, QString());
        QCOMPARE(driver.texts().size(), 3);
        QCOMPARE(driver.texts().at(1), warning);
    }

    void emptyFirstItemAsksToSelect()
    {
        LocalDbSelForm form(kNames, QStringLiteral("Acme X1_Backup"), nullptr);
        ModalDriver driver;
        driver.answerWith(
            [](QWidget* picker) {
                combo(picker)->setCurrentIndex(0);
                press(picker, "btnOK");
            },
            isPicker);
        driver.answer(QMessageBox::Ok);
        // The picker stays open after the warning: a valid name is accepted next.
        confirmTyped(driver, QStringLiteral("Fresh"));
        QCOMPARE(form.selectDatabaseName(), QStringLiteral("Fresh"));
        QVERIFY(driver.waitUntilDone());
        QCOMPARE(driver.texts().at(1), kSelectOrEnter);
    }

    void cancelAndEscapeReturnNothing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape key") << true;
    }

    void cancelAndEscapeReturnNothing()
    {
        QFETCH(bool, escape);
        LocalDbSelForm form(kNames, QStringLiteral("Acme X1_Backup"), nullptr);
        ModalDriver driver;
        driver.answerWith(
            [escape](QWidget* picker) {
                if (escape)
                    QTest::keyClick(picker, Qt::Key_Escape);
                else
                    press(picker, "btnClose");
            },
            isPicker);
        QCOMPARE(form.selectDatabaseName(), QString());
        QVERIFY(driver.waitUntilDone());
    }
};

QTEST_MAIN(TestLocalDbSelForm)
#include "tst_localdbselform.moc"
