#include "jobs/JobRunner.h"

#include "jobs/ProgressForm.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

bool runJob(ProgressForm& form, QThread& job)
{
    job.start(QThread::InheritPriority);
    const int result = form.exec();
    job.wait();
    // A job stopped by a cancel may have posted once more before it reached
    // its next cancel check; those calls belong to a closed dialog.
    QCoreApplication::removePostedEvents(&form, QEvent::MetaCall);
    return result == 1 && !form.isCanceled();
}
