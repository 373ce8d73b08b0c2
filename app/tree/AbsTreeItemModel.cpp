#include "app/tree/AbsTreeItemModel.h"

#include <algorithm>
#include <utility>

AbsTreeItemModel::_ItemNode::_ItemNode(int type, const QString& name, _ItemNode* parent)
    : type(type), name(name), parent(parent)
{}

AbsTreeItemModel::_ItemNode::~_ItemNode()
{
    qDeleteAll(children);
}

AbsTreeItemModel::AbsTreeItemModel(QObject* parent) : QAbstractItemModel(parent) {}

AbsTreeItemModel::~AbsTreeItemModel()
{
    qDeleteAll(topLevel);
}

QModelIndex AbsTreeItemModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    _ItemNode* parentNode = nodeFromIndex(parent);
    _ItemNode* node = parentNode ? parentNode->children.at(row) : topLevel.at(row);
    node->index = createIndex(row, column, node);
    return node->index;
}

QModelIndex AbsTreeItemModel::parent(const QModelIndex& child) const
{
    const _ItemNode* node = nodeFromIndex(child);
    if (!node || !node->parent)
        return QModelIndex();
    _ItemNode* parentNode = node->parent;
    return createIndex(rowOfNode(parentNode), 0, parentNode);
}

int AbsTreeItemModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    const _ItemNode* node = nodeFromIndex(parent);
    return int(node ? node->children.size() : topLevel.size());
}

AbsTreeItemModel::_ItemNode* AbsTreeItemModel::nodeFromIndex(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<_ItemNode*>(index.internalPointer());
}

QModelIndex AbsTreeItemModel::indexOfNode(_ItemNode* node) const
{
    if (!node || !containsNode(node))
        return QModelIndex();
    return createIndex(rowOfNode(node), 0, node);
}

void AbsTreeItemModel::removeChildren(_ItemNode* node)
{
    if (node && !containsNode(node))
        return;
    QList<_ItemNode*>& list = childListOf(node);
    if (list.isEmpty())
        return;
    beginRemoveRows(indexOfNode(node), 0, int(list.size()) - 1);
    const QList<_ItemNode*> removed = std::exchange(list, {});
    qDeleteAll(removed);
    endRemoveRows();
}

void AbsTreeItemModel::removeNode(_ItemNode* node)
{
    if (!node || !containsNode(node) || !isRemovable(node))
        return;
    removeChildren(node);
    QList<_ItemNode*>& list = childListOf(node->parent);
    const int pos = rowOfNode(node);
    beginRemoveRows(indexOfNode(node->parent), pos, pos);
    list.removeAt(pos);
    delete node;
    endRemoveRows();
}

int AbsTreeItemModel::countChildrenOfType(const _ItemNode* root, int type) const
{
    const QList<_ItemNode*>& list = root ? root->children : topLevel;
    return int(
        std::count_if(list.cbegin(), list.cend(), [type](const _ItemNode* n) { return n->type == type; }));
}

void AbsTreeItemModel::appendNode(_ItemNode* parent, _ItemNode* node)
{
    appendNodes(parent, {node});
}

void AbsTreeItemModel::appendNodes(_ItemNode* parent, const QList<_ItemNode*>& nodes)
{
    if (nodes.isEmpty())
        return;
    QList<_ItemNode*>& list = childListOf(parent);
    const int first = int(list.size());
    beginInsertRows(indexOfNode(parent), first, first + int(nodes.size()) - 1);
    for (_ItemNode* node : nodes) {
        node->parent = parent;
        list.append(node);
    }
    endInsertRows();
}

bool AbsTreeItemModel::isRemovable(const _ItemNode*) const
{
    return true;
}

const QList<AbsTreeItemModel::_ItemNode*>& AbsTreeItemModel::siblingsOf(const _ItemNode* node) const
{
    return node->parent ? node->parent->children : topLevel;
}

QList<AbsTreeItemModel::_ItemNode*>& AbsTreeItemModel::childListOf(_ItemNode* parent)
{
    return parent ? parent->children : topLevel;
}

// The remembered index answers in the common case; after rows moved it is
// stale and the node is looked up in its parent's list instead.
int AbsTreeItemModel::rowOfNode(const _ItemNode* node) const
{
    const QList<_ItemNode*>& siblings = siblingsOf(node);
    const int remembered = node->index.row();
    if (remembered >= 0 && remembered < siblings.size() && siblings.at(remembered) == node)
        return remembered;
    return int(siblings.indexOf(const_cast<_ItemNode*>(node)));
}

// Whether node hangs in this model's tree (it and every ancestor sit in their parent's list).
bool AbsTreeItemModel::containsNode(const _ItemNode* node) const
{
    for (const _ItemNode* n = node; n; n = n->parent) {
        if (rowOfNode(n) < 0)
            return false;
    }
    return true;
}

// Compiled here so the meta-object code links with this class alone.
#include "moc_AbsTreeItemModel.cpp"
