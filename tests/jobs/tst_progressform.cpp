#include "app/ui/AppStyle.h"
#include "jobs/JobRunner.h"
#include "jobs/ProgressForm.h"
#include "tests/support/ModalDriver.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <functional>

namespace {

constexpr int kWaitMs = 10000;

// A job whose run() is a script; it can pause so that the test looks at the
// dialog between two of its posts.
class ScriptedJob : public QThread
{
public:
    using Script = std::function<void(ScriptedJob&)>;

    ScriptedJob(JobProgress* form, Script script) : form(*form), script(std::move(script)) {}

    // Job side: stops until the test resumes it.
    void pause()
    {
        paused.release();
        resumed.tryAcquire(1, kWaitMs);
    }
    // Test side: waits for the next pause and delivers what the job posted before it.
    bool waitForPause()
    {
        if (!QTest::qWaitFor([this] { return paused.tryAcquire(); }, kWaitMs))
            return false;
        QCoreApplication::sendPostedEvents();
        return true;
    }
    void resume() { resumed.release(); }

    JobProgress& form;
    std::atomic<int> posts{0};
    std::atomic<int> stoppedAtItem{0};

protected:
    void run() override { script(*this); }

private:
    Script script;
    QSemaphore paused;
    QSemaphore resumed;
};

// Runs the steps once the dialog's modal loop is running.
void whenRunning(ProgressForm& form, std::function<void()> steps)
{
    QTimer::singleShot(0, &form, std::move(steps));
}

// Closes every message box that shows up and keeps its text: for runs in
// which no box may appear.
class BoxTrap : public QObject
{
public:
    BoxTrap()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts.append(box->text());
                box->done(QMessageBox::Ok);
            }
        });
        timer.start(10);
    }
    QStringList texts;

private:
    QTimer timer;
};

// Presses OK on the next message box and notes whether the progress dialog
// was still open under it.
void answerBoxNoting(ModalDriver& driver, ProgressForm& form, bool& formOpenUnderBox)
{
    driver.answerWith(
        [&form, &formOpenUnderBox](QWidget* widget) {
            formOpenUnderBox = form.isVisible();
            static_cast<QMessageBox*>(widget)->button(QMessageBox::Ok)->click();
        },
        [](QWidget* widget) { return qobject_cast<QMessageBox*>(widget) != nullptr; }, QStringLiteral("box"));
}

QLabel* label(ProgressForm& form, const char* name)
{
    return form.findChild<QLabel*>(QLatin1String(name));
}

QPushButton* cancelButton(ProgressForm& form)
{
    return form.findChild<QPushButton*>(QStringLiteral("btnCancel"));
}

} // namespace

class TestProgressForm : public QObject
{
    Q_OBJECT

private slots:
    void constructionAndProtocolInterface()
    {
        const QString title = QStringLiteral("Connecting to Android...");
        ProgressForm form(title, nullptr);
        QCOMPARE(form.objectName(), QStringLiteral("ProgressForm"));
        QCOMPARE(form.windowTitle(), title);
        QCOMPARE(form.windowFlags(), Qt::Dialog | Qt::FramelessWindowHint);
        QCOMPARE(form.styleSheet(), appStyleSheet());
        QCOMPARE(label(form, "lbStatus")->text(), title);
        QCOMPARE(label(form, "lbProgress")->text(), QString());
        QCOMPARE(form.findChild<QProgressBar*>(QStringLiteral("progressBar"))->value(), 0);
        QCOMPARE(cancelButton(form)->text(), QStringLiteral("Cancel"));
        QVERIFY(!form.isCanceled());
        QVERIFY(!form.isWaitingTips());

        // Jobs reach the dialog by these names only.
        const QMetaObject* meta = form.metaObject();
        for (const char* slot : {"updateProgress(QString,int,QString)", "errorOccurred(QString)",
                                 "succeed(QString)", "onFinish(int)", "tipsWait(QString)", "cancel()"})
            QVERIFY2(meta->indexOfSlot(slot) >= meta->methodOffset(), slot);
        QVERIFY(meta->indexOfSignal("userCacel()") >= meta->methodOffset());
    }

