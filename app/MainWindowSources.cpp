#include "app/MainWindow.h"

#include "app/MainWindowForm.h"
#include "app/dialogs/AboutUsForm.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "base/AppDirs.h"
#include "base/AppInfo.h"
#include "store/IOS6MessageDb.h"
#include "store/LocalDbCatalogue.h"
#include "ui/MessageBoxes.h"
#include "ui/ShellOpen.h"

#include <QDir>

#include <exception>

namespace {
// True when path lies inside folder (or is it).
bool isInside(const QString& path, const QString& folder)
{
    const QString inner = QDir::cleanPath(path);
    const QString outer = QDir::cleanPath(folder);
    return inner == outer || inner.startsWith(outer + QLatin1Char('/'));
}

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
    for (const QString& name : LocalDbCatalogue::names())
        mainModel->addLocalDb(LocalDbCatalogue::database(name), name);
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
            readSource(node);
        } catch (const std::exception& e) {
            showErrorBox(QString::fromUtf8(e.what()));
        }
    }
}

// The window keeps no file open between reads: a database holds descriptors
// while open, and a long session browses many of them. The next read opens
// the file again.
void MainWindow::readSource(_AbsDBItemNode* source)
{
    const QSharedPointer<IOS6MessageDb> db = source->db;
    const MessageSetPtr set = MessageSetPtr::create();
    {
        struct CloseAfterReading
        {
            IOS6MessageDb& db;
            ~CloseAfterReading() { db.close(); }
        } closeAfterReading{*db};
        db->readMessages(*set, 0);
    }
    replaceSourceSet(source, set);
}

void MainWindow::replaceSourceSet(_AbsDBItemNode* source, const MessageSetPtr& set)
{
    // The conversations and the views point into the old set.
    const Node* current = currentNode();
    if (current && current->parent == source)
        ui->treeViewDS->setCurrentIndex(QModelIndex());
    if (viewsShow(source))
        clearMessageView();
    mainModel->removeChildren(source);
    source->messageSet = set;
    mainModel->rebuildConversations(source);
}

void MainWindow::miOpenDbFolder()
{
    openInExplorer(localDbDir().absolutePath());
}

void MainWindow::miViewCache()
{
    if (const _AndroidDeviceItemNode* phone = asPhone(currentNode()))
        openInExplorer(QDir(phone->device.cacheDir()).absolutePath());
}

// The phones' caches go, and with them what the phones show: a phone keeps
// its node, without conversations, until it is plugged in (or connected over
// WiFi) again and loads afresh. Virtual phones are not caches and stay.
void MainWindow::miClearCache()
{
    const QString caches = appDataDir().absoluteFilePath(QStringLiteral("android_cache"));
    int emptied = 0;
    for (_AndroidDeviceItemNode* phone : mainModel->phones()) {
        if (!isInside(phone->db->folder().absolutePath(), caches))
            continue;
        replaceSourceSet(phone, MessageSetPtr::create());
        ++emptied;
    }
    removeDirRecursively(caches);
    QString text = tr("IDS_SUC_CLEAR_CACHE");
    if (emptied > 0)
        text += QStringLiteral("<br/><br/>") +
                tr("The connected phones show no messages now. Plug a phone in again (or connect it again "
                   "over WiFi) to load its messages.");
    showInfoBox(text);
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
void MainWindow::reloadSource(_AbsDBItemNode* target)
{
    if (viewsShow(target) || currentNode() == target) {
        // The selection leaves it, so that selecting it afterwards shows it anew.
        clearMessageView();
        ui->treeViewDS->setCurrentIndex(QModelIndex());
    }
    try {
        readSource(target);
        selectAndExpand(target);
    } catch (const std::exception& e) {
        showErrorBox(QString::fromUtf8(e.what()));
    }
}
