#pragma once

#include "store/ExportMessagesDb.h"

#include <QDir>
#include <QList>
#include <QString>
#include <QThread>

class JobProgress;
struct _MsgMessage;

// Backs up messages into a local database folder (merging with what it
// holds, creating it when new) in one transaction, under a progress dialog.
// A cancel or an error leaves the database as it was.
//
// The records are not owned: their MessageSet must outlive the job. The
// caller closes its own connection to the target before running the job
// (runJob in jobs/JobRunner.h) and reloads the target after success.
class BackupSMSThread : public QThread
{
public:
    BackupSMSThread(const QList<_MsgMessage*>& messages, const QDir& databaseFolder, const QString& mcc,
                    JobProgress* form, QObject* parent);

protected:
    void run() override;

private:
    void backUp();

    QList<_MsgMessage*> messages; // sorted ascending
    JobProgress* form;
    ExportMessagesDb exporter;
};
