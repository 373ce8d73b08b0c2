#include "android/AndroidConnectWithWiFiThread.h"

#include "android/CompanionApp.h"
#include "android/CompanionInfo.h"
#include "jobcore/JobBody.h"
#include "jobcore/JobProgress.h"

#include <QCoreApplication>

AndroidConnectWithWiFiThread::AndroidConnectWithWiFiThread(const QString& host, JobProgress* form,
                                                           QObject* parent)
    : QThread(parent), form(form)
{
    record.isWifi = true;
    record.host = host;
    record.port = CompanionApp::kWifiControlPort;
}

void AndroidConnectWithWiFiThread::run()
{
    form->postUpdateProgress(
        QCoreApplication::translate("AndroidConnectWithWiFiThread", "IDS_GET_ANDROID_DEVICE_INFO"), 99,
        QString());
    if (runJobBody(form, [this] { readCompanionInfo(record, [this] { return form->isCanceled(); }); }))
        postCompanionVersionVerdict(record, form);
}
