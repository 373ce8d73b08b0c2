#pragma once

#include <QList>
#include <QThread>

class IOS6MessageDb;
class JobProgress;
struct _MsgMessage;

// Deletes a list of messages from a message database in one transaction,
// under a progress dialog (run it with runJob, jobs/JobRunner.h). A cancel or
// an error rolls every deletion of the run back. The database, the list and
// its records are not owned and must stay alive until the job has ended; no
// other code may use the database meanwhile. The connection stays open.
class DeleteMessagesThread : public QThread
{
public:
    DeleteMessagesThread(IOS6MessageDb* database, const QList<_MsgMessage*>* messageList, JobProgress* form,
                         QObject* parent);

protected:
    void run() override;

private:
    void deleteAll();
    void rollBack();

    IOS6MessageDb* database;
    const QList<_MsgMessage*>* messageList;
    JobProgress* form;
};
