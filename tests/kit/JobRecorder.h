#pragma once

#include "jobcore/JobProgress.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <functional>
#include <iterator>

// Stands in for the progress dialog of a job under test: records every call
// the job posts and can turn the cancel flag on at a chosen point. The
// recorder answers in the job's own thread, so a cancel set while an item's
// progress arrives is seen by the job's next cancel check. It lets every
// progress post through (no throttle), so that each item's post is seen,
// unless a test asks for the dialog's throttle.
class JobRecorder : public QObject, public JobProgress
{
    Q_OBJECT
public:
    struct Call
    {
        QString slot;
        QString text; // the status, error or success text
        int progress = 0;
        QString progressText;
    };

    JobRecorder() : JobProgress(this)
    {
        clock.start();
        setProgressInterval(0);
    }

    // Throttles progress like the dialog, on a clock that stands still: only
    // the posts that must go out (the first, a new status, the held one
    // before a verdict or at the end) are recorded, whatever the machine's speed.
    void throttleOnStoppedClock()
    {
        setProgressInterval(kProgressIntervalMs);
        clockStopped = true;
    }
    // Moves the stopped clock on.
    void moveClock(int milliseconds) { clockMs += milliseconds; }

    // Cancels at once: the job stops at its first cancel check.
    void cancelNow() { canceled = true; }
    // Cancels when the progress of item k arrives: k items are worked on.
    void cancelAtItem(int k) { cancelItem = k; }

    // Runs the job to its end, answering its calls in the job's thread.
    void runToEnd(QThread& job)
    {
        moveToThread(&job);
        job.start();
        job.wait();
    }
    // Starts the job, lets it run for runMs (into a silent phone, say), then
    // cancels: the milliseconds from the cancel to the job's end, or -1 when
    // it had not ended 5 s after the cancel.
    qint64 runThenCancel(QThread& job, int runMs)
    {
        moveToThread(&job);
        job.start();
        QTest::qWait(runMs);
        QElapsedTimer sinceCancel;
        sinceCancel.start();
        cancelNow();
        return job.wait(5000) ? sinceCancel.elapsed() : -1;
    }

    QList<Call> calls;
    // Run in the job's thread with every call as it arrives: a test can
    // change the world at a chosen moment of the job.
    std::function<void(const Call&)> onCall;

    QList<Call> callsOf(const QString& slot) const
    {
        QList<Call> found;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                     [&slot](const Call& call) { return call.slot == slot; });
        return found;
    }
    QStringList textsOf(const QString& slot) const
    {
        QStringList texts;
        for (const Call& call : callsOf(slot))
            texts.append(call.text);
        return texts;
    }
    // Progress calls after the start status: one per item worked on.
    int itemCount() const { return int(callsOf(QStringLiteral("updateProgress")).size()) - 1; }
    // Milliseconds since the cancel of cancelAtItem; -1 before.
    qint64 sinceCancel() const { return canceledAt < 0 ? -1 : clock.elapsed() - canceledAt; }

public slots:
    void updateProgress(const QString& status, int curProgress, const QString& progressText)
    {
        record({QStringLiteral("updateProgress"), status, curProgress, progressText});
        if (cancelItem > 0 && itemCount() >= cancelItem && !canceled) {
            canceled = true;
            canceledAt = clock.elapsed();
        }
    }
    void errorOccurred(const QString& err) { record({QStringLiteral("errorOccurred"), err, 0, {}}); }
    void succeed(const QString& tipsStr) { record({QStringLiteral("succeed"), tipsStr, 0, {}}); }
    // The user read the hint and pressed OK at once.
    void tipsWait(const QString& info)
    {
        record({QStringLiteral("tipsWait"), info, 0, {}});
        waitingTips = false;
    }

protected:
    qint64 progressClockMs() const override { return clockStopped ? clockMs : JobProgress::progressClockMs(); }

private:
    void record(const Call& call)
    {
        calls.append(call);
        if (onCall)
            onCall(call);
    }

    int cancelItem = 0;
    bool clockStopped = false;
    qint64 clockMs = 0;
    QElapsedTimer clock;
    qint64 canceledAt = -1;
};
