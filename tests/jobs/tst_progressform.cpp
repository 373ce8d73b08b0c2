#include "jobs/JobRunner.h"
#include "jobs/ProgressForm.h"
#include "tests/kit/ModalDriver.h"

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

namespace {

constexpr int kWaitMs = 10000;

// The progress dialog as it was under the message boxes it showed.
struct UnderTheBoxes
{
    bool formShown = true;    // the dialog was open under every box
    bool formWaiting = false; // the job waited for the last box
};

// Closes every message box that shows up with OK (the driver notes its
// text), noting the state of the progress dialog under it.
void closeBoxesOver(ModalDriver& driver, ProgressForm& form, UnderTheBoxes& under)
{
    driver.closeEveryBox(QMessageBox::Ok, [&form, &under](QWidget*) {
        under.formShown = under.formShown && form.isVisible();
        under.formWaiting = form.isWaitingTips();
    });
}

// Runs work as the job thread under the dialog; steps run inside its modal loop.
bool runWith(ProgressForm& form, std::function<void()> work, std::function<void()> steps = {})
{
    std::unique_ptr<QThread> job(QThread::create(std::move(work)));
    if (steps)
        QTimer::singleShot(0, &form, std::move(steps));
    return runJob(form, *job);
}

QString shown(ProgressForm& form, const char* label)
{
    return form.findChild<QLabel*>(QLatin1String(label))->text();
}

} // namespace

class TestProgressForm : public QObject
{
    Q_OBJECT

private slots:
    void protocol_data()
    {
        QTest::addColumn<QStringList>("posts"); // "status|progress|text" each
        QTest::addColumn<QString>("end");       // "ok:" or "error:", then the text
        QTest::addColumn<QString>("state");     // status|bar|text at the end
        // An empty status keeps the line, -1 keeps the bar, an empty text shows the value.
        QTest::newRow("quiet success") << QStringList{"Loading|10|Step 1", "|-1|"} << QString("ok:")
                                       << QString("Loading|10|Progress:10%");
        QTest::newRow("success with text") << QStringList{"Loading|10|Step 1", "Saving|45|Half"}
                                           << QString("ok:All 3 done.") << QString("Saving|45|Half");
        QTest::newRow("error") << QStringList{"Working|30|"} << QString("error:disk on fire")
                               << QString("Working|30|Progress:30%");
    }

    void protocol()
    {
        QFETCH(QStringList, posts);
        QFETCH(QString, end);
        QFETCH(QString, state);
        const bool ok = end.startsWith(QLatin1String("ok:"));
        const QString endText = end.section(u':', 1);
        ProgressForm form(QString(), nullptr);
        ModalDriver boxes;
        UnderTheBoxes under;
        closeBoxesOver(boxes, form, under);
        const bool succeeded = runWith(form, [&] {
            for (const QString& post : std::as_const(posts))
                form.postUpdateProgress(post.section(u'|', 0, 0), post.section(u'|', 1, 1).toInt(),
                                        post.section(u'|', 2));
            if (ok)
                form.postSucceed(endText);
            else
                form.postErrorOccurred(endText);
        });
        QCOMPARE(succeeded, ok);
        QCOMPARE(form.result(), ok ? 1 : 0);
        const int bar = form.findChild<QProgressBar*>(QStringLiteral("progressBar"))->value();
        QCOMPARE(
            QStringLiteral("%1|%2|%3").arg(shown(form, "lbStatus")).arg(bar).arg(shown(form, "lbProgress")),
            state);
        // A box for a text only, shown before the dialog closes.
        QCOMPARE(boxes.texts().size(), endText.isEmpty() ? 0 : 1);
        QVERIFY2(boxes.texts().join(QString()).contains(endText), qPrintable(boxes.texts().join(QString())));
        QVERIFY(under.formShown);
    }

    void cancelBetweenItems_data()
    {
        QTest::addColumn<bool>("cancelEnabled");
        QTest::addColumn<bool>("jobHeedsCancel");
        QTest::addColumn<bool>("escape"); // Escape instead of the Cancel button
        QTest::newRow("job stops") << true << true << false;
        QTest::newRow("late posts never arrive") << true << false << false;
        QTest::newRow("Escape cancels") << true << true << true;
        QTest::newRow("cancel disabled") << false << true << false;
        QTest::newRow("cancel disabled, Escape") << false << true << true;
    }

    void cancelBetweenItems()
    {
        QFETCH(bool, cancelEnabled);
        QFETCH(bool, jobHeedsCancel);
        QFETCH(bool, escape);
        ProgressForm form(QString(), nullptr);
        form.setCancelEnabled(cancelEnabled);
        ModalDriver boxes;
        boxes.closeEveryBox();
        QSemaphore next;
        std::atomic<int> posts{0};
        const bool succeeded = runWith(
            form,
            [&] {
                for (int i = 1; i <= 5; ++i) {
                    if (jobHeedsCancel && form.isCanceled())
                        return;
                    // Items that take longer than the throttle's interval each show.
                    if (i > 1)
                        QThread::msleep(JobProgress::kProgressIntervalMs + 10);
                    form.postUpdateProgress(QString(), i * 20, QStringLiteral("Item %1/5").arg(i));
                    ++posts;
                    next.tryAcquire(1, kWaitMs);
                }
                form.postSucceed(QStringLiteral("finished"));
            },
            [&] {
                QVERIFY(
                    QTest::qWaitFor([&] { return shown(form, "lbProgress") == QLatin1String("Item 1/5"); }));
                next.release();
                QVERIFY(
                    QTest::qWaitFor([&] { return shown(form, "lbProgress") == QLatin1String("Item 2/5"); }));
                // Only the protocol and Cancel (or Escape, which is Cancel) end the dialog.
                form.accept();
                QCoreApplication::processEvents();
                QVERIFY(form.isVisible());
                if (escape)
                    QTest::keyClick(&form, Qt::Key_Escape);
                else
                    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
                QCOMPARE(form.isVisible(), !cancelEnabled);
                QCOMPARE(form.isCanceled(), cancelEnabled);
                next.release(5);
            });
        QCOMPARE(succeeded, !cancelEnabled);
        QCOMPARE(form.result(), cancelEnabled ? 0 : 1);
        QCOMPARE(posts.load(), cancelEnabled && jobHeedsCancel ? 2 : 5);
        QCoreApplication::processEvents();
        QCOMPARE(shown(form, "lbProgress"),
                 cancelEnabled ? QStringLiteral("Item 2/5") : QStringLiteral("Item 5/5"));
        QCOMPARE(boxes.texts(), cancelEnabled ? QStringList() : QStringList{QStringLiteral("finished")});
    }

    void tipsWaitKeepsTheJobWaitingUntilOk()
    {
        ProgressForm form(QString(), nullptr);
        ModalDriver boxes;
        UnderTheBoxes under;
        closeBoxesOver(boxes, form, under);
        std::atomic<bool> waitingWhenPosted{false};
        QVERIFY(runWith(form, [&] {
            form.postTipsWait(QStringLiteral("Switch the default app now."));
            waitingWhenPosted = form.isWaitingTips();
            for (int polls = 0; form.isWaitingTips() && polls < kWaitMs / 20; ++polls)
                QThread::msleep(20);
            form.postSucceed(QString());
        }));
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Switch the default app now.")});
        QVERIFY(waitingWhenPosted);
        QVERIFY(under.formShown && under.formWaiting);
        QVERIFY(!form.isWaitingTips());
    }
};

QTEST_MAIN(TestProgressForm)
#include "tst_progressform.moc"
