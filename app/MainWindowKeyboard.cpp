// Commands that exist for the keyboard (and sit in the Edit and View menus):
// the search boxes, the whole message list, and reading the current source
// again.
#include "app/MainWindow.h"

#include "app/MainWindowForm.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"

#include <QLineEdit>

namespace {
void focusSearchBox(QLineEdit* box)
{
    box->setFocus(Qt::ShortcutFocusReason);
    box->selectAll();
}
} // namespace

void MainWindow::miFindMessages()
{
    focusSearchBox(ui->txtSMSKeyword);
}

void MainWindow::miFindConversation()
{
    focusSearchBox(ui->txtHandleKeyword);
}

// Every message of the list is selected and the list takes the focus, so
// that the next key (Delete, the menu key) works on them.
void MainWindow::miSelectAllMessages()
{
    ui->treeViewSMS->setFocus(Qt::ShortcutFocusReason);
    ui->treeViewSMS->selectAll();
}

// The current source (a phone's cache or a local database) is read again
// from its file, with what changed there since it was shown; a conversation
// that was current is current again when it is still there.
void MainWindow::miRefresh()
{
    Node* node = currentNode();
    _AbsDBItemNode* source = ItemModelMain::sourceOf(node);
    if (!source)
        return;
    const QString conversation = asConversation(node) ? node->name : QString();
    reloadSource(source);
    if (conversation.isEmpty())
        return;
    for (Node* child : source->children) {
        if (child->name == conversation) {
            selectAndExpand(child);
            return;
        }
    }
}
