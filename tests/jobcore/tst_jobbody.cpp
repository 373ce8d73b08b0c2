// How every job ends (runJobBody), the percentages jobs post, and how their
// progress posts are throttled.
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

    // Steps: "post:status|progress|text", "item:count|total|format", "wait:ms",
    // "held", "succeed", "error", "tips"; each call the dialog receives as
    // "slot:status|progress|text" (progress posts) or "slot:text".
    void throttle_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("received");
        QTest::newRow("the last item before the verdict")
            << QStringList{"post:Loading|0|", "item:1|3|SMS: %1/%2", "item:2|3|SMS: %1/%2",
                           "item:3|3|SMS: %1/%2", "succeed"}
            << QStringList{"updateProgress:Loading|0|", "updateProgress:|100|SMS: 3/3", "succeed:ok"};
        QTest::newRow("after the interval at once")
            << QStringList{"post:Loading|0|", "wait:40", "item:1|2|sms: %1/%2", "item:2|2|sms: %1/%2",
                           "error"}
            << QStringList{"updateProgress:Loading|0|", "updateProgress:|50|sms: 1/2",
                           "updateProgress:|100|sms: 2/2", "errorOccurred:broken"};
        QTest::newRow("an unknown total")
            << QStringList{"post:Loading|0|", "wait:100", "item:1|-1|sms: %1/%2", "wait:100",
                           "item:2|-1|sms: %1/%2", "succeed"}
            << QStringList{"updateProgress:Loading|0|", "updateProgress:|-1|sms: 1/-1",
                           "updateProgress:|-1|sms: 2/-1", "succeed:ok"};
        QTest::newRow("not before the interval")
            << QStringList{"post:A|0|", "wait:39", "post:|5|x", "wait:1", "post:|6|y"}
            << QStringList{"updateProgress:A|0|", "updateProgress:|6|y"};
        // The held post keeps what a later one leaves as it was.
        QTest::newRow("a new status at once, with the held bar")
            << QStringList{"post:A|0|", "post:|10|x", "post:B|-1|"}
            << QStringList{"updateProgress:A|0|", "updateProgress:B|10|"};
        QTest::newRow("the same status is no news")
            << QStringList{"post:A|0|", "post:A|10|x", "held"}
            << QStringList{"updateProgress:A|0|", "updateProgress:A|10|x"};
        QTest::newRow("held bar, newer text") << QStringList{"post:A|0|", "post:|50|", "post:|-1|t", "held"}
                                              << QStringList{"updateProgress:A|0|", "updateProgress:|50|t"};
        QTest::newRow("before a hint") << QStringList{"post:A|0|", "item:4|8|", "tips"}
                                       << QStringList{"updateProgress:A|0|", "updateProgress:|50|",
                                                      "tipsWait:wait"};
        QTest::newRow("nothing held, nothing sent")
            << QStringList{"post:A|0|", "held", "held"} << QStringList{"updateProgress:A|0|"};
    }

    void throttle()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, received);
        JobRecorder form;
        form.throttleOnStoppedClock();
        for (const QString& step : std::as_const(steps)) {
            const QString kind = step.section(u':', 0, 0);
            const QStringList args = step.section(u':', 1).split(u'|');
            if (kind == QLatin1String("post"))
                form.postUpdateProgress(args.at(0), args.at(1).toInt(), args.at(2));
            else if (kind == QLatin1String("item"))
                form.postItemProgress(QString(), args.at(0).toInt(), args.at(1).toInt(), args.at(2));
            else if (kind == QLatin1String("wait"))
                form.moveClock(args.at(0).toInt());
            else if (kind == QLatin1String("held"))
                form.postHeldProgress();
            else if (kind == QLatin1String("succeed"))
                form.postSucceed(QStringLiteral("ok"));
            else if (kind == QLatin1String("error"))
                form.postErrorOccurred(QStringLiteral("broken"));
            else if (kind == QLatin1String("tips"))
                form.postTipsWait(QStringLiteral("wait"));
        }
        QStringList calls;
        for (const JobRecorder::Call& call : std::as_const(form.calls)) {
            calls << call.slot + u':' +
                         (call.slot == QLatin1String("updateProgress")
                              ? QStringLiteral("%1|%2|%3").arg(call.text).arg(call.progress).arg(call.progressText)
                              : call.text);
        }
        QCOMPARE(calls, received);
    }

    // The work's held progress goes out when it ends, but not after a cancel.
    void heldProgressAtTheEnd()
    {
        for (const bool cancel : {false, true}) {
            JobRecorder form;
            form.throttleOnStoppedClock();
            runJobBody(&form, [&form, cancel] {
                form.postUpdateProgress(QStringLiteral("Working"), 0, QString());
                form.postItemProgress(QString(), 2, 2, QStringLiteral("%1/%2"));
                if (cancel)
                    throw -1;
            });
            QCOMPARE(form.callsOf(QStringLiteral("updateProgress")).size(), cancel ? 1 : 2);
            QCOMPARE(form.calls.last().progressText, cancel ? QString() : QStringLiteral("2/2"));
        }
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
