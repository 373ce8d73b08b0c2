#include "android/AndroidDevice.h"
#include "app/tree/ItemModelMain.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageSet.h"

#include <QAbstractItemModelTester>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {
using Node = AbsTreeItemModel::_ItemNode;

_MsgHandle* addHandle(MessageSet& set, qint64 rowid, const QString& id, const QString& name = QString(),
                      const QByteArray& photo = QByteArray())
{
    auto* h = new _MsgHandle;
    h->rowid = rowid;
    h->id = id;
    h->_ct_name = name;
    h->_photo = photo;
    set.handles.insert(rowid, h);
    return h;
}

_MsgChat* addChat(MessageSet& set, qint64 rowid, const QString& identifier, int last,
                  const QList<_MsgHandle*>& participants = {})
{
    auto* c = new _MsgChat;
    c->rowid = rowid;
    c->chat_identifier = identifier;
    c->_last = last;
    for (_MsgHandle* h : participants)
        c->participants.insert(QString::number(h->rowid), h);
    set.chats.insert(rowid, c);
    return c;
}

QByteArray encodedPicture(const QSize& size, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage pictureOf(const QAbstractItemModel& model, const QModelIndex& index)
{
    return model.data(index, Qt::DecorationRole).value<QImage>();
}

_ChatSessionItemNode* conversation(Node* source, int row)
{
    return static_cast<_ChatSessionItemNode*>(source->children.at(row));
}
} // namespace

class TestItemModelMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void freshModelHasTwoEmptyRoots();
    void rootAndSourcePictures();
    void addsLocalDatabasesAndDevices();
    void groupsChatsOfOneAddressNewestFirst();
    void equalDatesKeepTheSetOrder();
    void rebuildReplacesConversations();
    void conversationNames();
    void conversationPictures();
    void removeNodeDropsConversationsFirst();
    void removeNodeIgnoresRootsAndStrangers();
    void parentStaysCorrectAfterRemovals();
    void countsChildrenOfType();
    void findsSourcesAndDevices();

private:
    QTranslator translator;
    std::unique_ptr<ItemModelMain> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

void TestItemModelMain::initTestCase()
{
    QVERIFY(translator.load(QStringLiteral(":/en.qm")));
    QCoreApplication::installTranslator(&translator);
}

