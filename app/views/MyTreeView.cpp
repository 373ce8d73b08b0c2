#include "app/views/MyTreeView.h"

#include <QContextMenuEvent>

MyTreeView::MyTreeView(QWidget* parent) : QTreeView(parent) {}

void MyTreeView::contextMenuEvent(QContextMenuEvent* event)
{
    emit createContextMenu();
    QTreeView::contextMenuEvent(event);
}

void MyTreeView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    emit onSelectionChanged(selected, deselected);
    QTreeView::selectionChanged(selected, deselected);
}

// Compiled here so the meta-object code links with this class alone.
#include "moc_MyTreeView.cpp"
