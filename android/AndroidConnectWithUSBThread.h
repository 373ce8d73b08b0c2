#pragma once

#include "android/AndroidDevice.h"

#include <QThread>

class JobProgress;

// Connects a phone that the device monitor found on USB: installs the
// companion app when the phone's package list lacks it, then asks the app
// for the phone's properties. A phone that refuses the app and runs
// Android 10 or later is read over the adb shell instead: its record then
// comes from getprop and says so (viaAdbShell). Runs under a progress dialog (runJob); the
// record is complete when the job succeeded.
class AndroidConnectWithUSBThread : public QThread
{
public:
    AndroidConnectWithUSBThread(const QString& serial, JobProgress* form, QObject* parent);

    const AndroidDevice& device() const { return record; }

protected:
    void run() override;

private:
    bool installCompanionIfMissing();
    void installCompanion();
    bool chooseShellRoute(const QString& installError);
    void postConnectError(const QString& text);

    JobProgress* form;
    AndroidDevice record;
};
