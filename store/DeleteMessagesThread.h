#pragma once

#include <QList>
#include <QThread>

class IOS6MessageDb;
class JobProgress;
struct _MsgMessage;

// Deletes a list of messages from a message database in one transaction.
class DeleteMessagesThread : public QThread
{
public:
    DeleteMessagesThread(IOS6MessageDb* database, const QList<_MsgMessage*>* messageList, JobProgress* form,
                         QObject* parent);

protected:
    void run() override;

private:
    IOS6MessageDb* database;
    const QList<_MsgMessage*>* messageList;
    JobProgress* form;
};
