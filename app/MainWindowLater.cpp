// Commands and events whose work is done by parts of the program still to
// come: the device monitor, connecting and loading phones, transfers, export,
// printing, the WiFi dialog and the vendor's web server. Each slot already
// has its menu wiring and hands on the message list its variant stands for;
// the body marked "Seam" is where that work plugs in, after the check that
// the list belongs to the source it acts on.
#include "app/MainWindow.h"

#include "app/tree/ItemModelMain.h"

#include <QMetaType>

// Seam: create the device monitor, connect its deviceConnected and
// deviceDisconnected signals to androidDeviceConnected and
// androidDeviceDisconnected, start it, and schedule androidUsbTips() after 10 s.
void MainWindow::startDeviceMonitor()
{
    // The monitor's signals carry listing entries across threads.
    qRegisterMetaType<AdbDevice>("AdbDevice");
}

// Seam: the daily update check and the promotion link request, whose replies
// land in onCheckVersionReadyRead() and onGetAdvLinkRead().
void MainWindow::startUpdateAndPromotionRequests() {}

// Seam: the update reply (a newer version's address offers the download).
void MainWindow::onCheckVersionReadyRead() {}

// Seam: the promotion reply (shown in the status bar and kept in "last-adv").
void MainWindow::onGetAdvLinkRead() {}

// Seam: warn about a phone that has not authorised debugging, then connect it
// over USB and load it with androidDeviceLoad().
void MainWindow::androidDeviceConnected(const AdbDevice&) {}

// A phone that left the monitor's listing leaves the tree.
void MainWindow::androidDeviceDisconnected(const QString& id)
{
    if (id.isEmpty())
        return;
    removeSourceNode(mainModel->deviceNodeById(id));
}

// Seam: load the phone's messages into its cache database and show it.
void MainWindow::androidDeviceLoad(const AndroidDevice&) {}

// Seam: the hint on connecting a phone when the monitor has found none.
void MainWindow::androidUsbTips() {}

// "Disconnect Device": the phone leaves the tree; nothing is sent to it. The
// node itself is removed (virtual phones share an empty serial, so a look-up
// by identifier could hit another one).
void MainWindow::miUnmoutDevice()
{
    Node* node = currentNode();
    if (node && node->type == kNodeDevice)
        removeSourceNode(static_cast<_AbsDBItemNode*>(node));
}

// Seam: the WiFi connection dialog, then androidDeviceLoad() for its phone.
void MainWindow::miConnectWifi() {}

// Seam: open the vendor's update page.
void MainWindow::miCheckUpdate() {}

void MainWindow::miExport()
{
    runPlainCommand(&MainWindow::miExportSel, &MainWindow::miExportChat, &MainWindow::miExportAll);
}

void MainWindow::miExportSel()
{
    const MessageList list = selectedMessages();
    if (!list.isEmpty())
        exportMessages(list);
}

void MainWindow::miExportChat()
{
    exportMessages(chatMessages());
}

void MainWindow::miExportAll()
{
    runWithAllMessages(&MainWindow::exportMessages);
}

// Seam: the export job (file name, format, progress dialog).
void MainWindow::exportMessages(const MessageList& list)
{
    if (!listBelongsToSource(list))
        return;
}

void MainWindow::miPrint()
{
    runPlainCommand(&MainWindow::miPrintSel, &MainWindow::miPrintChat, &MainWindow::miPrintAll);
}

void MainWindow::miPrintSel()
{
    const MessageList list = selectedMessages();
    if (!list.isEmpty())
        printMessages(list);
}

void MainWindow::miPrintChat()
{
    printMessages(chatMessages());
}

void MainWindow::miPrintAll()
{
    runWithAllMessages(&MainWindow::printMessages);
}

// Seam: the print dialog and preview.
void MainWindow::printMessages(const MessageList& list)
{
    if (!listBelongsToSource(list))
        return;
}

void MainWindow::miA2A()
{
    runPlainCommand(&MainWindow::miA2ASel, &MainWindow::miA2AChat, &MainWindow::miA2AAll);
}

void MainWindow::miA2ASel()
{
    const MessageList list = selectedMessages();
    if (!list.isEmpty())
        transferToOtherPhone(list);
}

void MainWindow::miA2AChat()
{
    transferToOtherPhone(chatMessages());
}

void MainWindow::miA2AAll()
{
    runWithAllMessages(&MainWindow::transferToOtherPhone);
}

// Seam: pick another phone, send the messages to it and refresh its node.
void MainWindow::transferToOtherPhone(const MessageList& list)
{
    if (!listBelongsToSource(list))
        return;
}

void MainWindow::miDb2A()
{
    runPlainCommand(&MainWindow::miDb2ASel, &MainWindow::miDb2AChat, &MainWindow::miDb2AAll);
}

void MainWindow::miDb2ASel()
{
    const MessageList list = selectedMessages();
    if (!list.isEmpty())
        transferDatabaseToPhone(list);
}

void MainWindow::miDb2AChat()
{
    transferDatabaseToPhone(chatMessages());
}

void MainWindow::miDb2AAll()
{
    runWithAllMessages(&MainWindow::transferDatabaseToPhone);
}

// Seam: pick a phone, send the local database's messages to it and refresh its node.
void MainWindow::transferDatabaseToPhone(const MessageList& list)
{
    if (!listBelongsToSource(list))
        return;
}
