#include "app/MainWindow.h"

#include "app/MainWindowForm.h"
#include "app/messages/ItemModelSms.h"
#include "app/messages/SmsBrowser.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageLists.h"
#include "store/MessageOrder.h"
#include "ui/MessageBoxes.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPersistentModelIndex>

#include <exception>
#include <utility>

namespace {
void sortAsShown(QList<_MsgMessage*>& list, const QHeaderView* header)
{
    if (header->sortIndicatorOrder() == Qt::AscendingOrder)
        sortMessagesAscending(list);
    else
        sortMessagesDescending(list);
}
} // namespace

void MainWindow::onMainTreeSelected(const QItemSelection& selected, const QItemSelection&)
{
    updateActions();
    if (selected.isEmpty())
        return;
    showSelectedNode(mainModel->nodeFromIndex(selected.first().topLeft()));
}

void MainWindow::showSelectedNode(Node* node)
{
    // Whatever the views showed before belongs to another node: they never
    // keep it once this one has failed to read.
    try {
        if (_LocalDBItemNode* database = asLocalDb(node)) {
            showLocalDb(database);
        } else if (_ChatSessionItemNode* conversation = asConversation(node)) {
            // The source's set was read whole with its conversations.
            _AbsDBItemNode* source = ItemModelMain::sourceOf(conversation);
            if (conversation->chats.isEmpty() || !source)
                clearMessageView();
            else
                showSourceMessages(source, messagesOfChats(conversation->chats));
        } else if (_AndroidDeviceItemNode* phone = asPhone(node)) {
            // A phone's cache is read again on every selection.
            readSource(phone);
            showSourceMessages(phone, allMessages(*phone->messageSet));
        } else {
            clearMessageView();
        }
    } catch (const std::exception& e) {
        clearMessageView();
        showErrorBox(QString::fromUtf8(e.what()));
    }
}

// A local database is read on its first selection only; its conversations
// then stand for "already read".
void MainWindow::showLocalDb(_LocalDBItemNode* node)
{
    if (node->children.isEmpty()) {
        readSource(node);
        const QPersistentModelIndex index(mainModel->indexOfNode(node));
        MyTreeView* tree = ui->treeViewDS;
        QMetaObject::invokeMethod(
            tree,
            [tree, index] {
                if (index.isValid())
                    tree->expand(index);
            },
            Qt::QueuedConnection);
        if (node->children.isEmpty()) {
            clearMessageView();
            return;
        }
    }
    showSourceMessages(node, allMessages(*node->messageSet));
}

void MainWindow::showSourceMessages(_AbsDBItemNode* source, const MessageList& list)
{
    // The set shown before is let go only once the views hold the new records.
    const MessageSetPtr previous = std::exchange(shownSet, source->messageSet);
    showMessageList(list);
}

void MainWindow::showMessageList(const MessageList& list)
{
    MessageList sorted = list;
    sortAsShown(sorted, ui->treeViewSMS->header());
    smsModel->setMessages(sorted);
    // A new list starts at its top, not where the last one was scrolled to.
    ui->treeViewSMS->scrollToTop();
    ui->txtSMS->clear();
    ui->txtSMS->setMessages(smsModel->messages());
    ui->lbSMSCount->setText(tr("Messages: %1").arg(sorted.size()));
}

void MainWindow::clearMessageView()
{
    smsModel->clear();
    ui->txtSMS->clear();
    ui->lbSMSCount->setText(tr("Messages: 0"));
    shownSet.reset();
}

bool MainWindow::viewsShow(const _AbsDBItemNode* source) const
{
    return source && shownSet && shownSet == source->messageSet;
}

void MainWindow::onSMSSortIndicatorChanged(int logicalIndex, Qt::SortOrder)
{
    if (logicalIndex != 0) {
        // Only the date orders the list; the header signals again with column 0.
        ui->treeViewSMS->header()->setSortIndicator(0, Qt::DescendingOrder);
        return;
    }
    showMessageList(smsModel->messages());
}

void MainWindow::onSMSItemSelected(const QItemSelection& selected, const QItemSelection&)
{
    if (selected.isEmpty())
        return;
    const QModelIndex first = selected.first().topLeft();
    if (smsModel->messageFromIndex(first))
        ui->txtSMS->showMessage(first.row());
}

MainWindow::MessageList MainWindow::selectedMessages() const
{
    MessageList list;
    const QModelIndexList rows = ui->treeViewSMS->selectionModel()->selectedRows(0);
    list.reserve(rows.size());
    for (const QModelIndex& row : rows) {
        if (_MsgMessage* message = smsModel->messageFromIndex(row))
            list.append(message);
    }
    return list;
}

MainWindow::MessageList MainWindow::chatMessages() const
{
    return smsModel->messages();
}

// The source is read again, so that messages that arrived since it was shown
// go too; the views, when they showed it, show its new records.
MainWindow::MessageList MainWindow::allSourceMessages()
{
    _AbsDBItemNode* source = ItemModelMain::sourceOf(currentNode());
    if (!source)
        return {};
    const bool shown = viewsShow(source);
    try {
        readSource(source);
    } catch (const std::exception& e) {
        showErrorBox(QString::fromUtf8(e.what()));
        return {};
    }
    if (shown && currentNode() == source)
        showSourceMessages(source, allMessages(*source->messageSet));
    MessageList list = allMessages(*source->messageSet);
    sortAsShown(list, ui->treeViewSMS->header());
    return list;
}

bool MainWindow::listBelongsToSource(const MessageList& list)
{
    const _AbsDBItemNode* source = ItemModelMain::sourceOf(currentNode());
    if (!source)
        return false;
    const MessageSet& set = *source->messageSet;
    for (const _MsgMessage* message : list) {
        if (!message || set.messages.value(message->rowid) != message) {
            showErrorBox(tr("The messages on display do not belong to %1. Select it again; nothing was done.")
                             .arg(source->name.toHtmlEscaped()));
            return false;
        }
    }
    return true;
}

void MainWindow::runPlainCommand(Command sel, Command chat, Command all)
{
    if (ui->treeViewSMS->selectionModel()->hasSelection()) {
        (this->*sel)();
        return;
    }
    const Node* node = currentNode();
    if (!node)
        return;
    if (asConversation(node))
        (this->*chat)();
    else
        (this->*all)();
}

void MainWindow::runWithSelectedMessages(ListCommand command)
{
    const MessageList list = selectedMessages();
    if (!list.isEmpty())
        (this->*command)(list);
}

// Read once: a second read would replace the records of the first list.
void MainWindow::runWithAllMessages(ListCommand command)
{
    const MessageList list = allSourceMessages();
    if (!list.isEmpty())
        (this->*command)(list);
}