    void progressUpdatesAndQuietSuccess()
    {
        ProgressForm form(QString(), nullptr);
        ScriptedJob job(&form, [](ScriptedJob& self) {
            self.form.postUpdateProgress(QStringLiteral("Loading"), 10, QStringLiteral("Step 1"));
            self.pause();
            self.form.postUpdateProgress(QString(), -1, QString());
            self.pause();
            self.form.postUpdateProgress(QString(), 45, QString());
            self.pause();
            self.form.postUpdateProgress(QStringLiteral("Saving"), -1, QStringLiteral("Half"));
            self.pause();
            self.form.postSucceed(QString());
        });
        QLabel* status = label(form, "lbStatus");
        QLabel* progressText = label(form, "lbProgress");
        auto* bar = form.findChild<QProgressBar*>(QStringLiteral("progressBar"));
        whenRunning(form, [&] {
            QVERIFY(job.waitForPause());
            QCOMPARE(status->text(), QStringLiteral("Loading"));
            QCOMPARE(bar->value(), 10);
            QCOMPARE(progressText->text(), QStringLiteral("Step 1"));
            job.resume();

            // Empty status keeps the line, -1 keeps the bar, empty text shows the value.
            QVERIFY(job.waitForPause());
            QCOMPARE(status->text(), QStringLiteral("Loading"));
            QCOMPARE(bar->value(), 10);
            QCOMPARE(progressText->text(), QStringLiteral("Progress:10%"));
            job.resume();

            QVERIFY(job.waitForPause());
            QCOMPARE(bar->value(), 45);
            QCOMPARE(progressText->text(), QStringLiteral("Progress:45%"));
            job.resume();

            QVERIFY(job.waitForPause());
            QCOMPARE(status->text(), QStringLiteral("Saving"));
            QCOMPARE(bar->value(), 45);
            QCOMPARE(progressText->text(), QStringLiteral("Half"));
            job.resume();
        });
        BoxTrap trap;
        QVERIFY(runJob(form, job));
        QCOMPARE(form.result(), 1);
        QVERIFY(!form.isCanceled());
        QCOMPARE(trap.texts, QStringList());
    }

