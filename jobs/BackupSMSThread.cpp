#include "jobs/BackupSMSThread.h"

#include "jobcore/JobBody.h"
#include "jobcore/JobProgress.h"
#include "store/MessageOrder.h"
#include "store/MsgMessage.h"

#include <QCoreApplication>

#include <utility>

namespace {

QString statusText()
{
    return QCoreApplication::translate("BackupSMSThread", "IDS_BACKING_UP_SMS");
}

} // namespace

BackupSMSThread::BackupSMSThread(const QList<_MsgMessage*>& messages, const QDir& databaseFolder,
                                 const QString& mcc, JobProgress* form, QObject* parent)
    : QThread(parent), messages(messages), form(form), exporter(databaseFolder, mcc)
{
    sortMessagesAscending(this->messages);
}

void BackupSMSThread::run()
{
    form->postUpdateProgress(statusText(), 0, QString());
    // Cancelled or failed: nothing of this backup stays.
    runJobBody(form, [this] { backUp(); }, [this] { exporter.abandon(); });
}

void BackupSMSThread::backUp()
{
    const QString status = statusText();
    const QString counter = QCoreApplication::translate("BackupSMSThread", "SMS: %1/%2");
    const int n = int(messages.size());
    int i = 0;
    exporter.begin();
    for (const _MsgMessage* message : std::as_const(messages)) {
        form->throwIfCanceled();
        ++i;
        form->postItemProgress(status, i, n, counter);
        exporter.write(*message);
    }
    // A cancel pressed during the last item must not be followed by a commit.
    form->throwIfCanceled();
    exporter.end();
    form->postSucceed(QCoreApplication::translate("BackupSMSThread", "IDS_SUC_BACKUP_%1_SMS").arg(i));
}
