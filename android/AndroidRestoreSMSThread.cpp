#include "android/AndroidRestoreSMSThread.h"

#include "android/AndroidDevice.h"
#include "android/CompanionApp.h"
#include "android/ProtocolWait.h"
#include "jobcore/JobBody.h"
#include "jobcore/JobProgress.h"
#include "store/MessageHash.h"
#include "store/MessageOrder.h"
#include "store/MsgHandle.h"
#include "store/MsgMessage.h"
#include "store/StoredDate.h"

#include <QCoreApplication>
#include <QTcpSocket>
#include <QtDebug>

using namespace simpleprotocol;

namespace {

constexpr int kTipsPollMs = 200;

QString translated(const char* text)
{
    return QCoreApplication::translate("AndroidRestoreSMSThread", text);
}

// The record the phone takes: time in ms, direction, address, text.
QString restoreRecord(const _MsgMessage& m)
{
    QString text = m.text;
    text.remove(QChar(0xFFFC)); // the placeholders of attachments
    return QStringLiteral("%0,%1,%2,%3")
        .arg(storedDateToPhoneTime(m.date))
        .arg(m.is_from_me ? 1 : 0)
        .arg(encodeText(m.handle->id), encodeText(text));
}

} // namespace

AndroidRestoreSMSThread::AndroidRestoreSMSThread(AndroidDevice* device, const QList<_MsgMessage*>& input,
                                                 JobProgress* form, QObject* parent)
    : QThread(parent), device(device), form(form), cacheWriter(QDir(device->cacheDir()), device->mmc),
      cancelCheck([form] { return form->isCanceled(); })
{
    for (_MsgMessage* message : input) {
        if (!message || message->item_type != 0 || !message->handle)
            ++skippedCount;
        else
            pendingMessages.append(message);
    }
    // The message order is no strict weak ordering: a stable sort keeps it sound.
    sortMessagesAscending(pendingMessages);
}

AndroidRestoreSMSThread::~AndroidRestoreSMSThread() = default;

void AndroidRestoreSMSThread::run()
{
    form->postUpdateProgress(translated("IDS_RESTORING_SMS_TO_ANDROID"), 0, QString());
    // Cancelled or failed: the acknowledged batches stay recorded.
    runJobBody(form, [this] { send(); }, [this] { closeUp(); });
}

void AndroidRestoreSMSThread::send()
{
    cacheWriter.begin();
    const QString url = QString::fromLatin1(CompanionApp::kRestoreUrl).arg(pickPort());
    socket = connectCompanion(*device, url, kConnectTimeoutMs, cancelCheck);
    agreeOnDefaultSmsApp();
    const int n = int(pendingMessages.size());
    for (int k = 0; k < n; k += kBatchSize) {
        throwIfCancelled(cancelCheck);
        sendBatch(k, std::min(kBatchSize, n - k), n);
    }
    sendCommand(socket.get(), QLatin1String(kBye), QString(), true, -1, cancelCheck);
    releaseSocket(socket);
    closeUp();
    form->postSucceed(successText(handledCount));
}

// A phone that must first become the default messaging app says so; the
// user is told and the job waits until the hint is closed.
void AndroidRestoreSMSThread::agreeOnDefaultSmsApp()
{
    const QString line = expectFeedback(socket.get(), QLatin1String(kDefSmsApp), -1, cancelCheck);
    if (line.mid(int(qstrlen(kDefSmsApp))).toInt() == 0)
        return;
    form->postTipsWait(
        translated("Please click \"YES\" to temporarily set our Quillbridge app as your default SMS app when "
                   "the message pops out on your Android's screen. Then click the \"OK\" button to start "
                   "transferring messages to your Android.<br/><br/>Note: It will resume your default "
                   "Messaging app settings after transferring messages to Android."));
    while (form->isWaitingTips()) {
        throwIfCancelled(cancelCheck);
        QThread::msleep(kTipsPollMs);
    }
    sendCommand(socket.get(), QLatin1String(kDefSmsApp), QString(), true, -1, cancelCheck);
}

void AndroidRestoreSMSThread::sendBatch(int first, int count, int total)
{
    batchHashes.clear();
    sendCommand(socket.get(), QLatin1String(kBatch), QString(), true, -1, cancelCheck);
    const QString counter = QCoreApplication::translate("AndroidRestoreSMSThread", "SMS: %1/%2");
    for (int i = first; i < first + count; ++i) {
        throwIfCancelled(cancelCheck);
        form->postItemProgress(QString(), i + 1, total, counter);
        const _MsgMessage& message = *pendingMessages.at(i);
        const QString hash = logicHash(message);
        if (!alreadyInCache(hash)) {
            sendCommand(socket.get(), QLatin1String(kSms), restoreRecord(message), false, -1, cancelCheck);
            batchHashes.insert(hash);
        }
    }
    sendCommand(socket.get(), QLatin1String(kEnd), QString(), true, -1, cancelCheck);
    expectFeedback(socket.get(), QLatin1String(kBatch), -1, cancelCheck);
    // Acknowledged: the batch is on the phone, so it enters the cache.
    for (int i = first; i < first + count; ++i)
        cacheWriter.write(*pendingMessages.at(i));
    handledCount = first + count;
}

// Held by the cache already, or sent earlier in this batch (which enters
// the cache with its acknowledgement).
bool AndroidRestoreSMSThread::alreadyInCache(const QString& hash)
{
    return batchHashes.contains(hash) || cacheWriter.hasMessageWithLogicHash(hash);
}

QString AndroidRestoreSMSThread::successText(int handled) const
{
    QString text = translated("IDS_SUC_RESTORE_%1_SMS_TO_ANDROID").arg(handled);
    if (skippedCount != 0)
        text += translated("IDS_SKIP_%1_SMS_GROUP_OR_SYS_MESSAGES").arg(skippedCount);
    return text;
}

// Commits what the phone acknowledged; a failure here changes nothing the
// phone has (it is only logged).
void AndroidRestoreSMSThread::closeUp()
{
    releaseSocket(socket);
    try {
        cacheWriter.end();
    } catch (const std::exception& e) {
        qWarning("AndroidRestoreSMSThread: the cache could not be committed: %s", e.what());
        cacheWriter.abandon();
    }
}
