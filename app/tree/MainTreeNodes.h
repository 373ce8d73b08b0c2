#pragma once

// The node classes of the application's source tree (ItemModelMain).

#include "android/AndroidDevice.h"
#include "app/tree/AbsTreeItemModel.h"
#include "store/MessageSet.h"

#include <QList>
#include <QSharedPointer>

#include <type_traits>

class IOS6MessageDb;
struct _MsgChat;

// Node type codes; the typed access at the end of this file reads them.
enum MainTreeNodeType
{
    kNodeRootDevices = 1,  // _RootDeviceItemNode
    kNodeRootLocalDbs = 2, // _RootLocalDBItemNode
    kNodeDevice = 4,       // _AndroidDeviceItemNode
    kNodeLocalDb = 5,      // _LocalDBItemNode
    kNodeConversation = 6, // _ChatSessionItemNode
};

// The "Devices" root.
class _RootDeviceItemNode : public AbsTreeItemModel::_ItemNode
{
public:
    explicit _RootDeviceItemNode(const QString& name) : _ItemNode(kNodeRootDevices, name) {}
};

// The "Local Databases" root.
class _RootLocalDBItemNode : public AbsTreeItemModel::_ItemNode
{
public:
    explicit _RootLocalDBItemNode(const QString& name) : _ItemNode(kNodeRootLocalDbs, name) {}
};

// A message source: a database and the records read from it. The node shares
// ownership of both; its conversation children point into messageSet.
class _AbsDBItemNode : public AbsTreeItemModel::_ItemNode
{
public:
    _AbsDBItemNode(int type, const QString& name, _ItemNode* parent, const QSharedPointer<IOS6MessageDb>& db)
        : _ItemNode(type, name, parent), db(db), messageSet(MessageSetPtr::create())
    {}
    static bool hasType(int type) { return type == kNodeDevice || type == kNodeLocalDb; }
    // Conversations go first: they point into messageSet.
    ~_AbsDBItemNode() override
    {
        qDeleteAll(children);
        children.clear();
    }

    QSharedPointer<IOS6MessageDb> db;
    MessageSetPtr messageSet; // starts empty
};

// One local database; named after its folder.
class _LocalDBItemNode : public _AbsDBItemNode
{
public:
    _LocalDBItemNode(const QString& name, _ItemNode* parent, const QSharedPointer<IOS6MessageDb>& db)
        : _AbsDBItemNode(kNodeLocalDb, name, parent, db)
    {}
    static bool hasType(int type) { return type == kNodeLocalDb; }
};

// One connected (or virtual) phone; named by the phone's displayName().
// The phone record is kept whole in `device` (one copy of every field).
class _AndroidDeviceItemNode : public _AbsDBItemNode
{
public:
    _AndroidDeviceItemNode(const AndroidDevice& device, _ItemNode* parent,
                           const QSharedPointer<IOS6MessageDb>& db)
        : _AbsDBItemNode(kNodeDevice, device.displayName(), parent, db), device(device)
    {}
    static bool hasType(int type) { return type == kNodeDevice; }

    AndroidDevice device;
};

// One conversation: the chats of one correspondent address in the parent's set.
class _ChatSessionItemNode : public AbsTreeItemModel::_ItemNode
{
public:
    _ChatSessionItemNode(const QString& name, _ItemNode* parent, const QList<_MsgChat*>& chats, int last)
        : _ItemNode(kNodeConversation, name, parent), chats(chats), last(last)
    {}
    static bool hasType(int type) { return type == kNodeConversation; }

    QList<_MsgChat*> chats; // point into the parent's messageSet, not owned
    int last;               // newest _last among the chats (stored date unit)
};

// Typed access: the node as a phone, a local database, a conversation or a
// source (a phone or a local database), const when the node is; null when it
// is of another kind, or null.
//
//     if (_AndroidDeviceItemNode* phone = asPhone(currentNode()))
//         openInExplorer(phone->device.cacheDir());
template <class Typed, class Node>
std::conditional_t<std::is_const_v<Node>, const Typed, Typed>* nodeAs(Node* node)
{
    using Result = std::conditional_t<std::is_const_v<Node>, const Typed, Typed>;
    return node && Typed::hasType(node->type) ? static_cast<Result*>(node) : nullptr;
}

template <class Node> auto asPhone(Node* node)
{
    return nodeAs<_AndroidDeviceItemNode>(node);
}

template <class Node> auto asLocalDb(Node* node)
{
    return nodeAs<_LocalDBItemNode>(node);
}

template <class Node> auto asConversation(Node* node)
{
    return nodeAs<_ChatSessionItemNode>(node);
}

template <class Node> auto asSource(Node* node)
{
    return nodeAs<_AbsDBItemNode>(node);
}
