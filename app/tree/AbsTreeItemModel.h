#pragma once

#include <QAbstractItemModel>
#include <QList>
#include <QModelIndex>
#include <QString>

// A generic tree model over owned nodes. Concrete models derive from it, fill
// the nodes and supply columnCount() and data().
//
// Every structural change goes through the begin/end notifications of
// QAbstractItemModel (rows inserted, rows removed), so views and persistent
// indexes stay correct.
class AbsTreeItemModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    // One node of the tree. Owns its children; derived node classes add their data.
    class _ItemNode
    {
    public:
        _ItemNode(int type, const QString& name, _ItemNode* parent = nullptr);
        virtual ~_ItemNode();
        _ItemNode(const _ItemNode&) = delete;
        _ItemNode& operator=(const _ItemNode&) = delete;

        int type;                   // node type code, decided by the concrete model
        QString name;               // the text shown
        QModelIndex index;          // the last index created for this node; may be stale
        _ItemNode* parent;          // null for top-level nodes
        QList<_ItemNode*> children; // owned
    };

    explicit AbsTreeItemModel(QObject* parent = nullptr);
    ~AbsTreeItemModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    // Always the parent's current position: the remembered index is used only
    // when it still matches the parent's place in its list, else the row is looked up.
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;

    // The node an index of this model stands for; null for an invalid or foreign index.
    _ItemNode* nodeFromIndex(const QModelIndex& index) const;
    // The column-0 index of a node of this model (invalid for null or foreign nodes).
    QModelIndex indexOfNode(_ItemNode* node) const;
    // Deletes every child of node (null: every top-level node) with one removal notification.
    void removeChildren(_ItemNode* node);
    // Deletes the node's children (one notification), then the node itself (a second one).
    // Does nothing for null, for nodes not in this model and for nodes the model keeps
    // (see isRemovable()).
    void removeNode(_ItemNode* node);
    // Number of direct children of root (null: top level) with the given type.
    int countChildrenOfType(const _ItemNode* root, int type) const;
    const QList<_ItemNode*>& topLevelNodes() const { return topLevel; }

protected:
    // Appends node (already constructed with its parent set) to parent's children
    // (null: the top level), with the insertion notification. Takes ownership.
    void appendNode(_ItemNode* parent, _ItemNode* node);
    // Appends several new children of parent at once, with one notification.
    void appendNodes(_ItemNode* parent, const QList<_ItemNode*>& nodes);
    // Whether removeNode() may delete the node; a model keeps its fixed nodes here.
    virtual bool isRemovable(const _ItemNode* node) const;

private:
    const QList<_ItemNode*>& siblingsOf(const _ItemNode* node) const;
    QList<_ItemNode*>& childListOf(_ItemNode* parent);
    int rowOfNode(const _ItemNode* node) const;
    bool containsNode(const _ItemNode* node) const;

    QList<_ItemNode*> topLevel; // owned
};