    void successTextShownBeforeClosing()
    {
        ProgressForm form(QString(), nullptr);
        ScriptedJob job(&form,
                        [](ScriptedJob& self) { self.form.postSucceed(QStringLiteral("All 3 done.")); });
        ModalDriver driver;
        bool formOpenUnderBox = false;
        answerBoxNoting(driver, form, formOpenUnderBox);
        QVERIFY(runJob(form, job));
        QVERIFY(driver.waitUntilDone());
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("All 3 done.")});
        QVERIFY(formOpenUnderBox);
        QCOMPARE(form.result(), 1);
    }

    void errorShowsErrorBoxAndFails()
    {
        ProgressForm form(QString(), nullptr);
        ScriptedJob job(&form, [](ScriptedJob& self) {
            self.form.postUpdateProgress(QStringLiteral("Working"), 0, QString());
            self.form.postErrorOccurred(QStringLiteral("disk on fire"));
        });
        ModalDriver driver;
        bool formOpenUnderBox = false;
        answerBoxNoting(driver, form, formOpenUnderBox);
        QVERIFY(!runJob(form, job));
        QVERIFY(driver.waitUntilDone());
        QCOMPARE(driver.texts().size(), 1);
        QVERIFY2(driver.texts().first().contains(QLatin1String("disk on fire")),
                 qPrintable(driver.texts().first()));
        QVERIFY(formOpenUnderBox);
        QCOMPARE(form.result(), 0);
    }

    void cancelBetweenItemsStopsTheJob()
    {
        ProgressForm form(QString(), nullptr);
        ScriptedJob job(&form, [](ScriptedJob& self) {
            for (int i = 1; i <= 5; ++i) {
                if (self.form.isCanceled()) {
                    self.stoppedAtItem = i;
                    return;
                }
                self.form.postUpdateProgress(QString(), i * 20, QStringLiteral("Item %1/5").arg(i));
                ++self.posts;
                self.pause();
            }
            self.form.postSucceed(QStringLiteral("finished anyway"));
            ++self.posts;
        });
        QSignalSpy userCancel(&form, &ProgressForm::userCacel);
        whenRunning(form, [&] {
            QVERIFY(job.waitForPause());
            job.resume();
            QVERIFY(job.waitForPause());
            QCOMPARE(label(form, "lbProgress")->text(), QStringLiteral("Item 2/5"));
            QTest::mouseClick(cancelButton(form), Qt::LeftButton);
            // Closed at once, while the job still sits in its second item.
            QVERIFY(!form.isVisible());
            QVERIFY(form.isCanceled());
            QCOMPARE(userCancel.count(), 1);
            QCOMPARE(job.stoppedAtItem.load(), 0);
            job.resume();
        });
        BoxTrap trap;
        QVERIFY(!runJob(form, job));
        QCOMPARE(job.stoppedAtItem.load(), 3);
        QCOMPARE(job.posts.load(), 2);
        QCOMPARE(form.result(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(trap.texts, QStringList());
    }

    void onlyTheProtocolEndsTheDialog_data()
    {
        QTest::addColumn<bool>("cancelEnabled");
        QTest::newRow("cancel enabled") << true;
        QTest::newRow("cancel disabled") << false;
    }

    void onlyTheProtocolEndsTheDialog()
    {
        QFETCH(bool, cancelEnabled);
        ProgressForm form(QString(), nullptr);
        form.setCancelEnabled(cancelEnabled);
        ScriptedJob job(&form, [](ScriptedJob& self) {
            self.pause();
            self.form.postSucceed(QString());
        });
        whenRunning(form, [&] {
            QVERIFY(job.waitForPause());
            QTest::keyClick(&form, Qt::Key_Escape);
            form.reject();
            form.accept();
            form.close();
            QCoreApplication::processEvents();
            QVERIFY(form.isVisible());
            QTest::mouseClick(cancelButton(form), Qt::LeftButton);
            QCOMPARE(form.isVisible(), !cancelEnabled);
            job.resume();
        });
        QCOMPARE(runJob(form, job), !cancelEnabled);
        QCOMPARE(form.isCanceled(), cancelEnabled);
        QCOMPARE(form.result(), cancelEnabled ? 0 : 1);
    }

    void callsPostedAfterCancelNeverArrive()
    {
        ProgressForm form(QString(), nullptr);
        // A job that misses the cancel and keeps posting.
        ScriptedJob job(&form, [](ScriptedJob& self) {
            self.form.postUpdateProgress(QStringLiteral("Working"), 10, QString());
            self.pause();
            self.form.postUpdateProgress(QStringLiteral("late"), 99, QStringLiteral("late"));
            self.form.postErrorOccurred(QStringLiteral("late error"));
            self.form.postSucceed(QStringLiteral("late success"));
        });
        whenRunning(form, [&] {
            QVERIFY(job.waitForPause());
            QTest::mouseClick(cancelButton(form), Qt::LeftButton);
            job.resume();
        });
        BoxTrap trap;
        QVERIFY(!runJob(form, job));
        QCoreApplication::processEvents();
        QCOMPARE(trap.texts, QStringList());
        QCOMPARE(label(form, "lbStatus")->text(), QStringLiteral("Working"));
        QCOMPARE(form.result(), 0);
    }

    void tipsWaitKeepsTheDialogOpenUntilOk()
    {
        ProgressForm form(QString(), nullptr);
        std::atomic<bool> flagSetWhenPosted{false};
        ScriptedJob job(&form, [&flagSetWhenPosted](ScriptedJob& self) {
            self.form.postTipsWait(QStringLiteral("Switch the default app now."));
            flagSetWhenPosted = self.form.isWaitingTips();
            for (int polls = 0; self.form.isWaitingTips() && polls < kWaitMs / 20; ++polls)
                QThread::msleep(20);
            self.form.postSucceed(QString());
        });
        ModalDriver driver;
        bool waitingUnderBox = false;
        driver.answerWith(
            [&](QWidget* widget) {
                waitingUnderBox = form.isVisible() && form.isWaitingTips();
                static_cast<QMessageBox*>(widget)->button(QMessageBox::Ok)->click();
            },
            [](QWidget* widget) { return qobject_cast<QMessageBox*>(widget) != nullptr; },
            QStringLiteral("tips"));
        QVERIFY(runJob(form, job));
        QVERIFY(driver.waitUntilDone());
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("Switch the default app now.")});
        QVERIFY(flagSetWhenPosted);
        QVERIFY(waitingUnderBox);
        QVERIFY(!form.isWaitingTips());
        QCOMPARE(form.result(), 1);
    }
};

QTEST_MAIN(TestProgressForm)
#include "tst_progressform.moc"
