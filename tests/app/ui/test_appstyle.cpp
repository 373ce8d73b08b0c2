#include "app/ui/AppStyle.h"

#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>
#include <QVBoxLayout>

class TestAppStyle : public QObject
{
    Q_OBJECT

private slots:
    void containsSelector_data();
    void containsSelector();
    void imagesItNamesExist();
    void appliesWithoutParseWarnings();
};

void TestAppStyle::containsSelector_data()
{
    QTest::addColumn<QString>("selector");
    const char* selectors[] = {"QPushButton",
                               "QPushButton:hover",
                               "#lbTitle",
                               "QMessageBox",
                               "#AboutUsForm",
                               "#CountrySelForm",
                               "#DataSourceSelForm",
                               "#LocalDbSelForm",
                               "#ProgressForm",
                               "#AndroidWIFIForm",
                               "#MainWindow",
                               "QMenuBar",
                               "QMenuBar::item",
                               "QMenuBar::item:open",
                               "QMenu",
                               "QMenu::item:disabled",
                               "QToolBar",
                               "#treeViewDS",
                               "#treeViewSMS",
                               "#txtSMS",
                               "#treeViewSMS QHeaderView::section",
                               "#lbChatName",
                               "#lbSMSCount",
                               "QStatusBar"};
    for (const char* selector : selectors)
        QTest::newRow(selector) << QString::fromLatin1(selector);
}

void TestAppStyle::containsSelector()
{
    QFETCH(QString, selector);
    // The selector starts a rule or stands in a selector list.
    const QRegularExpression rule(QStringLiteral("(^|[,}]\\s*)") + QRegularExpression::escape(selector) +
                                  QStringLiteral("\\s*[,{]"));
    QVERIFY2(rule.match(appStyleSheet()).hasMatch(), qPrintable(selector));
}

void TestAppStyle::imagesItNamesExist()
{
    const QString sheet = appStyleSheet();
    const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
    int images = 0;
    for (auto it = url.globalMatch(sheet); it.hasNext(); ++images) {
        const QString name = it.next().captured(1);
        QVERIFY2(QFile::exists(name), qPrintable(name));
    }
    QVERIFY(images >= 2);
}

void TestAppStyle::appliesWithoutParseWarnings()
{
    // Qt warns "Could not parse stylesheet" when a rule is malformed.
    QTest::failOnWarning(
        QRegularExpression(QStringLiteral("parse.*style ?sheet"), QRegularExpression::CaseInsensitiveOption));
    QWidget window;
    window.setObjectName(QStringLiteral("MainWindow"));
    auto* layout = new QVBoxLayout(&window);
    layout->setMenuBar(new QMenuBar(&window));
    auto* button = new QPushButton(QStringLiteral("x"), &window);
    auto* title = new QLabel(QStringLiteral("title"), &window);
    title->setObjectName(QStringLiteral("lbTitle"));
    auto* count = new QLabel(QStringLiteral("SMS: 3"), &window);
    count->setObjectName(QStringLiteral("lbSMSCount"));
    auto* tree = new QTreeView(&window);
    tree->setObjectName(QStringLiteral("treeViewSMS"));
    layout->addWidget(button);
    layout->addWidget(title);
    layout->addWidget(count);
    layout->addWidget(tree);
    layout->addWidget(new QStatusBar(&window));
    window.setStyleSheet(appStyleSheet());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // The rules take effect on the widgets they name.
    QVERIFY(button->sizeHint().width() >= 65);
    QVERIFY(button->sizeHint().height() >= 20);
    QVERIFY(title->font().bold());
    QVERIFY(count->font().italic());
    QVERIFY(!button->font().italic());
}

QTEST_MAIN(TestAppStyle)
#include "test_appstyle.moc"
