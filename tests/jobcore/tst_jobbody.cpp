// How every job ends (runJobBody), and the percentages jobs post.
#include "tests/kit/JobRecorder.h"

#include "jobcore/JobBody.h"
#include "jobcore/JobProgress.h"

#include <QTest>

#include <stdexcept>

// The recorder stands in for the dialog in the test's own thread, so every
// post arrives at once.
class TestJobBody : public QObject
{
    Q_OBJECT

private slots:
    void endings_data()
    {
        QTest::addColumn<QString>("thrown"); // "", "cancel" or an error text
        QTest::addColumn<bool>("cancelFirst");
        QTest::addColumn<bool>("ranToEnd");
        QTest::addColumn<QStringList>("steps"); // the work's, the clean-up's and the posts, in order
        QTest::newRow("work done") << QString() << false << true << QStringList{"work", "succeed:done"};
        QTest::newRow("cancel") << "cancel" << true << false << QStringList{"work", "cleanUp"};
        QTest::newRow("error") << "disk full" << false << false
                               << QStringList{"work", "cleanUp", "errorOccurred:disk full"};
        QTest::newRow("error in UTF-8") << "Datei übervoll" << false << false
                                        << QStringList{"work", "cleanUp", "errorOccurred:Datei übervoll"};
        // The dialog is closed by then: an error after a cancel is not posted.
        QTest::newRow("error after a cancel")
            << "disk full" << true << false << QStringList{"work", "cleanUp"};
    }

    void endings()
    {
        QFETCH(QString, thrown);
        QFETCH(bool, cancelFirst);
        QFETCH(bool, ranToEnd);
        QFETCH(QStringList, steps);
        JobRecorder form;
        QStringList done;
        form.onCall = [&done](const JobRecorder::Call& call) { done << call.slot + ':' + call.text; };
        if (cancelFirst)
            form.cancelNow();
        const bool result = runJobBody(
            &form,
            [&] {
                done << "work";
                if (thrown == QLatin1String("cancel"))
                    form.throwIfCanceled();
                else if (!thrown.isEmpty())
                    throw std::runtime_error(thrown.toStdString());
                form.postSucceed(QStringLiteral("done"));
            },
            [&done] { done << "cleanUp"; });
        QCOMPARE(result, ranToEnd);
        QCOMPARE(done, steps);
    }

    // The hook names the error before the clean-up; an empty answer posts nothing.
    void errorTextHook()
    {
        JobRecorder form;
        QStringList done;
        const auto fail = [] { throw std::runtime_error("staged.part"); };
        const auto cleanUp = [&done] { done << "cleanUp"; };
        QVERIFY(!runJobBody(&form, fail, cleanUp, [&done](const std::exception& e) -> QString {
            done << "errorText";
            return QString::fromUtf8(e.what()).replace(QStringLiteral(".part"), QStringLiteral(".txt"));
        }));
        QVERIFY(!runJobBody(&form, fail, cleanUp,
                            [](const std::exception&) { return std::optional<QString>(); }));
        QCOMPARE(done, (QStringList{"errorText", "cleanUp", "cleanUp"}));
        QCOMPARE(form.textsOf(QStringLiteral("errorOccurred")), QStringList{"staged.txt"});
    }

    void percentages_data()
    {
        QTest::addColumn<int>("i");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("percent");
        QTest::newRow("first of three") << 1 << 3 << 33;
        QTest::newRow("last") << 3 << 3 << 100;
        // Floating point, truncated: 29 / 100 * 100 is a hair below 29.
        QTest::newRow("29 of 100") << 29 << 100 << 28;
        QTest::newRow("unknown total") << 5 << -1 << -1;
        QTest::newRow("no total") << 0 << 0 << -1;
    }

    void percentages()
    {
        QFETCH(int, i);
        QFETCH(int, n);
        QFETCH(int, percent);
        QCOMPARE(jobPercent(i, n), percent);
    }

    void bytePercentages()
    {
        QCOMPARE(jobBytePercent(29, 100), 29);
        QCOMPARE(jobBytePercent(Q_INT64_C(3000000000), Q_INT64_C(6000000000)), 50);
        QCOMPARE(jobBytePercent(150, 100), 100); // a file that grew while it was read
        QCOMPARE(jobBytePercent(5, 0), 0);
    }
};

QTEST_GUILESS_MAIN(TestJobBody)
#include "tst_jobbody.moc"
