#include "app/MainWindow.h"

#include "app/MainWindowForm.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "base/AppDirs.h"
#include "jobs/JobRunner.h"
#include "jobs/ProgressForm.h"
#include "store/DeleteMessagesThread.h"
#include "store/IOS6MessageDb.h"
#include "ui/MessageBoxes.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {
// True when name is a plain entry of the folder: deleting it can never reach
// anything outside the folder.
bool isDirectChild(const QDir& folder, const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return false;
    const QFileInfo entry(folder.absoluteFilePath(name));
    return !entry.isSymLink() &&
           QDir::cleanPath(entry.absolutePath()) == QDir::cleanPath(folder.absolutePath());
}
} // namespace

void MainWindow::miDel()
{
    runPlainCommand(&MainWindow::miDelSel, &MainWindow::miDelChat, &MainWindow::miDelAll);
}

// Deletes the selected messages of a local database (or of one of its
// conversations) and shows what remains.
void MainWindow::miDelSel()
{
    Node* node = currentNode();
    _LocalDBItemNode* source = asLocalDb(ItemModelMain::sourceOf(node));
    if (!source)
        return;
    const MessageList list = selectedMessages();
    if (list.isEmpty() || !listBelongsToSource(list))
        return;
    if (!askYesNo(tr("IDS_CONFIRM_DEL_SEL_MESSAGES")))
        return;
    if (!runDeleteJob(source, list))
        return;
    clearMessageView();
    source->messageSet->removeMessages(list);
    const QModelIndex index = mainModel->indexOfNode(node);
    ui->treeViewDS->setCurrentIndex(QModelIndex());
    ui->treeViewDS->setCurrentIndex(index);
}

// Deletes every message of the selected conversation, then the conversation.
void MainWindow::miDelChat()
{
    _ChatSessionItemNode* conversation = asConversation(currentNode());
    _AbsDBItemNode* source = ItemModelMain::sourceOf(conversation);
    if (!conversation || !source)
        return;
    const MessageList list = chatMessages();
    if (!listBelongsToSource(list))
        return;
    if (!askYesNo(tr("IDS_CONFIRM_DEL_THIS_CHAT")))
        return;
    if (!runDeleteJob(source, list))
        return;
    clearMessageView();
    ui->treeViewDS->setCurrentIndex(QModelIndex());
    source->messageSet->removeMessages(list);
    deleteEmptyChats(*source->messageSet, conversation->chats);
    mainModel->removeNode(conversation);
}

// Deletes a whole local database: its folder and its node.
void MainWindow::miDelAll()
{
    _LocalDBItemNode* database = asLocalDb(currentNode());
    if (!database)
        return;
    if (!askYesNo(tr("IDS_CONFIRM_DEL_THIS_LOCALDB")))
        return;
    const QString name = database->name;
    const QDir folder = localDbDir();
    if (!isDirectChild(folder, name)) {
        showErrorBox(tr("The database folder %1 is not inside %2; nothing was deleted.")
                         .arg(name.toHtmlEscaped(), folder.absolutePath().toHtmlEscaped()));
        return;
    }
    database->db->close();
    removeDirRecursively(folder.absoluteFilePath(name));
    removeSourceNode(database);
    showInfoBox(tr("IDS_DEL_LOCALDB_SUC").replace(QStringLiteral("%0"), name));
}

bool MainWindow::runDeleteJob(_AbsDBItemNode* source, const MessageList& list)
{
    ProgressForm form(QString(), this);
    DeleteMessagesThread job(source->db.data(), &list, &form, this);
    const bool succeeded = runJob(form, job);
    // The job wrote through the tree's own connection; it is not kept open.
    source->db->close();
    return succeeded;
}

// Frees the conversation's chats whose messages are all gone; a chat that
// still holds messages stays, since those messages point at it.
void MainWindow::deleteEmptyChats(MessageSet& set, const QList<_MsgChat*>& chats)
{
    QSet<const _MsgChat*> freed;
    for (_MsgChat* chat : chats) {
        if (!chat || !chat->messages.isEmpty() || set.chats.value(chat->rowid) != chat)
            continue;
        set.chats.remove(chat->rowid);
        freed.insert(chat);
        delete chat;
    }
    if (freed.isEmpty())
        return;
    for (_MsgMessage* message : std::as_const(set.messages)) {
        if (freed.contains(message->chat))
            message->chat = nullptr;
    }
}
