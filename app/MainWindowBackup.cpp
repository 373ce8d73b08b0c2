#include "app/MainWindow.h"

#include "app/MainWindowForm.h"
#include "base/AppDirs.h"
#include "app/tree/ItemModelMain.h"
#include "ui/MessageBoxes.h"
#include "app/views/MyTreeView.h"
#include "jobs/BackupSMSThread.h"
#include "jobs/JobRunner.h"
#include "jobs/LocalDbSelForm.h"
#include "jobs/ProgressForm.h"
#include "store/IOS6MessageDb.h"

#include <QDir>
#include <QFileInfo>

#include <exception>

void MainWindow::miBackup()
{
    runPlainCommand(&MainWindow::miBackupSel, &MainWindow::miBackupChat, &MainWindow::miBackupAll);
}

void MainWindow::miBackupSel()
{
    const MessageList list = selectedMessages();
    if (!list.isEmpty())
        backupMessages(list);
}

void MainWindow::miBackupChat()
{
    backupMessages(chatMessages());
}

void MainWindow::miBackupAll()
{
    runWithAllMessages(&MainWindow::backupMessages);
}

// Backs the messages up into a local database the user picks or names: an
// existing one (the messages are merged) or a new one, then shows it.
void MainWindow::backupMessages(const MessageList& list)
{
    const _AbsDBItemNode* source = ItemModelMain::sourceOf(currentNode());
    if (!source || !listBelongsToSource(list))
        return;
    // The source may leave the tree while the dialogs run (a phone unplugged):
    // its node is not used past this point, and its records stay alive until
    // the job has ended.
    const MessageSetPtr sourceRecords = source->messageSet;
    _LocalDBItemNode* target = pickLocalDbForWriting(source->name + QStringLiteral("_Backup"));
    if (!target)
        return;
    {
        ProgressForm form(QString(), this);
        BackupSMSThread job(list, target->db->folder(), QString(), &form, this);
        if (!runJob(form, job))
            return;
    }
    reloadSource(target);
}

// Asks for the local database a job writes into: an existing one, or a new
// one made at once. Its connection is closed: the job writes through its own.
_LocalDBItemNode* MainWindow::pickLocalDbForWriting(const QString& suggestedName, bool* created)
{
    QString name;
    {
        LocalDbSelForm picker(localDbNames(), suggestedName, this);
        name = picker.selectDatabaseName();
    }
    if (name.isEmpty())
        return nullptr;
    _LocalDBItemNode* target = findLocalDb(name);
    // Only a folder that was not there at all is this job's to take away again.
    if (created)
        *created = !target && !QFileInfo::exists(localDbDir().absoluteFilePath(name));
    if (!target)
        target = createLocalDb(name);
    if (target)
        target->db->close();
    return target;
}

QStringList MainWindow::localDbNames() const
{
    QStringList names;
    for (const Node* node : mainModel->localDbRoot()->children)
        names.append(node->name);
    return names;
}

// The database of exactly that name; else the first whose name differs only
// in letter case ("Alpha" and "alpha" may both exist on a case-sensitive disk).
_LocalDBItemNode* MainWindow::findLocalDb(const QString& name) const
{
    _LocalDBItemNode* other = nullptr;
    for (Node* node : mainModel->localDbRoot()->children) {
        if (node->type != kNodeLocalDb)
            continue;
        if (node->name == name)
            return static_cast<_LocalDBItemNode*>(node);
        if (!other && node->name.compare(name, Qt::CaseInsensitive) == 0)
            other = static_cast<_LocalDBItemNode*>(node);
    }
    return other;
}

// A new, empty local database: its folder (so that it is listed at the next
// start even when the backup does not complete) and its node.
_LocalDBItemNode* MainWindow::createLocalDb(const QString& name)
{
    const QDir folder = localDbDir();
    if (!folder.mkpath(name)) {
        showErrorBox(tr("Can't create the database folder %1.").arg(folder.absoluteFilePath(name)));
        return nullptr;
    }
    auto db = QSharedPointer<IOS6MessageDb>::create(QDir(folder.absoluteFilePath(name)), QString());
    return mainModel->addLocalDb(db, name);
}
