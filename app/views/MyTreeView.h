#pragma once

#include <QItemSelection>
#include <QTreeView>

// A tree view that reports selection changes and context-menu requests as
// signals, so the window can react without subclassing. Used for both the
// source tree and the message list.
class MyTreeView : public QTreeView
{
    Q_OBJECT
public:
    explicit MyTreeView(QWidget* parent = nullptr);

signals:
    // Emitted before the view's own selection handling.
    void onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    // Emitted on a context-menu request, before the base behaviour; the
    // receiver builds and shows its menu.
    void createContextMenu();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
};
