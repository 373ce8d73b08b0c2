#pragma once

#include "jobcore/JobProgress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

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
