#pragma once

#include <QString>

#include <atomic>
#include <mutex>

class QObject;

// The job side of the progress dialog: a job thread posts its progress,
// success and errors to the dialog's slots by name and polls its flags. Kept
// free of widgets so that jobs below the user interface can use it; the
// progress dialog is the one implementation.
//
// Progress posts are throttled, so that a job of a hundred thousand items
// spends its time on the items and the dialog is not flooded: a post goes
// out at once when it is the first, when it brings a new status, or when
// kProgressIntervalMs have passed since the last one went out. Otherwise it
// is held back, merged with the one held before it (the dialog ends up
// showing what it would have shown after every post), and goes out with the
// next post that does, before a success, an error or a hint, and when the
// job's work ends (runJobBody). A held post waits for the job's next call:
// while a job blocks (on a silent phone, say) the dialog may show the state
// of up to one interval before.
class JobProgress
{
public:
    // The least time between two progress posts: a few dozen a second.
    static constexpr int kProgressIntervalMs = 40;

    explicit JobProgress(QObject* dialog) : dialog(dialog) {}
    virtual ~JobProgress() = default;

    // Safe from any thread: each queues a call of the dialog slot of the same
    // name (progress as throttled above).
    void postUpdateProgress(const QString& status, int curProgress, const QString& progressText);
    // The progress of item count of total: the percentage jobPercent(count,
    // total) and the counter text counterFormat with %1 = count and %2 =
    // total (none for an empty format). The text is made only when the post
    // goes out, so the many posts held back cost next to nothing.
    void postItemProgress(const QString& status, int count, int total, const QString& counterFormat);
    // Posts the progress held back, if any.
    void postHeldProgress();
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
    // The least time between two progress posts; 0 lets every post out (a
    // stand-in that records each one).
    void setProgressInterval(int milliseconds);
    // The throttle's clock in milliseconds (monotonic).
    virtual qint64 progressClockMs() const;

    std::atomic<bool> canceled{false};
    std::atomic<bool> waitingTips{false};

private:
    // A progress post not sent yet; its text is made when it goes out.
    struct Post
    {
        QString status;
        int progress = -1;
        QString text; // or, when counterFormat is set, made from it:
        QString counterFormat;
        int count = 0;
        int total = 0;
        QString progressText() const;
    };
    void throttle(Post&& post);
    void send(const Post& post);

    QObject* dialog;
    std::mutex throttleLock;
    int intervalMs = kProgressIntervalMs;
    bool hasSent = false;
    qint64 lastSentMs = 0;
    QString lastStatus; // the last status that went out
    bool holding = false;
    Post held;
};

// The percentage of item i of n, computed in floating point and truncated:
// item 1 of 3 gives 33, the last 100. An unknown total (n of 0 or less)
// gives -1, which leaves the dialog's bar where it is.
int jobPercent(int i, int n);
// The percentage of the bytes done of a file's total, in whole numbers and
// at most 100; 0 for an empty file.
int jobBytePercent(qint64 done, qint64 total);
