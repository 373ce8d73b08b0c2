// The source tree's model and the tree view that asks for context menus.
#include "android/AndroidDevice.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "store/MessageSet.h"

#include <QAbstractItemModelTester>
#include <QBuffer>
#include <QContextMenuEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {
using Tester = QAbstractItemModelTester;

_MsgHandle* addHandle(MessageSet& set, qint64 rowid, const QByteArray& photo = QByteArray())
{
    auto* h = new _MsgHandle;
    h->rowid = rowid;
    h->id = QStringLiteral("+%1").arg(rowid);
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

QByteArray jpegPicture(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

_ChatSessionItemNode* conversation(AbsTreeItemModel::_ItemNode* source, int row)
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
    void addsAndFindsSources();
    void groupsChatsOfOneAddressNewestFirst();
    void equalDatesKeepTheSetOrder();
    void conversationPictures();
    void removeNodeDropsConversationsFirst();
    void treeViewReportsContextMenuRequests();

private:
    QTranslator translator;
    std::unique_ptr<ItemModelMain> model;
    std::unique_ptr<Tester> tester;
};

void TestItemModelMain::initTestCase()
{
    QVERIFY(translator.load(QStringLiteral(":/en.qm")));
    QCoreApplication::installTranslator(&translator);
}

void TestItemModelMain::init()
{
    model = std::make_unique<ItemModelMain>();
    tester = std::make_unique<Tester>(model.get(), Tester::FailureReportingMode::QtTest);
}

void TestItemModelMain::cleanup()
{
    tester.reset();
    model.reset();
}

void TestItemModelMain::freshModelHasTwoEmptyRoots()
{
    QCOMPARE(model->rowCount(), 2);
    const QModelIndex devices = model->index(0, 0);
    const QModelIndex databases = model->index(1, 0);
    QCOMPARE(devices.data().toString(), QStringLiteral("Devices"));
    QCOMPARE(databases.data().toString(), QStringLiteral("Local Databases"));
    QCOMPARE(model->rowCount(devices), 0);
    QCOMPARE(model->rowCount(databases), 0);
    QCOMPARE(devices.data(Qt::SizeHintRole).toSize(), QSize(0, 25));
    QCOMPARE(databases.data(Qt::SizeHintRole).toSize(), QSize(0, 25));
}

void TestItemModelMain::addsAndFindsSources()
{
    AndroidDevice usb;
    usb.serial = QStringLiteral("SER1");
    usb.manufacturer = QStringLiteral("Acme");
    usb.model = QStringLiteral("X1");
    AndroidDevice wifi;
    wifi.isWifi = true;
    wifi.uid = QStringLiteral("u1");
    wifi.serial = QStringLiteral("SER1-not-used");
    _AndroidDeviceItemNode* usbNode = model->addDevice({}, usb);
    _AndroidDeviceItemNode* wifiNode = model->addDevice({}, wifi);
    _LocalDBItemNode* db = model->addLocalDb({}, QStringLiteral("backup-1"));
    QCOMPARE(model->index(0, 0, model->index(0, 0)).data().toString(), QStringLiteral("Acme X1"));
    QCOMPARE(model->indexOfNode(db), model->index(0, 0, model->index(1, 0)));
    QCOMPARE(model->countChildrenOfType(model->deviceRoot(), kNodeDevice), 2);
    QCOMPARE(model->countChildrenOfType(model->localDbRoot(), kNodeDevice), 0);
    QCOMPARE(model->countChildrenOfType(model->localDbRoot(), kNodeLocalDb), 1);

    QCOMPARE(model->deviceNodeById(QStringLiteral("SER1")), usbNode);
    QCOMPARE(model->deviceNodeById(QStringLiteral("u1")), wifiNode);
    QCOMPARE(model->deviceNodeById(QStringLiteral("SER1-not-used")), nullptr);
}

void TestItemModelMain::groupsChatsOfOneAddressNewestFirst()
{
    _LocalDBItemNode* db = model->addLocalDb({}, QStringLiteral("db"));
    MessageSet& set = *db->messageSet;
    _MsgChat* a1 = addChat(set, 1, QStringLiteral("+100"), 100);
    _MsgChat* b = addChat(set, 2, QStringLiteral("+200"), 200);
    _MsgChat* a2 = addChat(set, 3, QStringLiteral("+100"), 300);
    model->rebuildConversations(db);
    QCOMPARE(db->children.size(), 2);
    QCOMPARE(conversation(db, 0)->last, 300);
    QCOMPARE(conversation(db, 0)->chats, (QList<_MsgChat*>{a1, a2}));
    QCOMPARE(conversation(db, 1)->last, 200);
    QCOMPARE(conversation(db, 1)->chats, (QList<_MsgChat*>{b}));

    // A rebuild replaces the conversations.
    set.clear();
    model->rebuildConversations(db);
    QCOMPARE(model->rowCount(model->indexOfNode(db)), 0);
}

void TestItemModelMain::equalDatesKeepTheSetOrder()
{
    tester.reset(); // it walks every row on each change; one check at the end is enough
    _LocalDBItemNode* db = model->addLocalDb({}, QStringLiteral("db"));
    const int count = 3000;
    for (int i = 0; i < count; ++i)
        addChat(*db->messageSet, i + 1, QStringLiteral("id%1").arg(i), i % 3 == 0 ? 500 : 0);
    model->rebuildConversations(db);
    QCOMPARE(db->children.size(), count);
    // Rowids 1, 4, 7, ... (date 500) first, then 2, 3, 5, 6, ..., each group in set order.
    for (int row = 1; row < count; ++row) {
        const _ChatSessionItemNode* previous = conversation(db, row - 1);
        const _ChatSessionItemNode* node = conversation(db, row);
        QVERIFY(node->last < previous->last || (node->last == previous->last &&
                                                node->chats.first()->rowid > previous->chats.first()->rowid));
    }
    QCOMPARE(conversation(db, 1000)->chats.first()->rowid, qint64(2));
    Tester check(model.get(), Tester::FailureReportingMode::QtTest);
}

void TestItemModelMain::conversationPictures()
{
    _LocalDBItemNode* db = model->addLocalDb({}, QStringLiteral("db"));
    MessageSet& set = *db->messageSet;
    _MsgHandle* plain = addHandle(set, 1);
    _MsgHandle* photo = addHandle(set, 2, jpegPicture({60, 30}));
    _MsgHandle* broken = addHandle(set, 3, QByteArray("not a picture"));
    addChat(set, 1, QStringLiteral("contact"), 40, {plain});
    addChat(set, 2, QStringLiteral("group"), 30, {plain, photo});
    addChat(set, 3, QStringLiteral("photo"), 20, {photo});
    addChat(set, 4, QStringLiteral("broken"), 10, {broken});
    model->rebuildConversations(db);

    const QModelIndex source = model->indexOfNode(db);
    const auto pictureAt = [&](int row) {
        return model->index(row, 0, source).data(Qt::DecorationRole).value<QImage>();
    };
    const QImage contact = QImage(QStringLiteral(":/res/contact.png")).scaledToWidth(18);
    const QImage group = QImage(QStringLiteral(":/res/group.png")).scaledToWidth(18);
    QVERIFY(!contact.isNull() && contact != group);
    QCOMPARE(pictureAt(0), contact);
    QCOMPARE(pictureAt(1), group);
    QCOMPARE(pictureAt(2).size(), QSize(36, 18)); // the photo, 18 pixels high
    QCOMPARE(pictureAt(3), contact);
}

void TestItemModelMain::removeNodeDropsConversationsFirst()
{
    tester.reset(); // it would refresh every remembered index after each change
    QList<_LocalDBItemNode*> dbs;
    for (int i = 0; i < 3; ++i) {
        dbs << model->addLocalDb({}, QStringLiteral("db%1").arg(i));
        for (int chat = 0; chat < 3; ++chat)
            addChat(*dbs.last()->messageSet, chat + 1, QStringLiteral("id%1").arg(chat), chat);
        model->rebuildConversations(dbs.last());
        QCOMPARE(model->indexOfNode(dbs.last()->children.first()).parent().row(), i); // remembered
    }
    const QModelIndex root = model->indexOfNode(model->localDbRoot());

    QSignalSpy aboutToRemove(model.get(), &QAbstractItemModel::rowsAboutToBeRemoved);
    model->removeNode(model->localDbRoot()); // the roots stay
    model->removeNode(dbs.at(0));
    QCOMPARE(aboutToRemove.count(), 2);
    QCOMPARE(aboutToRemove.at(0).at(0).toModelIndex().internalPointer(), static_cast<void*>(dbs.at(0)));
    QCOMPARE(aboutToRemove.at(0).at(2).toInt(), 2);
    QCOMPARE(aboutToRemove.at(1).at(0).toModelIndex(), root);
    QCOMPARE(aboutToRemove.at(1).at(1).toInt(), 0);

    // The others moved up a row; their conversations know where their parents are now.
    for (int row = 0; row < 2; ++row) {
        const QModelIndex child = model->indexOfNode(dbs.at(row + 1)->children.first());
        QCOMPARE(child.parent().row(), row);
        QCOMPARE(model->nodeFromIndex(child.parent()), dbs.at(row + 1));
    }
    Tester check(model.get(), Tester::FailureReportingMode::QtTest);
}

void TestItemModelMain::treeViewReportsContextMenuRequests()
{
    MyTreeView view;
    QSignalSpy menu(&view, &MyTreeView::createContextMenu);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            view.viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(view.viewport(), &event);
    QCOMPARE(menu.count(), 1);
}

QTEST_MAIN(TestItemModelMain)
#include "test_item_model_main.moc"
