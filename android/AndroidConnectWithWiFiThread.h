#pragma once

#include "android/AndroidDevice.h"

#include <QThread>

class JobProgress;

// Connects a phone over WiFi whose address the user typed: asks the
// companion app (listening on its control port) for the phone's properties.
// Runs under a progress dialog (runJob); the record is complete when the job
// succeeded.
class AndroidConnectWithWiFiThread : public QThread
{
public:
    AndroidConnectWithWiFiThread(const QString& host, JobProgress* form, QObject* parent);

    const AndroidDevice& device() const { return record; }

protected:
    void run() override;

private:
    JobProgress* form;
    AndroidDevice record;
};
