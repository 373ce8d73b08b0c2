#pragma once

#include "app/tree/AbsTreeItemModel.h"
#include "app/tree/MainTreeNodes.h"

#include <QSharedPointer>

class IOS6MessageDb;
struct AndroidDevice;

// The source tree of the main window: a "Devices" root (type 1) holding phone
// nodes (type 4) and a "Local Databases" root (type 2) holding local database
// nodes (type 5); each source holds its conversations (type 6), newest first.
//
// One column, no header; every row is 25 pixels high. Nodes are added and
// removed with row insertion and removal notifications.
class ItemModelMain : public AbsTreeItemModel
{
    Q_OBJECT
public:
    explicit ItemModelMain(QObject* parent = nullptr);

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // Display/ToolTip: the name; Decoration: a QImage; SizeHint: QSize(0, 25).
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    _RootDeviceItemNode* deviceRoot() const { return devicesRoot; }
    _RootLocalDBItemNode* localDbRoot() const { return localDbsRoot; }

    // Appends a phone node (named device.displayName()) under "Devices" and returns it.
    _AndroidDeviceItemNode* addDevice(const QSharedPointer<IOS6MessageDb>& db, const AndroidDevice& device);
    // Appends a local database node under "Local Databases" and returns it.
    _LocalDBItemNode* addLocalDb(const QSharedPointer<IOS6MessageDb>& db, const QString& name);
    // Replaces node's conversations by one per chat_identifier of its messageSet,
    // newest `last` first (equal dates keep the set's order).
    void rebuildConversations(_AbsDBItemNode* node);

    // The source a node belongs to: the node itself for a phone or local database,
    // the parent for a conversation (a conversation counts as its source); null
    // otherwise. The one place of that rule: commands, menus and actions ask it.
    static _AbsDBItemNode* sourceOf(_ItemNode* node);
    // The phone nodes under "Devices" and the local database nodes under
    // "Local Databases", in the tree's order.
    QList<_AndroidDeviceItemNode*> phones() const;
    QList<_LocalDBItemNode*> localDbs() const;
    // The phone node whose device's deviceId() is id, or null.
    _AndroidDeviceItemNode* deviceNodeById(const QString& id) const;
    // The first phone node whose device's uid is uid, or null.
    _AndroidDeviceItemNode* deviceNodeByUid(const QString& uid) const;

protected:
    // The two roots stay for the model's lifetime.
    bool isRemovable(const _ItemNode* node) const override;

private:
    static QVariant conversationPicture(const _ChatSessionItemNode& node);

    _RootDeviceItemNode* devicesRoot;
    _RootLocalDBItemNode* localDbsRoot;
};
