#include "app/MainWindow.h"

#include "app/MainWindowForm.h"
#include "app/messages/ItemModelSms.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "store/MessageText.h"
#include "ui/MessageBoxes.h"

#include <QLineEdit>

#include <algorithm>
#include <functional>

namespace {
// The first row from start to the end, then from 0 up to start, that
// matches; -1 when none does. The wrap lets a search end on the row before
// start, which is where it began.
int findRowFrom(int start, int count, const std::function<bool(int)>& matches)
{
    for (int row = start; row < count; ++row) {
        if (matches(row))
            return row;
    }
    for (int row = 0; row < start && row < count; ++row) {
        if (matches(row))
            return row;
    }
    return -1;
}

// The same backwards: from start down to 0, then from the end down past start.
int findRowBackFrom(int start, int count, const std::function<bool(int)>& matches)
{
    for (int row = std::min(start, count - 1); row >= 0; --row) {
        if (matches(row))
            return row;
    }
    for (int row = count - 1; row > start && row >= 0; --row) {
        if (matches(row))
            return row;
    }
    return -1;
}
} // namespace

void MainWindow::searchCotnact()
{
    const QString keyword = ui->txtHandleKeyword->text().trimmed();
    if (keyword.isEmpty())
        return;
    Node* node = currentNode();
    if (!node)
        return;
    // A conversation searches on from the next one of its source.
    const Node* source = ItemModelMain::sourceOf(node);
    if (!source)
        return;
    const int start = source == node ? 0 : int(source->children.indexOf(node)) + 1;
    const QList<Node*>& conversations = source->children;
    const int row = findRowFrom(start, int(conversations.size()), [&](int r) {
        return conversations.at(r)->name.contains(keyword, Qt::CaseInsensitive);
    });
    if (row < 0) {
        showInfoBox(tr("IDS_CAN_NOT_FOUNDCONTACT_KEYWORD_%0").arg(keyword));
        return;
    }
    const QModelIndex index = mainModel->indexOfNode(conversations.at(row));
    ui->treeViewDS->setCurrentIndex(index);
    ui->treeViewDS->scrollTo(index);
}

void MainWindow::searchMessages()
{
    findMessage(true);
}

void MainWindow::searchMessagesBackward()
{
    findMessage(false);
}

// Makes the next (or previous) message whose text holds the keyword the
// list's current row, wrapping round. Without a keyword the search box
// takes the focus, so that one can be typed.
void MainWindow::findMessage(bool forward)
{
    const QString keyword = ui->txtSMSKeyword->text().trimmed();
    if (keyword.isEmpty()) {
        miFindMessages();
        return;
    }
    const MessageList& messages = smsModel->messages();
    if (messages.isEmpty()) {
        showInfoBox(tr("IDS_CAN_NOT_FOUND_AND_MESSAGES"));
        return;
    }
    const QModelIndex current = ui->treeViewSMS->currentIndex();
    const int count = int(messages.size());
    const auto matches = [&](int r) {
        return displayText(*messages.at(r)).contains(keyword, Qt::CaseInsensitive);
    };
    const int row = forward ? findRowFrom(current.isValid() ? current.row() + 1 : 0, count, matches)
                            : findRowBackFrom(current.isValid() ? current.row() - 1 : count - 1, count, matches);
    if (row < 0) {
        showInfoBox(tr("IDS_CAN_NOT_FOUNDSMS_KEYWORD_%0").arg(keyword));
        return;
    }
    const QModelIndex index = smsModel->indexOfRow(row);
    ui->treeViewSMS->setCurrentIndex(index);
    ui->treeViewSMS->scrollTo(index);
}
