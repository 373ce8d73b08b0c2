#include "android/AndroidConnectWithWiFiThread.h"

#include "android/CompanionApp.h"
#include "android/CompanionInfo.h"
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
    try {
        readCompanionInfo(record, [this] { return form->isCanceled(); });
    } catch (int) {
        return;
    } catch (const std::exception& e) {
        if (!form->isCanceled())
            form->postErrorOccurred(QString::fromUtf8(e.what()));
        return;
    }
    postCompanionVersionVerdict(record, form);
}
