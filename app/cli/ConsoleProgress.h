#pragma once

#include "jobs/JobProgress.h"

#include <QObject>
#include <QString>

class QThread;

// Stands in for the progress dialog when a job runs from the command line:
// progress goes to standard error (a line when the status or the percentage
// changes), the job's verdict is kept for the caller.
class ConsoleProgress : public QObject, public JobProgress
{
    Q_OBJECT
public:
    ConsoleProgress() : JobProgress(this) {}

    // Runs the job to its end, answering its posts in this thread; true when it succeeded.
    bool run(QThread& job);

    QString error;
    QString success;
    bool succeeded = false;

public slots:
    void updateProgress(const QString& status, int curProgress, const QString& progressText);
    void errorOccurred(const QString& err);
    void succeed(const QString& tipsStr);
    void tipsWait(const QString& info);

private:
    QString lastStatus;
    int lastPercent = -2;
    QString lastText;
};
