#include "jobs/LocalDbSelForm.h"
#include "tests/kit/ModalDriver.h"
#include "tests/kit/TestHome.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

namespace {

// The warnings, read through the translation (installed by the test home).
QString selectOrEnter()
{
    return QCoreApplication::translate("LocalDbSelForm", "IDS_PLEASE_SELECT_DATABASE_OR_INPUT_NEW_NAME");
}
QString invalidName()
{
    return QCoreApplication::translate("LocalDbSelForm", "IDS_INVALID_LOCALDB_NAME");
}

template <typename... Values> void row(const char* name, const Values&... values)
{
    (QTest::newRow(name) << ... << values);
}

bool isPicker(QWidget* widget)
{
    return widget->objectName() == QLatin1String("LocalDbSelForm");
}

} // namespace

class TestLocalDbSelForm : public QObject
{
    Q_OBJECT

private:
    TestHome home;

private slots:
    void confirm_data()
    {
        QTest::addColumn<int>("index"); // the item picked; -1: the text typed; -2: typed, then Cancel
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name"); // what the dialog returns
        QTest::addColumn<QString>(
            "warning"); // shown on Confirm; the picker stays open and Cancel gives no name
        row("Cancel gives no name", -2, "Typed", "", "");
        row("leading blanks kept", -1, "  lead", "  lead", "");
        row("dots inside a name", -1, "a..b", "a..b", "");
        row("existing name after the empty item", 2, "", "Work phone", "");
        row("empty first item", 0, "", "", selectOrEnter());
        row("blanks", -1, " \t ", "", selectOrEnter());
        row("colon", -1, "a:b", "", invalidName());
        row("slash", -1, "a/b", "", invalidName());
        row("dot", -1, ".", "", invalidName());
        row("dot dot", -1, "..", "", invalidName());
        row("leading dot: a hidden folder", -1, ".hidden", "", invalidName());
    }

    void confirm()
    {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(QString, name);
        QFETCH(QString, warning);
        LocalDbSelForm form({QStringLiteral("Family"), QStringLiteral("Work phone")},
                            QStringLiteral("Acme X1_Backup"), nullptr);
        ModalDriver driver;
        driver.answerWith(
            [index, typed](QWidget* picker) {
                auto* names = picker->findChild<QComboBox*>(QStringLiteral("cbLocalDbNames"));
                if (index >= 0)
                    names->setCurrentIndex(index);
                else
                    names->setEditText(typed);
                picker->findChild<QPushButton*>(QLatin1String(index == -2 ? "btnClose" : "btnOK"))->click();
            },
            isPicker);
        if (!warning.isEmpty()) {
            driver.answer(QMessageBox::Ok);
            driver.answerByName(QStringLiteral("btnClose"));
        }
        QCOMPARE(form.selectDatabaseName(), name);
        QVERIFY2(driver.waitUntilDone(), qPrintable(driver.failures().join(u'\n')));
        QCOMPARE(driver.texts().value(1), warning);
    }
};

QTEST_MAIN(TestLocalDbSelForm)
#include "tst_localdbselform.moc"