void TestItemModelMain::init()
{
    model = std::make_unique<ItemModelMain>();
    tester = std::make_unique<QAbstractItemModelTester>(
        model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestItemModelMain::cleanup()
{
    tester.reset();
    model.reset();
}

void TestItemModelMain::freshModelHasTwoEmptyRoots()
{
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->columnCount(), 1);
    const QModelIndex devices = model->index(0, 0);
    const QModelIndex databases = model->index(1, 0);
    QCOMPARE(devices.data().toString(), QStringLiteral("Devices"));
    QCOMPARE(databases.data().toString(), QStringLiteral("Local Databases"));
    QCOMPARE(devices.data(Qt::ToolTipRole).toString(), QStringLiteral("Devices"));
    QCOMPARE(model->rowCount(devices), 0);
    QCOMPARE(model->rowCount(databases), 0);
    QCOMPARE(devices.data(Qt::SizeHintRole).toSize(), QSize(0, 25));
    QCOMPARE(databases.data(Qt::SizeHintRole).toSize(), QSize(0, 25));
    QCOMPARE(model->nodeFromIndex(devices), model->deviceRoot());
    QCOMPARE(model->nodeFromIndex(databases), model->localDbRoot());
    QCOMPARE(model->deviceRoot()->type, 1);
    QCOMPARE(model->localDbRoot()->type, 2);
    QVERIFY(!model->headerData(0, Qt::Horizontal).isValid());
    QVERIFY(!devices.data(Qt::EditRole).isValid());
    QVERIFY(!model->data(QModelIndex()).isValid());
}

void TestItemModelMain::rootAndSourcePictures()
{
    model->addLocalDb({}, QStringLiteral("db"));
    model->addDevice({}, AndroidDevice());
    const QModelIndex devices = model->index(0, 0);
    const QModelIndex databases = model->index(1, 0);
    QCOMPARE(pictureOf(*model, devices), QImage(QStringLiteral(":/res/devices.png")));
    QCOMPARE(pictureOf(*model, databases), QImage(QStringLiteral(":/res/databases.png")));
    QCOMPARE(pictureOf(*model, model->index(0, 0, devices)), QImage(QStringLiteral(":/res/android.png")));
    QCOMPARE(pictureOf(*model, model->index(0, 0, databases)), QImage(QStringLiteral(":/res/database.png")));
    QVERIFY(!pictureOf(*model, devices).isNull());
}

void TestItemModelMain::addsLocalDatabasesAndDevices()
{
    QSignalSpy inserted(model.get(), &QAbstractItemModel::rowsInserted);
    _LocalDBItemNode* db = model->addLocalDb({}, QStringLiteral("backup-1"));
    QCOMPARE(db->type, 5);
    QCOMPARE(db->name, QStringLiteral("backup-1"));
    QCOMPARE(db->parent, model->localDbRoot());
    QVERIFY(db->messageSet);
    QVERIFY(db->messageSet->chats.isEmpty());
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(0).toModelIndex(), model->index(1, 0));
    QCOMPARE(inserted.at(0).at(1).toInt(), 0);

    AndroidDevice device;
    device.serial = QStringLiteral("0123456789ABCDEF");
    device.manufacturer = QStringLiteral("Acme");
    device.model = QStringLiteral("X1");
    device.imei = QStringLiteral("123");
    auto db2 = QSharedPointer<IOS6MessageDb>::create(QDir(QDir::tempPath()), QString());
    _AndroidDeviceItemNode* phone = model->addDevice(db2, device);
    QCOMPARE(phone->type, 4);
    QCOMPARE(phone->name, QStringLiteral("Acme X1"));
    QCOMPARE(phone->device.serial, device.serial);
    QCOMPARE(phone->device.imei, device.imei);
    QCOMPARE(phone->db, db2);
    const QWeakPointer<IOS6MessageDb> watch = db2;
    db2.reset();
    QVERIFY(!watch.toStrongRef().isNull()); // the node shares the database
    QCOMPARE(model->indexOfNode(phone), model->index(0, 0, model->index(0, 0)));
    QCOMPARE(model->index(0, 0, model->index(0, 0)).data().toString(), QStringLiteral("Acme X1"));
    QCOMPARE(model->index(0, 0, model->index(0, 0)).data(Qt::SizeHintRole).toSize(), QSize(0, 25));

    _LocalDBItemNode* second = model->addLocalDb({}, QStringLiteral("backup-2"));
    QCOMPARE(model->indexOfNode(second).row(), 1);
    QCOMPARE(model->rowCount(model->index(1, 0)), 2);

    model->removeNode(phone);
    QVERIFY(watch.toStrongRef().isNull()); // deleted with the node's share
}

void TestItemModelMain::groupsChatsOfOneAddressNewestFirst()
{
    _LocalDBItemNode* db = model->addLocalDb({}, QStringLiteral("db"));
    MessageSet& set = *db->messageSet;
    _MsgChat* a1 = addChat(set, 1, QStringLiteral("+100"), 100);
    _MsgChat* b = addChat(set, 2, QStringLiteral("+200"), 200);
    _MsgChat* a2 = addChat(set, 3, QStringLiteral("+100"), 300);

    QSignalSpy inserted(model.get(), &QAbstractItemModel::rowsInserted);
    model->rebuildConversations(db);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(0).toModelIndex(), model->indexOfNode(db));
    QCOMPARE(inserted.at(0).at(2).toInt(), 1);

    QCOMPARE(db->children.size(), 2);
    _ChatSessionItemNode* first = conversation(db, 0);
    _ChatSessionItemNode* second = conversation(db, 1);
    QCOMPARE(first->type, 6);
    QCOMPARE(first->last, 300);
    QCOMPARE(first->chats, (QList<_MsgChat*>{a1, a2}));
    QCOMPARE(second->last, 200);
    QCOMPARE(second->chats, (QList<_MsgChat*>{b}));
    QCOMPARE(first->parent, db);
    QCOMPARE(model->rowCount(model->indexOfNode(db)), 2);
}

