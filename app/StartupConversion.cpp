#include "app/StartupConversion.h"

#include "jobs/JobRunner.h"
#include "jobs/LocalDbUpdateThread.h"
#include "jobs/ProgressForm.h"

#include <QLockFile>

bool convertOldLocalDatabasesIfAny()
{
    if (!LocalDbUpdateThread::hasOldDatabases())
        return false;
    // Another Textferry converting at the same moment would rename what this
    // one has just made; the later one starts without converting (and says
    // so in the log), and the next start finds whatever is left.
    const std::unique_ptr<QLockFile> lock = LocalDbUpdateThread::lockConversion();
    if (!lock || !LocalDbUpdateThread::hasOldDatabases())
        return false;
    // Parentless, and it cannot be cancelled: a half-converted folder is no
    // state to leave the user in.
    ProgressForm form(QString(), nullptr);
    form.setCancelEnabled(false);
    LocalDbUpdateThread job(&form, nullptr);
    return runJob(form, job) && job.converted() > 0;
}
