#include "android/AndroidLoadSMSThread.h"

#include "android/AndroidDevice.h"
#include "android/CompanionApp.h"
#include "android/PhoneCacheFolder.h"
#include "android/PhoneSms.h"
#include "base/PathGuard.h"
#include "country/CountryInfo.h"
#include "jobcore/JobBody.h"
#include "jobcore/JobProgress.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>

using namespace simpleprotocol;

AndroidLoadSMSThread::AndroidLoadSMSThread(AndroidDevice* device, JobProgress* form, QObject* parent)
    : QThread(parent), device(device), form(form), cacheWriter(QDir(device->cacheDir()), device->mmc),
      cancelCheck([form] { return form->isCanceled(); })
{}

AndroidLoadSMSThread::~AndroidLoadSMSThread() = default;

void AndroidLoadSMSThread::run()
{
    expectedCount = -1;
    receivedCount = 0;
    skippedCount = 0;
    form->postUpdateProgress(QCoreApplication::translate("AndroidLoadSMSThread", "IDS_ANDROID_LOADING_SMS"),
                             0, QString());
    if (!removeOldCache())
        return;
    // Cancelled or failed: nothing of this load is kept.
    runJobBody(form, [this] { load(); }, [this] { closeUp(); });
}

bool AndroidLoadSMSThread::removeOldCache()
{
    const QString folder = cacheWriter.folder().absolutePath();
    const QString path = cacheWriter.databasePath();
    if (!isOwnCacheFolder(folder) || !entryLeadingOutside(folder, path).isEmpty()) {
        form->postErrorOccurred(
            QCoreApplication::translate(
                "AndroidLoadSMSThread",
                "The phone's cache folder %1 is not a folder of Textferry's phone caches; "
                "nothing was loaded.")
                .arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    if (QFileInfo::exists(path) && !QFile::remove(path)) {
        form->postErrorOccurred(QStringLiteral("can not overwrite %1.").arg(path));
        return false;
    }
    return true;
}

void AndroidLoadSMSThread::load()
{
    cacheWriter.begin();
    country = cacheWriter.country();
    const QString url = QString::fromLatin1(CompanionApp::kBackupUrl).arg(pickPort());
    socket = connectCompanion(*device, url, kConnectTimeoutMs, cancelCheck);
    for (;;) {
        const QString line = readCommand(socket.get(), -1, cancelCheck);
        if (line.startsWith(QLatin1String(kCount))) {
            expectedCount = line.mid(int(qstrlen(kCount))).toInt();
            if (expectedCount == 0)
                expectedCount = -1;
        } else if (line.startsWith(QLatin1String(kBatch))) {
            runBatch();
        } else if (line.startsWith(QLatin1String(kBye))) {
            break;
        }
    }
    sendCommand(socket.get(), QLatin1String(kBye), QString(), true, -1, cancelCheck);
    releaseSocket(socket);
    // A cancel that came while the last lines arrived still wins.
    form->throwIfCanceled();
    cacheWriter.end();
    qDebug("Loaded %d records from the phone %s; %d could not be read and were skipped.", receivedCount,
           qUtf8Printable(device->displayName()), skippedCount);
    if (skippedCount == 0) {
        form->postSucceed(QString());
        return;
    }
    form->postSucceed(
        QCoreApplication::translate("AndroidLoadSMSThread",
                                    "%1 messages from the phone could not be read and were skipped.")
            .arg(skippedCount));
}

void AndroidLoadSMSThread::runBatch()
{
    for (;;) {
        form->throwIfCanceled();
        const QString line = readCommand(socket.get(), -1, cancelCheck);
        if (line.startsWith(QLatin1String(kSms))) {
            handleSms(line.mid(int(qstrlen(kSms))));
        } else if (line.startsWith(QLatin1String(kEnd))) {
            sendCommand(socket.get(), QLatin1String(kBatch), QString(), true, -1, cancelCheck);
            return;
        }
    }
}

void AndroidLoadSMSThread::handleSms(const QString& record)
{
    ++receivedCount;
    // Without a count from the phone (-1) the bar stays where it is.
    form->postItemProgress(QString(), receivedCount, expectedCount, QStringLiteral("sms: %1/%2"));
    PhoneSms sms;
    if (sms.read(record, country))
        cacheWriter.write(sms.record());
    else
        ++skippedCount;
}

void AndroidLoadSMSThread::closeUp()
{
    // Closing without end() drops the open transaction.
    cacheWriter.abandon();
    releaseSocket(socket);
}
