#include "app/cli/ConsoleProgress.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <atomic>
#include <csignal>

#ifdef Q_OS_WIN
#include <io.h>
#define TEXTFERRY_ISATTY _isatty
#define TEXTFERRY_FILENO _fileno
#else
#include <unistd.h>
#define TEXTFERRY_ISATTY isatty
#define TEXTFERRY_FILENO fileno
#endif

namespace {
// The progress of the job that runs now, for the signal handler.
std::atomic<ConsoleProgress*> running{nullptr};
} // namespace

ConsoleProgress::ConsoleProgress(std::FILE* stream)
    : ConsoleProgress(stream, TEXTFERRY_ISATTY(TEXTFERRY_FILENO(stream)) != 0)
{}

ConsoleProgress::ConsoleProgress(std::FILE* stream, bool terminal)
    : JobProgress(this), stream(stream), terminal(terminal)
{}

void ConsoleProgress::onSignal(int signal)
{
    // Only what a signal handler may do: a lock-free store, and the default
    // action back for the next signal.
    std::signal(signal, SIG_DFL);
    if (ConsoleProgress* progress = running.load())
        progress->canceled.store(true);
}

bool ConsoleProgress::run(QThread& job)
{
    running = this;
    auto previousInt = std::signal(SIGINT, &ConsoleProgress::onSignal);
    auto previousTerm = std::signal(SIGTERM, &ConsoleProgress::onSignal);
    QEventLoop loop;
    connect(&job, &QThread::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    job.wait();
    // Posts that were queued before the end arrive now.
    QCoreApplication::sendPostedEvents(this);
    std::signal(SIGINT, previousInt);
    std::signal(SIGTERM, previousTerm);
    running = nullptr;
    endLine();
    return succeeded && error.isEmpty() && !isCanceled();
}

void ConsoleProgress::updateProgress(const QString& status, int curProgress, const QString& progressText)
{
    if (!terminal)
        return;
    if (!status.isEmpty())
        lastStatus = status;
    QString line = lastStatus;
    if (curProgress >= 0)
        line += QStringLiteral(" %1%").arg(curProgress, 3);
    if (!progressText.isEmpty())
        line += QLatin1Char(' ') + progressText;
    if (line != shown)
        writeLine(line);
}

// Over the line shown before, blanks clearing what it had beyond the new one.
void ConsoleProgress::writeLine(const QString& line)
{
    const qsizetype left = shown.size() - line.size();
    const QString text = QLatin1Char('\r') + line + QString(qMax<qsizetype>(0, left), QLatin1Char(' '));
    std::fputs(qPrintable(text), stream);
    std::fflush(stream);
    shown = line;
}

void ConsoleProgress::endLine()
{
    if (shown.isEmpty())
        return;
    std::fputs("\n", stream);
    std::fflush(stream);
    shown.clear();
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
    endLine();
    std::fputs(qPrintable(info + QLatin1Char('\n')), stream);
    std::fflush(stream);
    waitingTips = false;
}
