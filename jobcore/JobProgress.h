#pragma once

#include <QString>
#include <atomic>

class QObject;

// The job side of the progress dialog: a job thread posts its progress,
// success and errors to the dialog's slots by name and polls its flags. Kept
// free of widgets so that jobs below the user interface can use it; the
// progress dialog is the one implementation.
class JobProgress
{
public:
    explicit JobProgress(QObject* dialog) : dialog(dialog) {}
    virtual ~JobProgress() = default;

    // Safe from any thread: each queues a call of the dialog slot of the same name.
    void postUpdateProgress(const QString& status, int curProgress, const QString& progressText);
    void postErrorOccurred(const QString& err);
    void postSucceed(const QString& tipsStr);
    // Sets the waiting flag, then posts tipsWait; the job polls isWaitingTips().
    void postTipsWait(const QString& info);

    bool isCanceled() const { return canceled.load(); }
    // The user's cancel as a job meets it: throws the integer -1, which
    // runJobBody (jobcore/JobBody.h) takes for a cancel.
    void throwIfCanceled() const;
    bool isWaitingTips() const { return waitingTips.load(); }

protected:
    std::atomic<bool> canceled{false};
    std::atomic<bool> waitingTips{false};

private:
    QObject* dialog;
};

// The percentage of item i of n, computed in floating point and truncated:
// item 1 of 3 gives 33, the last 100. An unknown total (n of 0 or less)
// gives -1, which leaves the dialog's bar where it is.
int jobPercent(int i, int n);
// The percentage of the bytes done of a file's total, in whole numbers and
// at most 100; 0 for an empty file.
int jobBytePercent(qint64 done, qint64 total);
