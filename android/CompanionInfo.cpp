#include "android/CompanionInfo.h"

#include "android/AndroidDevice.h"
#include "android/CompanionApp.h"
#include "jobcore/JobProgress.h"

#include <QCoreApplication>
#include <QTcpSocket>

using namespace simpleprotocol;

void readCompanionInfo(AndroidDevice& record, const CancelCheck& cancelled)
{
    const QString url = QString::fromLatin1(CompanionApp::kDeviceUrl).arg(pickPort());
    std::unique_ptr<QTcpSocket> socket = connectCompanion(record, url, kConnectTimeoutMs, cancelled);
    QString line;
    try {
        line = readCommand(socket.get(), -1, cancelled);
        sendCommand(socket.get(), QLatin1String(kBye), QString(), true, -1, cancelled);
    } catch (...) {
        releaseSocket(socket);
        throw;
    }
    releaseSocket(socket);
    // The tag is not looked at: whatever the first line is, it carries the text.
    for (const auto& pair : scanDeviceInfo(line.mid(int(qstrlen(kHello)))))
        record.setInfoValue(pair.first, pair.second);
}

void postCompanionVersionVerdict(const AndroidDevice& record, JobProgress* form)
{
    if (record.version >= CompanionApp::kMinimumVersion) {
        form->postSucceed(QString());
        return;
    }
    form->postErrorOccurred(
        QCoreApplication::translate(
            "AndroidConnect",
            "Quillbridge SMS Sync on Android is too old. %1 needed. Please update it from Google Play.")
            .arg(QLatin1String(CompanionApp::kMinimumVersionName)));
}
