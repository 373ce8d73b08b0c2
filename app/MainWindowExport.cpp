// Export and print: the messages of a selection, a conversation or a whole
// source, to files or to the printer.
#include "app/MainWindow.h"

#include "app/MainWindowForm.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "export/ExportSMSThread.h"
#include "export/ExportTarget.h"
#include "export/SMSPrinter.h"
#include "jobs/JobRunner.h"
#include "jobs/ProgressForm.h"

#include "ui/FileDialogs.h"
#include "ui/MessageBoxes.h"
#include "ui/ShellOpen.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>

namespace {
// The folder that holds what an export wrote: the folder itself for PDF and
// HTML, the file's folder otherwise.
QString folderOf(const ExportTarget& target)
{
    const bool folder = target.format == ExportTarget::Pdf || target.format == ExportTarget::Html;
    return folder ? QDir(target.path).absolutePath() : QFileInfo(target.path).absolutePath();
}

// The job's success text, where the export went, and a button that opens
// that folder.
void showExported(const QString& text, const ExportTarget& target)
{
    const QString where = MainWindow::tr("Saved to %1").arg(QDir::toNativeSeparators(target.path).toHtmlEscaped());
    const QString folder = folderOf(target);
    showInfoBoxWithAction(text.toHtmlEscaped() + QStringLiteral("<br/><br/>") + where,
                          MainWindow::tr("Open Folder"), [folder] { openInExplorer(folder); });
}
} // namespace

void MainWindow::miExport()
{
    runPlainCommand(&MainWindow::miExportSel, &MainWindow::miExportChat, &MainWindow::miExportAll);
}

void MainWindow::miExportSel()
{
    runWithSelectedMessages(&MainWindow::exportMessages);
}

void MainWindow::miExportChat()
{
    exportMessages(chatMessages());
}

void MainWindow::miExportAll()
{
    runWithAllMessages(&MainWindow::exportMessages);
}

// Exports the messages into the file or folder the user names, in the
// format of the filter the user picks.
void MainWindow::exportMessages(const MessageList& list)
{
    const _AbsDBItemNode* source = ItemModelMain::sourceOf(currentNode());
    if (!source || !listBelongsToSource(list))
        return;
    // The records stay alive until the job has ended, whatever the tree does meanwhile.
    const MessageSetPtr records = source->messageSet;
    const QString start = QDir::home().filePath(QStringLiteral("sms(%1)").arg(
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"))));
    QString filter;
    const QString chosen = askSaveFileName(this, tr("IDS_SEL_EXPORT_MESSAGES_PATH"), start,
                                           ExportTarget::filters().join(QStringLiteral(";;")), &filter);
    if (chosen.isEmpty())
        return;
    const ExportTarget target = ExportTarget::forChoice(chosen, filter);
    const bool ascending = ui->treeViewSMS->header()->sortIndicatorOrder() == Qt::AscendingOrder;
    ProgressForm form(QString(), this);
    form.setSuccessBox([&target](const QString& text) { showExported(text, target); });
    ExportSMSThread job(list, target.path, target.format, ascending, &form, this);
    runJob(form, job);
}

void MainWindow::miPrint()
{
    runPlainCommand(&MainWindow::miPrintSel, &MainWindow::miPrintChat, &MainWindow::miPrintAll);
}

void MainWindow::miPrintSel()
{
    runWithSelectedMessages(&MainWindow::printMessages);
}

void MainWindow::miPrintChat()
{
    printMessages(chatMessages());
}

void MainWindow::miPrintAll()
{
    runWithAllMessages(&MainWindow::printMessages);
}

// The print preview of the messages, in the order of the list.
void MainWindow::printMessages(const MessageList& list)
{
    const _AbsDBItemNode* source = ItemModelMain::sourceOf(currentNode());
    if (!source || !listBelongsToSource(list))
        return;
    const MessageSetPtr records = source->messageSet;
    SMSPrinter printer(this);
    printer.print(list);
}
