#include "jobcore/JobProgress.h"

#include <QMetaObject>
#include <QObject>

void JobProgress::postUpdateProgress(const QString& status, int curProgress, const QString& progressText)
{
    QMetaObject::invokeMethod(dialog, "updateProgress", Qt::AutoConnection, Q_ARG(QString, status),
                              Q_ARG(int, curProgress), Q_ARG(QString, progressText));
}

void JobProgress::postErrorOccurred(const QString& err)
{
    QMetaObject::invokeMethod(dialog, "errorOccurred", Qt::AutoConnection, Q_ARG(QString, err));
}

void JobProgress::postSucceed(const QString& tipsStr)
{
    QMetaObject::invokeMethod(dialog, "succeed", Qt::AutoConnection, Q_ARG(QString, tipsStr));
}

void JobProgress::postTipsWait(const QString& info)
{
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
