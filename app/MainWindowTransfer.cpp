// Transfers to a phone: from another phone (A2A) or from a local database
// (Db2A), all messages, one conversation's or a selection.
#include "app/MainWindow.h"

#include "android/AndroidRestoreSMSThread.h"
#include "app/dialogs/DataSourceSelForm.h"
#include "app/tree/ItemModelMain.h"
#include "jobs/JobRunner.h"
#include "jobs/ProgressForm.h"
#include "store/IOS6MessageDb.h"
#include "ui/MessageBoxes.h"

#include <QHash>

void MainWindow::miA2A()
{
    runPlainCommand(&MainWindow::miA2ASel, &MainWindow::miA2AChat, &MainWindow::miA2AAll);
}

void MainWindow::miA2ASel()
{
    runWithSelectedMessages(&MainWindow::sendToAndroid);
}

void MainWindow::miA2AChat()
{
    sendToAndroid(chatMessages());
}

void MainWindow::miA2AAll()
{
    runWithAllMessages(&MainWindow::sendToAndroid);
}

void MainWindow::miDb2A()
{
    runPlainCommand(&MainWindow::miDb2ASel, &MainWindow::miDb2AChat, &MainWindow::miDb2AAll);
}

void MainWindow::miDb2ASel()
{
    runWithSelectedMessages(&MainWindow::sendToAndroid);
}

void MainWindow::miDb2AChat()
{
    sendToAndroid(chatMessages());
}

void MainWindow::miDb2AAll()
{
    runWithAllMessages(&MainWindow::sendToAndroid);
}

// Sends the messages to a phone the user picks, then shows that phone anew.
void MainWindow::sendToAndroid(const MessageList& list)
{
    _AbsDBItemNode* source = ItemModelMain::sourceOf(currentNode());
    if (!source || !listBelongsToSource(list))
        return;
    // The records stay alive until the job has ended, whatever the tree does meanwhile.
    const MessageSetPtr sourceRecords = source->messageSet;
    _AndroidDeviceItemNode* picked = pickTargetPhone();
    if (!picked)
        return;
    if (picked->device.viaAdbShell) {
        // A refusal by design, not a failure: no error report.
        showWarningBox(
            tr("Writing messages to a phone needs the companion app, Quillbridge SMS Sync. %1 is read "
               "over USB without it, so messages can only be read from it.")
                .arg(picked->device.displayName()));
        return;
    }
    AndroidDevice target = picked->device;
    picked->db->close(); // the job writes the phone's cache through its own connection
    {
        ProgressForm form(QString(), this);
        AndroidRestoreSMSThread job(&target, list, &form, this);
        if (!runJob(form, job))
            return;
    }
    // The phone may have left the tree while the job ran.
    if (_AndroidDeviceItemNode* shown = mainModel->deviceNodeByUid(target.uid))
        reloadSource(shown);
}

// Every phone but the one the messages come from; null when the user cancels.
_AndroidDeviceItemNode* MainWindow::pickTargetPhone()
{
    const _AndroidDeviceItemNode* sourcePhone = asPhone(ItemModelMain::sourceOf(currentNode()));
    QList<DataSourceItem> items;
    QHash<qint64, QString> uids;
    for (const _AndroidDeviceItemNode* phone : mainModel->phones()) {
        if (sourcePhone && phone->device.uid == sourcePhone->device.uid)
            continue;
        const qint64 key = qint64(items.size()) + 1;
        items.append({QStringLiteral(":res/android.png"), phone->device.displayName(), key});
        uids.insert(key, phone->device.uid);
    }
    qint64 chosen = 0;
    {
        DataSourceSelForm picker(this);
        chosen = picker.select(tr("IDS_SEL_ONE_ANDROID_DEVICE"), items);
    }
    // Looked up again: a phone may have gone while the picker was open.
    return chosen == 0 ? nullptr : mainModel->deviceNodeByUid(uids.value(chosen));
}
