#include "app/messages/ItemModelSms.h"
#include "store/MessageSet.h"
#include "store/MessageText.h"
#include "store/StoredDate.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QLocale>
#include <QPixmap>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

class TestItemModelSms : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void headersAndShape();
    void ordinaryMessageColumns();
    void systemMessageColumns();
    void iconsFollowServiceAndDirection_data();
    void iconsFollowServiceAndDirection();
    void backgroundsAndRowHeight();
    void rowsHaveNoChildren();
    void replacesAndClearsRows();

private:
    _MsgMessage* addMessage(qint64 rowid, int fromMe, const QString& text = QString());

    MessageSet set;
    _MsgChat* chat = nullptr;
    std::unique_ptr<ItemModelSms> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

_MsgMessage* TestItemModelSms::addMessage(qint64 rowid, int fromMe, const QString& text)
{
    auto* m = new _MsgMessage;
    m->rowid = rowid;
    m->is_from_me = fromMe;
    m->text = text;
    m->date = 600000000 + int(rowid) * 60;
    m->service = QStringLiteral("SMS");
    m->chat = chat;
    set.messages.insert(rowid, m);
    return m;
}

void TestItemModelSms::init()
{
    set.clear();
    auto* ann = new _MsgHandle;
    ann->rowid = 1;
    ann->id = QStringLiteral("+123");
    ann->_ct_name = QStringLiteral("Ann");
    set.handles.insert(1, ann);
    chat = new _MsgChat;
    chat->rowid = 1;
    chat->participants.insert(QStringLiteral("1"), ann);
    set.chats.insert(1, chat);
    model = std::make_unique<ItemModelSms>();
    tester = std::make_unique<QAbstractItemModelTester>(
        model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestItemModelSms::cleanup()
{
    tester.reset();
    model.reset();
    set.clear();
}

void TestItemModelSms::headersAndShape()
{
    QCOMPARE(model->columnCount(), 4);
    const QStringList expected{"Date", "Flag", "Contact", "Content"};
    for (int section = 0; section < 4; ++section)
        QCOMPARE(model->headerData(section, Qt::Horizontal).toString(), expected.at(section));
    QVERIFY(!model->headerData(4, Qt::Horizontal).isValid());
    QVERIFY(!model->headerData(0, Qt::Vertical).isValid());
    QVERIFY(!model->headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
    QCOMPARE(model->rowCount(), 0);
}

void TestItemModelSms::ordinaryMessageColumns()
{
    _MsgMessage* sent = addMessage(1, 1, QStringLiteral("hi\u2705 there"));
    _MsgMessage* received = addMessage(2, 0, QStringLiteral("hello"));
    model->setMessages({sent, received});

    QCOMPARE(model->rowCount(), 2);
    const QString date = QLocale::system().toString(storedDateToLocal(sent->date), QLocale::ShortFormat);
    QCOMPARE(model->index(0, 0).data().toString(), date);
    QCOMPARE(model->index(0, 0).data(Qt::ToolTipRole).toString(), date);
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("To"));
    QCOMPARE(model->index(1, 1).data().toString(), QStringLiteral("From"));
    QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("Ann (+123)"));
    QCOMPARE(model->index(0, 3).data().toString(), QStringLiteral("hi[EMOJI] there"));
    QCOMPARE(model->index(1, 3).data(Qt::ToolTipRole).toString(), QStringLiteral("hello"));

    sent->chat = nullptr;
    QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("unknown"));
}

void TestItemModelSms::systemMessageColumns()
{
    _MsgMessage* renamed = addMessage(1, 1);
    renamed->item_type = 2;
    renamed->group_title = QStringLiteral("Trip");
    _MsgMessage* orphan = addMessage(2, 0);
    orphan->item_type = 3;
    orphan->chat = nullptr;
    model->setMessages({renamed, orphan});

    QCOMPARE(model->index(0, 1).data().toString(), QString());
    QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("Ann"));
    QCOMPARE(model->index(0, 3).data().toString(), displayText(*renamed));
    QVERIFY(model->index(0, 3).data().toString().startsWith(
        QStringLiteral("You named the conversation \"Trip\".")));
    QCOMPARE(model->index(1, 1).data().toString(), QString());
    QCOMPARE(model->index(1, 2).data().toString(), QString());
}

