#include "app/StartupConversion.h"

#include "jobs/JobRunner.h"
#include "jobs/LocalDbUpdateThread.h"
#include "jobs/ProgressForm.h"

bool convertOldLocalDatabasesIfAny()
{
    if (!LocalDbUpdateThread::hasOldDatabases())
        return false;
    // Parentless, and it cannot be cancelled: a half-converted folder is no
    // state to leave the user in.
    ProgressForm form(QString(), nullptr);
    form.setCancelEnabled(false);
    LocalDbUpdateThread job(&form, nullptr);
    return runJob(form, job) && job.converted() > 0;
}
