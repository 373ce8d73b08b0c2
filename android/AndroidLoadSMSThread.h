#pragma once

#include "android/SimpleProtocol.h"
#include "country/CountryInfo.h"
#include "store/ExportMessagesDb.h"

#include <QThread>

#include <memory>

class JobProgress;
class QTcpSocket;
struct AndroidDevice;

// Loads every message of a connected phone into the phone's cache database:
// the old cache file is deleted, the messages arrive in batches over a
// backup connection and are written in one transaction, committed only when
// the phone said "$bye:". A cancel or an error leaves no cache behind.
// Records that cannot be read are skipped, counted, logged and named in the
// success text; a load without such records ends without a text.
// Runs under a progress dialog (runJob); the phone record is not owned and
// must outlive the job.
class AndroidLoadSMSThread : public QThread
{
public:
    AndroidLoadSMSThread(AndroidDevice* device, JobProgress* form, QObject* parent);
    ~AndroidLoadSMSThread() override;

protected:
    void run() override;

private:
    void load();
    void runBatch();
    void handleSms(const QString& record);
    // Deletes the previous cache file; false (with the error posted) when it stays.
    bool removeOldCache();
    void closeUp();

    AndroidDevice* device;
    JobProgress* form;
    std::unique_ptr<QTcpSocket> socket;
    int expectedCount = -1;
    int receivedCount = 0;
    int skippedCount = 0; // records too short to be read
    ExportMessagesDb cacheWriter;
    CountryInfo country; // of the phone's MCC, for its addresses
    simpleprotocol::CancelCheck cancelCheck;
};
