#include "store/DeleteMessagesThread.h"

#include "jobcore/JobBody.h"
#include "jobcore/JobProgress.h"
#include "store/IOS6MessageDb.h"
#include "store/MsgMessage.h"

#include <QCoreApplication>
#include <QtDebug>

#include <exception>

DeleteMessagesThread::DeleteMessagesThread(IOS6MessageDb* database, const QList<_MsgMessage*>* messageList,
                                           JobProgress* form, QObject* parent)
    : QThread(parent), database(database), messageList(messageList), form(form)
{}

void DeleteMessagesThread::run()
{
    form->postUpdateProgress(
        QCoreApplication::translate("DeleteMessagesThread", "IDS_DELETING_LOCAL_DB_MESSAGES"), 0, QString());
    // Cancelled or failed: every deletion of this run is undone.
    runJobBody(form, [this] { deleteAll(); }, [this] { rollBack(); });
}

void DeleteMessagesThread::deleteAll()
{
    const int n = int(messageList->size());
    int i = 0;
    database->beginTransaction();
    for (const _MsgMessage* message : *messageList) {
        form->throwIfCanceled();
        ++i;
        // The status line keeps "Deleting SMS..."; the dialog shows the percentage.
        form->postItemProgress(QString(), i, n, QString());
        database->deleteMessage(*message);
    }
    // A cancel pressed during the last item must not be followed by a commit.
    form->throwIfCanceled();
    database->endTransaction(true);
    form->postSucceed(
        QCoreApplication::translate("DeleteMessagesThread", "IDS_SUC_DELETE_%1_MESSAGES").arg(i));
}

void DeleteMessagesThread::rollBack()
{
    try {
        database->endTransaction(false);
    } catch (const std::exception& e) {
        // SQLite may already have ended the transaction itself (after a full
        // disk, for one). Closing the connection drops whatever is left of
        // it; the database opens again on its next use.
        qWarning("DeleteMessagesThread rollback failed: %s", e.what());
        database->close();
    }
}
