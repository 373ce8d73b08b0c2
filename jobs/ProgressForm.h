#pragma once

#include "jobcore/JobProgress.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <utility>

class QLabel;
class QProgressBar;
class QPushButton;

// The modal dialog shown while a background job runs. The job reports through
// the JobProgress side (post... operations, any thread), which queues calls of
// the slots below by name; it learns of a cancel by polling isCanceled().
//
// Use it through runJob() (jobs/JobRunner.h): construct the dialog and the job
// as locals of the command, run, then let both go out of scope (job first,
// dialog last); jobs take the dialog as their JobProgress*. The dialog
// closes only through succeed, errorOccurred or cancel; Escape and
// accept()/reject() do nothing. So every job must end each run that the user
// did not cancel with exactly one postSucceed or postErrorOccurred.
// isCanceled() is true whenever the dialog closed with 0 (Cancel or error).
class ProgressForm : public QDialog, public JobProgress
{
    Q_OBJECT
public:
    // The title becomes the window title and the first status line; the
    // commands pass an empty title and let the job's first status fill it.
    ProgressForm(const QString& title, QWidget* parent);

    // GUI thread. Only jobs that must not be interrupted disable Cancel.
    void setCancelEnabled(bool enabled);
    // GUI thread. Who shows the job's success text (instead of the plain
    // information box): a command that has more to say, or to offer.
    void setSuccessBox(std::function<void(const QString& text)> box) { successBox = std::move(box); }

    void accept() override;
    void reject() override;

signals:
    // Emitted when the user presses Cancel, just before the dialog closes.
    void userCacel();

public slots:
    // Slots of the job protocol: invoked by name from the job thread.
    // An empty status keeps the old line, a negative progress keeps the bar,
    // an empty progress text shows "Progress:<value>%".
    void updateProgress(const QString& status, int curProgress, const QString& progressText);
    // Shows the error box, then closes with 0.
    void errorOccurred(const QString& err);
    // Shows the text in an information box when not empty, then closes with 1.
    void succeed(const QString& tipsStr);
    // Records a cancel: canceled = (result == 0).
    void onFinish(int result);
    // Shows the text and clears the waiting flag after OK; the dialog stays open.
    void tipsWait(const QString& info);
    // Emits userCacel(), then closes with 0.
    void cancel();

private:
    void buildWidgets();

    QLabel* lbStatus = nullptr;
    QProgressBar* progressBar = nullptr;
    QLabel* lbProgress = nullptr;
    QPushButton* btnCancel = nullptr;
    std::function<void(const QString&)> successBox;
};
