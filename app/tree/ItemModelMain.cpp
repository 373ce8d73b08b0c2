#include "app/tree/ItemModelMain.h"

#include "store/ConversationGroups.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageText.h"

#include <QImage>
#include <QSize>

#include <algorithm>

namespace {
constexpr int kRowHeight = 25;
constexpr int kPictureSize = 18;

QImage participantPhoto(const _MsgHandle* handle)
{
    if (!handle || handle->_photo.isEmpty())
        return QImage();
    QImage photo = QImage::fromData(handle->_photo, "JPEG");
    if (photo.isNull())
        photo = QImage::fromData(handle->_photo, "PNG");
    return photo;
}

// The children of root that are Typed nodes, in order.
template <class Typed> QList<Typed*> childrenOfKind(const AbsTreeItemModel::_ItemNode* root)
{
    QList<Typed*> list;
    for (AbsTreeItemModel::_ItemNode* child : root->children) {
        if (Typed* node = nodeAs<Typed>(child))
            list.append(node);
    }
    return list;
}

QString picturePath(int type)
{
    switch (type) {
    case kNodeRootDevices:
        return QStringLiteral(":/res/devices.png");
    case kNodeRootLocalDbs:
        return QStringLiteral(":/res/databases.png");
    case kNodeDevice:
        return QStringLiteral(":/res/android.png");
    case kNodeLocalDb:
        return QStringLiteral(":/res/database.png");
    default:
        return QString();
    }
}
} // namespace

ItemModelMain::ItemModelMain(QObject* parent)
    : AbsTreeItemModel(parent), devicesRoot(new _RootDeviceItemNode(tr("IDS_ROOT_DEVICE"))),
      localDbsRoot(new _RootLocalDBItemNode(tr("IDS_ROOT_LOCALDB")))
{
    appendNode(nullptr, devicesRoot);
    appendNode(nullptr, localDbsRoot);
}

int ItemModelMain::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant ItemModelMain::data(const QModelIndex& index, int role) const
{
    const _ItemNode* node = nodeFromIndex(index);
    if (!node || index.row() < 0 || index.column() < 0)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return node->name;
    case Qt::ToolTipRole:
        if (const _AndroidDeviceItemNode* phone = asPhone(node); phone && phone->device.viaAdbShell)
            return QString(node->name + QLatin1Char('\n') + tr("Read over USB without the companion app"));
        return node->name;
    case Qt::DecorationRole:
        if (const _ChatSessionItemNode* conversation = asConversation(node))
            return conversationPicture(*conversation);
        return QImage(picturePath(node->type));
    case Qt::SizeHintRole:
        return QSize(0, kRowHeight);
    default:
        return QVariant();
    }
}

QVariant ItemModelMain::headerData(int, Qt::Orientation, int) const
{
    return QVariant();
}

_AndroidDeviceItemNode* ItemModelMain::addDevice(const QSharedPointer<IOS6MessageDb>& db,
                                                 const AndroidDevice& device)
{
    auto* node = new _AndroidDeviceItemNode(device, devicesRoot, db);
    appendNode(devicesRoot, node);
    return node;
}

_LocalDBItemNode* ItemModelMain::addLocalDb(const QSharedPointer<IOS6MessageDb>& db, const QString& name)
{
    auto* node = new _LocalDBItemNode(name, localDbsRoot, db);
    appendNode(localDbsRoot, node);
    return node;
}

void ItemModelMain::rebuildConversations(_AbsDBItemNode* node)
{
    if (!node)
        return;
    removeChildren(node);
    if (!node->messageSet)
        return;
    QList<ConversationGroup> groups = conversationGroups(*node->messageSet);
    // A strict comparison in a stable sort: conversations with the same date
    // keep the set's order.
    std::stable_sort(groups.begin(), groups.end(),
                     [](const ConversationGroup& a, const ConversationGroup& b) { return a.last > b.last; });
    QList<_ItemNode*> conversations;
    conversations.reserve(groups.size());
    for (const ConversationGroup& group : groups) {
        const _MsgChat* first = group.chats.value(0);
        const QString name = first ? chatTitle(*first, false) : QString();
        conversations.append(new _ChatSessionItemNode(name, node, group.chats, group.last));
    }
    appendNodes(node, conversations);
}

_AbsDBItemNode* ItemModelMain::sourceOf(_ItemNode* node)
{
    return asSource(asConversation(node) ? node->parent : node);
}

QList<_AndroidDeviceItemNode*> ItemModelMain::phones() const
{
    return childrenOfKind<_AndroidDeviceItemNode>(devicesRoot);
}

QList<_LocalDBItemNode*> ItemModelMain::localDbs() const
{
    return childrenOfKind<_LocalDBItemNode>(localDbsRoot);
}

_AndroidDeviceItemNode* ItemModelMain::deviceNodeById(const QString& id) const
{
    for (_AndroidDeviceItemNode* phone : phones()) {
        if (phone->device.deviceId() == id)
            return phone;
    }
    return nullptr;
}

_AndroidDeviceItemNode* ItemModelMain::deviceNodeByUid(const QString& uid) const
{
    for (_AndroidDeviceItemNode* phone : phones()) {
        if (phone->device.uid == uid)
            return phone;
    }
    return nullptr;
}

bool ItemModelMain::isRemovable(const _ItemNode* node) const
{
    return node != devicesRoot && node != localDbsRoot;
}

// Decoded on every call: one participant shows its photo (JPEG, else PNG),
// several show the group picture, anything else the contact picture.
QVariant ItemModelMain::conversationPicture(const _ChatSessionItemNode& node)
{
    const _MsgChat* chat = node.chats.value(0);
    if (!chat)
        return QVariant();
    if (chat->participants.size() == 1) {
        const QImage photo = participantPhoto(chat->participants.first());
        if (!photo.isNull())
            return photo.scaledToHeight(kPictureSize);
    } else if (chat->participants.size() > 1) {
        return QImage(QStringLiteral(":/res/group.png")).scaledToWidth(kPictureSize);
    }
    return QImage(QStringLiteral(":/res/contact.png")).scaledToWidth(kPictureSize);
}

// Compiled here so the meta-object code links with this class alone.
#include "moc_ItemModelMain.cpp"
