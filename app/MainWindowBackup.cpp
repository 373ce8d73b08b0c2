#include "app/MainWindow.h"

#include "app/MainWindowForm.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "jobs/BackupSMSThread.h"
#include "jobs/JobRunner.h"
#include "jobs/LocalDbSelForm.h"
#include "jobs/ProgressForm.h"
#include "store/IOS6MessageDb.h"
#include "store/LocalDbCatalogue.h"
#include "ui/MessageBoxes.h"

#include <exception>

void MainWindow::miBackup()
{
    runPlainCommand(&MainWindow::miBackupSel, &MainWindow::miBackupChat, &MainWindow::miBackupAll);
}

void MainWindow::miBackupSel()
{
    runWithSelectedMessages(&MainWindow::backupMessages);
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
    bool made = false;
    _LocalDBItemNode* target = findLocalDb(name);
    if (!target)
        target = createLocalDb(name, made);
    // Only a folder that was not there at all is this job's to take away again.
    if (created)
        *created = made;
    if (target)
        target->db->close();
    return target;
}

QStringList MainWindow::localDbNames() const
{
    QStringList names;
    for (const _LocalDBItemNode* database : mainModel->localDbs())
        names.append(database->name);
    return names;
}

// The database the tree shows under that name, or under one that differs
// only in letter case (the catalogue's rule); null when there is none.
_LocalDBItemNode* MainWindow::findLocalDb(const QString& name) const
{
    const QString shown = LocalDbCatalogue::match(localDbNames(), name);
    if (shown.isEmpty())
        return nullptr;
    for (_LocalDBItemNode* database : mainModel->localDbs()) {
        if (database->name == shown)
            return database;
    }
    return nullptr;
}

// A new, empty local database: its folder (so that it is listed at the next
// start even when the backup does not complete) and its node. made tells
// whether the folder was made just now.
_LocalDBItemNode* MainWindow::createLocalDb(const QString& name, bool& made)
{
    try {
        made = LocalDbCatalogue::create(name);
    } catch (const std::exception& e) {
        showErrorBox(QString::fromUtf8(e.what()));
        return nullptr;
    }
    return mainModel->addLocalDb(LocalDbCatalogue::database(name), name);
}
