#include "app/MainWindow.h"

#include "app/MainWindowForm.h"
#include "app/base/AppDirs.h"
#include "app/base/AppInfo.h"
#include "app/dialogs/AboutUsForm.h"
#include "app/tree/ItemModelMain.h"
#include "app/ui/MessageBoxes.h"
#include "app/ui/ShellOpen.h"
#include "app/views/MyTreeView.h"
#include "store/IOS6MessageDb.h"

#include <QDir>

#include <exception>

namespace {
// The sub-folders of a folder, by name.
QStringList subFolders(const QDir& dir)
{
    return dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}
} // namespace

// Every folder of the local databases folder is one database; it is opened
// (and read) only when the user selects it, so a damaged one is listed too.
void MainWindow::loadLocalDatabases()
{
    const QDir folder = localDbDir();
    for (const QString& name : subFolders(folder)) {
        auto db = QSharedPointer<IOS6MessageDb>::create(QDir(folder.absoluteFilePath(name)), QString());
        mainModel->addLocalDb(db, name);
    }
    ui->treeViewDS->expand(mainModel->indexOfNode(mainModel->localDbRoot()));
}

// Message databases put into "virtual_android" by hand show as phones, which
// lets every phone command run without a device.
void MainWindow::loadVirtualDevices()
{
    const QDir folder(appDataDir().absoluteFilePath(QStringLiteral("virtual_android")));
    if (!folder.exists())
        return;
    for (const QString& name : subFolders(folder)) {
        try {
            AndroidDevice device;
            device.model = name;
            device.uid = folder.absoluteFilePath(name);
            auto db = QSharedPointer<IOS6MessageDb>::create(QDir(device.uid), QString());
            _AndroidDeviceItemNode* node = mainModel->addDevice(db, device);
            readSource(node, SourceRead::Chats);
            mainModel->rebuildConversations(node);
        } catch (const std::exception& e) {
            showErrorBox(QString::fromUtf8(e.what()));
        }
    }
}

// The window keeps no file open between reads: a database holds descriptors
// while open, and a long session browses many of them. The next read opens
// the file again.
void MainWindow::readSource(_AbsDBItemNode* source, SourceRead what)
{
    const QSharedPointer<IOS6MessageDb> db = source->db;
    struct CloseAfterReading
    {
        IOS6MessageDb& db;
        ~CloseAfterReading() { db.close(); }
    } closeAfterReading{*db};
    if (what == SourceRead::Messages)
        db->readMessages(*source->messageSet, 0);
    else
        db->readChats(*source->messageSet);
}

void MainWindow::miOpenDbFolder()
{
    openInExplorer(localDbDir().absolutePath());
}

void MainWindow::miViewCache()
{
    const Node* node = currentNode();
    if (!node || node->type != kNodeDevice)
        return;
    openInExplorer(QDir(static_cast<const _AndroidDeviceItemNode*>(node)->device.cacheDir()).absolutePath());
}

void MainWindow::miClearCache()
{
    removeDirRecursively(appDataDir().absoluteFilePath(QStringLiteral("android_cache")));
    showInfoBox(tr("IDS_SUC_CLEAR_CACHE"));
}

void MainWindow::miHelp()
{
    openWithShell(QLatin1String(AppInfo::kHelpPage));
}

void MainWindow::miFeedback()
{
    openWithShell(QLatin1String(AppInfo::kSupportPage));
}

void MainWindow::miAbout()
{
    AboutUsForm form(this);
    form.exec();
}

// Reads a source afresh after a job wrote it, rebuilds its conversations and
// selects it.
void MainWindow::reloadSource(_AbsDBItemNode* target, SourceRead what)
{
    const Node* current = currentNode();
    if (viewsShow(target) || (current && current->parent == target)) {
        // Its conversations are about to go; the selection leaves them first so
        // that selecting the source afterwards shows it anew.
        clearMessageView();
        ui->treeViewDS->setCurrentIndex(QModelIndex());
    }
    try {
        mainModel->removeChildren(target);
        readSource(target, what);
        mainModel->rebuildConversations(target);
        selectAndExpand(target);
    } catch (const std::exception& e) {
        showErrorBox(QString::fromUtf8(e.what()));
    }
}
