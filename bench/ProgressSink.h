#pragma once

#include "bench/BenchSupport.h"
#include "jobcore/JobProgress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <cstdio>
#include <utility>

// Stands in for the progress dialog of a job under measurement: takes the
// job's posts in the job's own thread (move it there) and keeps the verdict.
class ProgressSink : public QObject, public JobProgress
{
    Q_OBJECT
public:
    ProgressSink() : JobProgress(this) { clock.start(); }

    int updates = 0;
    qint64 firstItemMs = -1; // when the first item's progress came, from the sink's creation
    QString error;
    bool succeeded = false;

public slots:
    void updateProgress(const QString&, int, const QString&)
    {
        if (++updates == 2)
            firstItemMs = clock.elapsed();
    }
    void errorOccurred(const QString& err) { error = err; }
    void succeed(const QString&) { succeeded = true; }
    void tipsWait(const QString&) { waitingTips = false; }

private:
    QElapsedTimer clock;
};

// One run of a job that reports to a sink: its seconds (negative when it
// failed, said on stderr) and what the sink saw.
struct TimedRun
{
    double seconds = -1;
    int updates = 0;
    qint64 firstItemMs = -1;
};

template <typename Job, typename... Args> TimedRun timedRun(Args&&... args)
{
    ProgressSink sink;
    Job job(std::forward<Args>(args)..., &sink, nullptr);
    sink.moveToThread(&job);
    TimedRun run;
    const double seconds = BenchSupport::secondsOf([&] {
        job.start();
        job.wait();
    });
    if (!sink.succeeded) {
        std::fprintf(stderr, "the job failed: %s\n", qPrintable(sink.error));
        return run;
    }
    run.seconds = seconds;
    run.updates = sink.updates;
    run.firstItemMs = sink.firstItemMs;
    return run;
}
