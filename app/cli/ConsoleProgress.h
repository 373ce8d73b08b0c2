#pragma once

#include "jobcore/JobProgress.h"

#include <QObject>
#include <QString>

#include <cstdio>

class QThread;

// Stands in for the progress dialog when a job runs from the command line.
// On a terminal the progress is one line of standard error, rewritten in
// place ("\r") when the status or the percentage changes and ended with a
// line break when the job ends; otherwise (a pipe, a file, a log) no progress
// is written at all, only the hints a job shows. The job's verdict is kept
// for the caller. Ctrl-C (SIGINT) or SIGTERM while a job runs is its Cancel;
// a second one ends the program as usual.
class ConsoleProgress : public QObject, public JobProgress
{
    Q_OBJECT
public:
    // Progress goes to the stream, in place when `terminal`.
    explicit ConsoleProgress(std::FILE* stream = stderr);
    ConsoleProgress(std::FILE* stream, bool terminal);

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
    static void onSignal(int signal);
    void writeLine(const QString& line);
    void endLine();

    std::FILE* stream;
    bool terminal;
    QString lastStatus;
    QString shown; // the line on the terminal now, without its line break
};
