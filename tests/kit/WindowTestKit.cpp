#include "tests/kit/WindowTestKit.h"

#include "app/MainWindow.h"
#include "app/messages/ItemModelSms.h"
#include "app/messages/SmsBrowser.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "base/AppDirs.h"
#include "store/ExportMessagesDb.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageSet.h"
#include "tests/kit/ModalDriver.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

ConversationPlan planConversation(const char* contact, int number, const char* prefix, int count)
{
    ConversationPlan plan{contact,
                          QStringLiteral("+155500000%1").arg(number, 2, 10, QLatin1Char('0')),
                          {},
                          400000000 + (number - 1) * 100000};
    for (int i = 1; i <= count; ++i)
        plan.texts << QStringLiteral("%1 %2").arg(QLatin1String(prefix)).arg(i);
    return plan;
}

const ConversationPlan kAlice = planConversation("Alice Smith", 1, "alpha alice", 3);
const ConversationPlan kBob = planConversation("Bob Jones", 2, "alpha bob", 2);
const ConversationPlan kCarol = planConversation("Carol White", 3, "beta carol", 4);
const ConversationPlan kDave = planConversation("Dave Brown", 4, "phone dave", 2);
const ConversationPlan kErin = planConversation("Erin Black", 5, "phone erin", 3);
const ConversationPlan kFrank = planConversation("Frank Green", 6, "second frank", 1);

void writeStandardSources(int phones)
{
    writeDatabase(localDbFolder(QStringLiteral("Alpha")), {kAlice, kBob});
    writeDatabase(localDbFolder(QStringLiteral("Beta")), {kCarol});
    if (phones > 0)
        writeDatabase(virtualPhoneFolder(QStringLiteral("Phone A")), {kDave, kErin});
    if (phones > 1)
        writeDatabase(virtualPhoneFolder(QStringLiteral("Phone B")), {kFrank});
}

void resetDataFolder()
{
    for (const char* name : {"local_databases", "virtual_android", "android_cache"})
        removeDirRecursively(appDataDir().absoluteFilePath(QLatin1String(name)));
}

void writeDatabase(const QString& folder, const QList<ConversationPlan>& conversations)
{
    MessageSet set;
    qint64 rowid = 1;
    for (const ConversationPlan& plan : conversations) {
        auto* handle = new _MsgHandle;
        handle->rowid = rowid++;
        handle->id = plan.address;
        handle->_ct_name = plan.contact;
        set.handles.insert(handle->rowid, handle);
        auto* chat = new _MsgChat;
        chat->rowid = rowid++;
        chat->guid = QStringLiteral("SMS;-;") + plan.address;
        chat->chat_identifier = plan.address;
        chat->participants.insert(plan.address, handle);
        set.chats.insert(chat->rowid, chat);
        for (const QString& text : plan.texts) {
            auto* m = new _MsgMessage;
            m->rowid = rowid++;
            m->guid = QStringLiteral("guid-%1-%2").arg(plan.address).arg(m->rowid);
            m->text = text;
            m->date = plan.firstDate + int(chat->messages.size()) * 60;
            m->set_service(QStringLiteral("SMS"));
            m->is_from_me = int(chat->messages.size() % 2);
            m->chat = chat;
            m->handle = handle;
            chat->messages.append(m);
            set.messages.insert(m->rowid, m);
        }
        chat->_last = plan.firstDate + int(plan.texts.size()) * 60;
    }
    ExportMessagesDb exporter{QDir(folder), QString()};
    exporter.begin();
    for (const _MsgMessage* message : std::as_const(set.messages))
        exporter.write(*message);
    exporter.end();
}

void writeCorruptDatabase(const QString& folder)
{
    const QString path = IOS6MessageDb(QDir(folder), QString()).databasePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("This is a letter, not a database. ").repeated(200));
}

int messageCountOf(const QString& folder)
{
    MessageSet set;
    IOS6MessageDb db{QDir(folder), QString()};
    db.readMessages(set, 0);
    return int(set.messages.size());
}

QString localDbFolder(const QString& name)
{
    return localDbDir().absoluteFilePath(name);
}

QString virtualPhoneFolder(const QString& name)
{
    return appDataDir().absoluteFilePath(QStringLiteral("virtual_android/") + name);
}

ItemModelMain* treeModelOf(MainWindow& window)
{
    return qobject_cast<ItemModelMain*>(treeOf(window)->model());
}