void TestItemModelMain::equalDatesKeepTheSetOrder()
{
    _LocalDBItemNode* db = model->addLocalDb({}, QStringLiteral("db"));
    MessageSet& set = *db->messageSet;
    const int count = 3000;
    for (int i = 0; i < count; ++i)
        addChat(set, i + 1, QStringLiteral("id%1").arg(i), i % 3 == 0 ? 500 : 0);
    tester.reset(); // the tester walks every row on each change; one check at the end is enough here
    model->rebuildConversations(db);
    QCOMPARE(db->children.size(), count);
    qint64 previousRowid = 0;
    int previousLast = INT_MAX;
    for (int row = 0; row < count; ++row) {
        const _ChatSessionItemNode* node = conversation(db, row);
        QVERIFY(node->last <= previousLast);
        if (node->last != previousLast)
            previousRowid = 0;
        QVERIFY2(node->chats.first()->rowid > previousRowid, qPrintable(QString::number(row)));
        previousRowid = node->chats.first()->rowid;
        previousLast = node->last;
    }
    QCOMPARE(conversation(db, 0)->chats.first()->rowid, qint64(1));
    QCOMPARE(conversation(db, 1000)->chats.first()->rowid, qint64(2));
    QAbstractItemModelTester check(model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestItemModelMain::rebuildReplacesConversations()
{
    _LocalDBItemNode* db = model->addLocalDb({}, QStringLiteral("db"));
    addChat(*db->messageSet, 1, QStringLiteral("+1"), 10);
    model->rebuildConversations(db);
    QCOMPARE(db->children.size(), 1);

    addChat(*db->messageSet, 2, QStringLiteral("+2"), 20);
    QSignalSpy removed(model.get(), &QAbstractItemModel::rowsRemoved);
    model->rebuildConversations(db);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(db->children.size(), 2);
    QCOMPARE(conversation(db, 0)->last, 20);

    db->messageSet->clear();
    model->rebuildConversations(db);
    QVERIFY(db->children.isEmpty());
    QCOMPARE(model->rowCount(model->indexOfNode(db)), 0);
}

void TestItemModelMain::conversationNames()
{
    _LocalDBItemNode* db = model->addLocalDb({}, QStringLiteral("db"));
    MessageSet& set = *db->messageSet;
    _MsgHandle* a = addHandle(set, 1, QStringLiteral("+111"), QStringLiteral("A"));
    _MsgHandle* b = addHandle(set, 2, QStringLiteral("+222"), QStringLiteral("B"));
    _MsgHandle* c = addHandle(set, 3, QStringLiteral("+333"));
    addChat(set, 1, QStringLiteral("named"), 400, {a})->display_name = QStringLiteral("Family");
    addChat(set, 2, QStringLiteral("pair"), 300, {a, b});
    addChat(set, 3, QStringLiteral("nobody"), 200);
    addChat(set, 4, QStringLiteral("number"), 100, {c});
    model->rebuildConversations(db);

    const QModelIndex source = model->indexOfNode(db);
    QCOMPARE(model->index(0, 0, source).data().toString(), QStringLiteral("Family"));
    QCOMPARE(model->index(1, 0, source).data().toString(), QStringLiteral("A, B"));
    QCOMPARE(model->index(2, 0, source).data().toString(), QStringLiteral("Unknown"));
    QCOMPARE(model->index(3, 0, source).data().toString(), QStringLiteral("+333"));
    QCOMPARE(model->index(1, 0, source).data(Qt::ToolTipRole).toString(), QStringLiteral("A, B"));
}

void TestItemModelMain::conversationPictures()
{
    _LocalDBItemNode* db = model->addLocalDb({}, QStringLiteral("db"));
    MessageSet& set = *db->messageSet;
    _MsgHandle* plain = addHandle(set, 1, QStringLiteral("+1"));
    _MsgHandle* jpeg = addHandle(set, 2, QStringLiteral("+2"), QString(), encodedPicture({60, 30}, "JPEG"));
    _MsgHandle* png = addHandle(set, 3, QStringLiteral("+3"), QString(), encodedPicture({20, 40}, "PNG"));
    _MsgHandle* broken = addHandle(set, 4, QStringLiteral("+4"), QString(), QByteArray("not a picture"));
    addChat(set, 1, QStringLiteral("contact"), 60, {plain});
    addChat(set, 2, QStringLiteral("group"), 50, {plain, png, broken});
    addChat(set, 3, QStringLiteral("jpeg"), 40, {jpeg});
    addChat(set, 4, QStringLiteral("png"), 30, {png});
    addChat(set, 5, QStringLiteral("broken"), 20, {broken});
    addChat(set, 6, QStringLiteral("empty"), 10);
    model->rebuildConversations(db);

    const QModelIndex source = model->indexOfNode(db);
    const QImage contact = QImage(QStringLiteral(":/res/contact.png")).scaledToWidth(18);
    const QImage group = QImage(QStringLiteral(":/res/group.png")).scaledToWidth(18);
    QVERIFY(!contact.isNull());
    QVERIFY(!group.isNull());
    QVERIFY(contact != group);
    QCOMPARE(pictureOf(*model, model->index(0, 0, source)), contact);
    QCOMPARE(pictureOf(*model, model->index(1, 0, source)), group);
    QCOMPARE(pictureOf(*model, model->index(2, 0, source)).size(), QSize(36, 18));
    QCOMPARE(pictureOf(*model, model->index(3, 0, source)).size(), QSize(9, 18));
    QCOMPARE(pictureOf(*model, model->index(4, 0, source)), contact);
    QCOMPARE(pictureOf(*model, model->index(5, 0, source)), contact);

    // A conversation without chats has no picture.
    conversation(db, 5)->chats.clear();
    QVERIFY(!model->index(5, 0, source).data(Qt::DecorationRole).isValid());
}

void TestItemModelMain::removeNodeDropsConversationsFirst()
{
    model->addLocalDb({}, QStringLiteral("first"));
    _LocalDBItemNode* db = model->addLocalDb({}, QStringLiteral("second"));
    for (int i = 0; i < 3; ++i)
        addChat(*db->messageSet, i + 1, QStringLiteral("id%1").arg(i), i);
    model->rebuildConversations(db);
    const QPersistentModelIndex dbIndex = model->indexOfNode(db);
    const QModelIndex root = model->indexOfNode(model->localDbRoot());

    QSignalSpy aboutToRemove(model.get(), &QAbstractItemModel::rowsAboutToBeRemoved);
    model->removeNode(db);
    QCOMPARE(aboutToRemove.count(), 2);
    QCOMPARE(aboutToRemove.at(0).at(0).toModelIndex().internalPointer(), static_cast<void*>(db));
    QCOMPARE(aboutToRemove.at(0).at(1).toInt(), 0);
    QCOMPARE(aboutToRemove.at(0).at(2).toInt(), 2);
    QCOMPARE(aboutToRemove.at(1).at(0).toModelIndex(), root);
    QCOMPARE(aboutToRemove.at(1).at(1).toInt(), 1);
    QCOMPARE(aboutToRemove.at(1).at(2).toInt(), 1);
    QVERIFY(!dbIndex.isValid());
    QCOMPARE(model->rowCount(root), 1);
    QCOMPARE(model->index(0, 0, root).data().toString(), QStringLiteral("first"));
}

void TestItemModelMain::removeNodeIgnoresRootsAndStrangers()
{
    model->addDevice({}, AndroidDevice());
    QSignalSpy aboutToRemove(model.get(), &QAbstractItemModel::rowsAboutToBeRemoved);
    model->removeNode(model->deviceRoot());
    model->removeNode(model->localDbRoot());
    model->removeNode(nullptr);
    ItemModelMain other;
    _LocalDBItemNode* foreign = other.addLocalDb({}, QStringLiteral("elsewhere"));
    model->removeNode(foreign);
    model->removeChildren(foreign);
    QCOMPARE(aboutToRemove.count(), 0);
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->deviceRoot()->children.size(), 1);
    QCOMPARE(other.localDbRoot()->children.size(), 1);
    QVERIFY(!model->indexOfNode(foreign).isValid());
}

void TestItemModelMain::parentStaysCorrectAfterRemovals()
{
    tester.reset(); // the tester would refresh every remembered index after each change
    QList<_LocalDBItemNode*> dbs;
    for (int i = 0; i < 4; ++i) {
        dbs.append(model->addLocalDb({}, QStringLiteral("db%1").arg(i)));
        addChat(*dbs.last()->messageSet, 1, QStringLiteral("+1"), 1);
        model->rebuildConversations(dbs.last());
    }
    const QModelIndex root = model->indexOfNode(model->localDbRoot());
    for (int i = 0; i < 4; ++i)
        QCOMPARE(model->index(0, 0, model->index(i, 0, root)).parent().row(), i); // remembers rows 0..3

    model->removeNode(dbs.at(0));
    model->removeNode(dbs.at(1));
    // db2 and db3 now sit at rows 0 and 1 though they remember rows 2 and 3.
    for (int pos = 0; pos < 2; ++pos) {
        _LocalDBItemNode* db = dbs.at(pos + 2);
        const QModelIndex child = model->indexOfNode(db->children.first());
        QCOMPARE(child.parent().row(), pos);
        QCOMPARE(model->nodeFromIndex(child.parent()), db);
        QCOMPARE(model->indexOfNode(db).row(), pos);
    }
    QAbstractItemModelTester check(model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestItemModelMain::countsChildrenOfType()
{
    QCOMPARE(model->countChildrenOfType(model->deviceRoot(), 4), 0);
    model->addDevice({}, AndroidDevice());
    model->addDevice({}, AndroidDevice());
    model->addLocalDb({}, QStringLiteral("db"));
    QCOMPARE(model->countChildrenOfType(model->deviceRoot(), 4), 2);
    QCOMPARE(model->countChildrenOfType(model->localDbRoot(), 4), 0);
    QCOMPARE(model->countChildrenOfType(model->localDbRoot(), 5), 1);
    QCOMPARE(model->countChildrenOfType(nullptr, 1), 1);
}

void TestItemModelMain::findsSourcesAndDevices()
{
    AndroidDevice usb;
    usb.serial = QStringLiteral("SER1");
    AndroidDevice wifi;
    wifi.isWifi = true;
    wifi.uid = QStringLiteral("u1");
    wifi.serial = QStringLiteral("SER1-not-used");
    _AndroidDeviceItemNode* usbNode = model->addDevice({}, usb);
    _AndroidDeviceItemNode* wifiNode = model->addDevice({}, wifi);
    QCOMPARE(model->deviceNodeById(QStringLiteral("SER1")), usbNode);
    QCOMPARE(model->deviceNodeById(QStringLiteral("u1")), wifiNode);
    QCOMPARE(model->deviceNodeById(QStringLiteral("none")), nullptr);

    addChat(*usbNode->messageSet, 1, QStringLiteral("+1"), 1);
    model->rebuildConversations(usbNode);
    QCOMPARE(ItemModelMain::sourceOf(usbNode), usbNode);
    QCOMPARE(ItemModelMain::sourceOf(usbNode->children.first()), usbNode);
    QCOMPARE(ItemModelMain::sourceOf(model->deviceRoot()), nullptr);
    QCOMPARE(ItemModelMain::sourceOf(nullptr), nullptr);
}

QTEST_MAIN(TestItemModelMain)
#include "test_item_model_main.moc"
