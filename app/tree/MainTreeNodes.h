#pragma once

// The node classes of the application's source tree (ItemModelMain).

#include "android/AndroidDevice.h"
#include "app/tree/AbsTreeItemModel.h"
#include "store/MessageSet.h"

#include <QList>
#include <QSharedPointer>

class IOS6MessageDb;
struct _MsgChat;

// Node type codes; menus and actions test them.
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

    AndroidDevice device;
};

// One conversation: the chats of one correspondent address in the parent's set.
class _ChatSessionItemNode : public AbsTreeItemModel::_ItemNode
{
public:
    _ChatSessionItemNode(const QString& name, _ItemNode* parent, const QList<_MsgChat*>& chats, int last)
        : _ItemNode(kNodeConversation, name, parent), chats(chats), last(last)
    {}

    QList<_MsgChat*> chats; // point into the parent's messageSet, not owned
    int last;               // newest _last among the chats (stored date unit)
};
