#pragma once

class ProgressForm;
class QThread;

// Runs one background job under its progress dialog, from the GUI thread:
// starts the job thread (QThread::InheritPriority), runs the dialog modally,
// then waits for the thread to end, without time limit. True when the dialog
// closed through succeed (result 1) and the user did not cancel; only then
// may the caller read the job's results and refresh its views.
//
// Both objects are locals of the calling command, the dialog constructed
// first and destroyed last:
//
//     ProgressForm form(QString(), this);
//     BackupSMSThread job(messages, folder, QString(), &form, this);
//     if (runJob(form, job))
//         ...reload the target...
//
// Whatever the job posted after the dialog closed is discarded before
// runJob returns, so it never reaches the closed dialog.
bool runJob(ProgressForm& form, QThread& job);
