#include "app/cli/ConsoleProgress.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <cstdio>

namespace {
void printError(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
    std::fflush(stderr);
}
} // namespace

bool ConsoleProgress::run(QThread& job)
{
    QEventLoop loop;
    connect(&job, &QThread::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    job.wait();
    // Posts that were queued before the end arrive now.
    QCoreApplication::sendPostedEvents(this);
    return succeeded && error.isEmpty();
}

void ConsoleProgress::updateProgress(const QString& status, int curProgress, const QString& progressText)
{
    if (!status.isEmpty() && status != lastStatus) {
        lastStatus = status;
        printError(status);
    }
    // A line per percent; the last one again when its text says more.
    const bool final = curProgress == 100 && progressText != lastText;
    if (curProgress < 0 || (curProgress == lastPercent && !final))
        return;
    lastPercent = curProgress;
    lastText = progressText;
    printError(QStringLiteral("%1% %2").arg(curProgress, 3).arg(progressText).trimmed());
}

void ConsoleProgress::errorOccurred(const QString& err)
{
    if (error.isEmpty())
        error = err;
}

void ConsoleProgress::succeed(const QString& tipsStr)
{
    succeeded = true;
    success = tipsStr;
}

// Nobody is there to press OK: the hint is printed and the job goes on.
void ConsoleProgress::tipsWait(const QString& info)
{
    printError(info);
    waitingTips = false;
}