void TestItemModelSms::iconsFollowServiceAndDirection_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<int>("fromMe");
    QTest::addColumn<QString>("icon");
    QTest::newRow("iMessage sent") << "iMessage" << 1 << ":/res/imsg-send.png";
    QTest::newRow("IMESSAGE received") << "IMESSAGE" << 0 << ":/res/imsg-rec.png";
    QTest::newRow("imessage sent") << "imessage" << 1 << ":/res/imsg-send.png";
    QTest::newRow("SMS sent") << "SMS" << 1 << ":/res/icon_sms-sent.png";
    QTest::newRow("SMS received") << "SMS" << 0 << ":/res/icon_sms-receive.png";
    QTest::newRow("no service received") << "" << 0 << ":/res/icon_sms-receive.png";
}

void TestItemModelSms::iconsFollowServiceAndDirection()
{
    QFETCH(QString, service);
    QFETCH(int, fromMe);
    QFETCH(QString, icon);
    _MsgMessage* m = addMessage(1, fromMe);
    m->service = service;
    model->setMessages({m});

    const QPixmap expected = QPixmap(icon).scaledToWidth(18);
    QVERIFY(!expected.isNull());
    const QPixmap shown = model->index(0, 0).data(Qt::DecorationRole).value<QPixmap>();
    QCOMPARE(shown.width(), 18);
    QCOMPARE(shown.toImage(), expected.toImage());
    for (int column = 1; column < 4; ++column)
        QVERIFY(!model->index(0, column).data(Qt::DecorationRole).isValid());
}

void TestItemModelSms::backgroundsAndRowHeight()
{
    model->setMessages({addMessage(1, 1), addMessage(2, 0), addMessage(3, 7)});
    for (int column = 0; column < 4; ++column) {
        QCOMPARE(model->index(0, column).data(Qt::BackgroundRole).value<QBrush>(),
                 QBrush(QColor(245, 255, 226)));
        QCOMPARE(model->index(1, column).data(Qt::BackgroundRole).value<QBrush>(),
                 QBrush(QColor(255, 255, 255)));
        QCOMPARE(model->index(2, column).data(Qt::BackgroundRole).value<QBrush>(),
                 QBrush(QColor(245, 255, 226)));
        QCOMPARE(model->index(0, column).data(Qt::SizeHintRole).toSize(), QSize(0, 23));
    }
    QVERIFY(!model->index(0, 0).data(Qt::EditRole).isValid());
    QVERIFY(!model->index(0, 0).data(Qt::FontRole).isValid());
}

void TestItemModelSms::rowsHaveNoChildren()
{
    _MsgMessage* m = addMessage(1, 0);
    model->setMessages({m, addMessage(2, 1)});
    const QModelIndex first = model->index(0, 0);
    QCOMPARE(first.internalPointer(), static_cast<void*>(m));
    QCOMPARE(model->index(0, 2).internalPointer(), nullptr);
    for (int column = 0; column < 4; ++column) {
        const QModelIndex cell = model->index(1, column);
        QCOMPARE(model->rowCount(cell), 0);
        QVERIFY(!model->hasChildren(cell));
        QVERIFY(!cell.parent().isValid());
        QVERIFY(!model->index(0, 0, cell).isValid());
    }
    QCOMPARE(model->messageFromIndex(model->index(0, 3)), m);
    QVERIFY(!model->index(2, 0).isValid());
    QVERIFY(!model->index(0, 4).isValid());
}

void TestItemModelSms::replacesAndClearsRows()
{
    _MsgMessage* a = addMessage(1, 0);
    _MsgMessage* b = addMessage(2, 1);
    QSignalSpy reset(model.get(), &QAbstractItemModel::modelReset);
    model->setMessages({a, b});
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model->messages(), (QList<_MsgMessage*>{a, b}));
    QCOMPARE(model->indexOfRow(1), model->index(1, 0));
    QCOMPARE(model->indexOfRow(1).internalPointer(), static_cast<void*>(b));
    QVERIFY(!model->indexOfRow(2).isValid());
    QVERIFY(!model->indexOfRow(-1).isValid());

    model->setMessages({b});
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("To"));

    model->clear();
    QCOMPARE(reset.count(), 3);
    QCOMPARE(model->rowCount(), 0);
    QVERIFY(model->messages().isEmpty());
    QCOMPARE(model->messageFromIndex(QModelIndex()), nullptr);
}

QTEST_MAIN(TestItemModelSms)
#include "test_item_model_sms.moc"
