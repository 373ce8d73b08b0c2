#pragma once

#include "android/SimpleProtocol.h"
#include "store/ExportMessagesDb.h"

#include <QList>
#include <QSet>
#include <QThread>

#include <memory>

class JobProgress;
class QTcpSocket;
struct AndroidDevice;
struct _MsgMessage;

// Sends messages to a phone over a restore connection, in batches of at most
// 100 that the phone acknowledges, and records them in the phone's cache.
// Group and system messages and messages without a correspondent cannot go
// as SMS: they are counted and reported. Messages the cache already holds
// are not sent again. A batch enters the cache only once the phone has
// acknowledged it, so a message the phone never received is never taken for
// delivered. Runs under a progress dialog (runJob); the phone record and the
// message records are not owned and must outlive the job.
class AndroidRestoreSMSThread : public QThread
{
public:
    AndroidRestoreSMSThread(AndroidDevice* device, const QList<_MsgMessage*>& input, JobProgress* form,
                            QObject* parent);
    ~AndroidRestoreSMSThread() override;

    static constexpr int kBatchSize = 100;

protected:
    void run() override;

private:
    void send();
    void agreeOnDefaultSmsApp();
    void sendBatch(int first, int count, int total);
    bool alreadyInCache(const QString& hash);
    QString successText(int handled) const;
    void closeUp();

    AndroidDevice* device;
    QList<_MsgMessage*> pendingMessages; // sorted ascending
    JobProgress* form;
    ExportMessagesDb cacheWriter;
    int skippedCount = 0;
    int handledCount = 0;
    std::unique_ptr<QTcpSocket> socket;
    simpleprotocol::CancelCheck cancelCheck;
    QSet<QString> batchHashes; // of the messages sent in the batch under way
};