MyTreeView* treeOf(MainWindow& window)
{
    return window.findChild<MyTreeView*>(QStringLiteral("treeViewDS"));
}

MyTreeView* listOf(MainWindow& window)
{
    return window.findChild<MyTreeView*>(QStringLiteral("treeViewSMS"));
}

ItemModelSms* listModelOf(MainWindow& window)
{
    return qobject_cast<ItemModelSms*>(listOf(window)->model());
}

SmsBrowser* browserOf(MainWindow& window)
{
    return window.findChild<SmsBrowser*>(QStringLiteral("txtSMS"));
}

QString counterText(MainWindow& window)
{
    return window.findChild<QLabel*>(QStringLiteral("lbSMSCount"))->text();
}

void triggerAction(MainWindow& window, const char* objectName)
{
    QAction* action = window.findChild<QAction*>(QLatin1String(objectName));
    QVERIFY(action && action->isEnabled());
    action->trigger();
}

Node* nodeAt(MainWindow& window, const QString& path)
{
    const QString kind = path.section(QLatin1Char(':'), 0, 0);
    const QString rest = path.section(QLatin1Char(':'), 1);
    Node* devices = treeModelOf(window)->deviceRoot();
    Node* databases = treeModelOf(window)->localDbRoot();
    if (kind == QLatin1String("root"))
        return rest == QLatin1String("Devices") ? devices : databases;
    Node* db = childNamed(databases, rest.section(QLatin1Char('/'), 0, 0));
    Node* phone = childNamed(devices, rest.section(QLatin1Char('/'), 0, 0));
    if (kind != QLatin1String("conv"))
        return kind == QLatin1String("db") ? db : phone;
    if (db)
        selectNode(window, db); // reads the database
    return childNamed(db ? db : phone, rest.section(QLatin1Char('/'), 1));
}

Node* childNamed(Node* parent, const QString& name)
{
    for (Node* child : parent ? parent->children : QList<Node*>()) {
        if (child->name == name)
            return child;
    }
    return nullptr;
}

QStringList childNames(const Node* parent)
{
    QStringList names;
    for (const Node* child : parent ? parent->children : QList<Node*>())
        names << child->name;
    return names;
}

Node* currentTreeNode(MainWindow& window)
{
    return treeModelOf(window)->nodeFromIndex(treeOf(window)->currentIndex());
}

void selectNode(MainWindow& window, Node* node)
{
    QVERIFY(node);
    const QModelIndex index = treeModelOf(window)->indexOfNode(node);
    QVERIFY(index.isValid());
    treeOf(window)->setCurrentIndex(index);
    QCoreApplication::processEvents();
}

void selectNode(MainWindow& window, const QString& path)
{
    selectNode(window, nodeAt(window, path));
}

void selectRows(MainWindow& window, const QList<int>& rows)
{
    QItemSelectionModel* selection = listOf(window)->selectionModel();
    for (int row : rows)
        selection->select(listModelOf(window)->indexOfRow(row),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QStringList listTexts(MainWindow& window)
{
    QStringList texts;
    for (const _MsgMessage* m : listModelOf(window)->messages())
        texts << m->text;
    return texts;
}

QStringList menuEntries(const QMenu* menu)
{
    QStringList entries;
    for (const QAction* action : menu ? menu->actions() : QList<QAction*>()) {
        if (!action->isSeparator())
            entries << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (disabled)"));
    }
    return entries;
}

void answerPickerWith(ModalDriver& driver, const QString& name, QString* suggested)
{
    driver.answerWith(
        [name, suggested](QWidget* picker) {
            auto* combo = picker->findChild<QComboBox*>(QStringLiteral("cbLocalDbNames"));
            if (suggested)
                *suggested = combo->currentText();
            combo->lineEdit()->selectAll();
            QTest::keyClicks(combo->lineEdit(), name);
            picker->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        },
        [](QWidget* w) { return w->objectName() == QLatin1String("LocalDbSelForm"); },
        QStringLiteral("picker"));
    driver.answer(QMessageBox::Ok);
}

void answerFileDialog(ModalDriver& driver, const QString& path, const QString& nameFilter)
{
    driver.answerWith(
        [path, nameFilter](QWidget* w) {
            auto* dialog = static_cast<QFileDialog*>(w);
            if (!nameFilter.isEmpty())
                dialog->selectNameFilter(nameFilter);
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            static_cast<QDialog*>(dialog)->accept();
        },
        [](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; }, QStringLiteral("file dialog"));
}
