// Commands and events whose work is done by parts of the program still to
// come: export, printing and the vendor's web server. Each slot already
// has its menu wiring and hands on the message list its variant stands for;
// the body marked "Seam" is where that work plugs in, after the check that
// the list belongs to the source it acts on.
#include "app/MainWindow.h"

#include "app/tree/ItemModelMain.h"

// Seam: the daily update check and the promotion link request, whose replies
// land in onCheckVersionReadyRead() and onGetAdvLinkRead().
void MainWindow::startUpdateAndPromotionRequests() {}

// Seam: the update reply (a newer version's address offers the download).
void MainWindow::onCheckVersionReadyRead() {}

// Seam: the promotion reply (shown in the status bar and kept in "last-adv").
void MainWindow::onGetAdvLinkRead() {}

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
