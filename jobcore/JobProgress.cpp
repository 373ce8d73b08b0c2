#include "jobcore/JobProgress.h"

#include <QMetaObject>
#include <QObject>

#include <chrono>
#include <utility>

void JobProgress::postUpdateProgress(const QString& status, int curProgress, const QString& progressText)
{
    Post post;
    post.status = status;
    post.progress = curProgress;
    post.text = progressText;
    throttle(std::move(post));
}

void JobProgress::postItemProgress(const QString& status, int count, int total, const QString& counterFormat)
{
    Post post;
    post.status = status;
    post.progress = jobPercent(count, total);
    post.counterFormat = counterFormat;
    post.count = count;
    post.total = total;
    throttle(std::move(post));
}

QString JobProgress::Post::progressText() const
{
    return counterFormat.isEmpty() ? text : counterFormat.arg(count).arg(total);
}

void JobProgress::throttle(Post&& post)
{
    std::unique_lock<std::mutex> lock(throttleLock);
    if (holding) {
        // What the dialog would show after both: the newer status and bar
        // where the newer one gives them, and always the newer text.
        if (post.status.isEmpty())
            post.status = held.status;
        if (post.progress < 0)
            post.progress = held.progress;
    }
    const qint64 now = progressClockMs();
    const bool newStatus = !post.status.isEmpty() && post.status != lastStatus;
    if (hasSent && !newStatus && now - lastSentMs < intervalMs) {
        held = std::move(post);
        holding = true;
        return;
    }
    holding = false;
    hasSent = true;
    lastSentMs = now;
    if (!post.status.isEmpty())
        lastStatus = post.status;
    lock.unlock();
    send(post);
}

void JobProgress::postHeldProgress()
{
    std::unique_lock<std::mutex> lock(throttleLock);
    if (!holding)
        return;
    holding = false;
    lastSentMs = progressClockMs();
    if (!held.status.isEmpty())
        lastStatus = held.status;
    const Post post = std::move(held);
    lock.unlock();
    send(post);
}

void JobProgress::send(const Post& post)
{
    QMetaObject::invokeMethod(dialog, "updateProgress", Qt::AutoConnection, Q_ARG(QString, post.status),
                              Q_ARG(int, post.progress), Q_ARG(QString, post.progressText()));
}

void JobProgress::setProgressInterval(int milliseconds)
{
    std::lock_guard<std::mutex> lock(throttleLock);
    intervalMs = milliseconds;
}

qint64 JobProgress::progressClockMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void JobProgress::postErrorOccurred(const QString& err)
{
    postHeldProgress();
    QMetaObject::invokeMethod(dialog, "errorOccurred", Qt::AutoConnection, Q_ARG(QString, err));
}

void JobProgress::postSucceed(const QString& tipsStr)
{
    postHeldProgress();
    QMetaObject::invokeMethod(dialog, "succeed", Qt::AutoConnection, Q_ARG(QString, tipsStr));
}

void JobProgress::postTipsWait(const QString& info)
{
    postHeldProgress();
    waitingTips = true;
    QMetaObject::invokeMethod(dialog, "tipsWait", Qt::AutoConnection, Q_ARG(QString, info));
}

void JobProgress::throwIfCanceled() const
{
    if (isCanceled())
        throw -1;
}

int jobPercent(int i, int n)
{
    if (n <= 0)
        return -1;
    return int(double(i) / double(n) * 100.0);
}

int jobBytePercent(qint64 done, qint64 total)
{
    return total > 0 ? int(qMin<qint64>(100, done * 100 / total)) : 0;
}
