#include "WindowTestKit.h"

#include "app/MainWindow.h"
#include "app/base/AppDirs.h"
#include "app/messages/ItemModelSms.h"
#include "app/messages/SmsBrowser.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"
#include "store/ExportMessagesDb.h"
#include "store/IOS6MessageDb.h"
#include "store/MessageSet.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

QStringList numberedTexts(const QString& prefix, int count)
{
    QStringList texts;
    for (int i = 1; i <= count; ++i)
        texts << QStringLiteral("%1 %2").arg(prefix).arg(i);
    return texts;
}

void prepareWindowTestHome(QTemporaryDir& home)
{
    qputenv("HOME", QFile::encodeName(home.path()));
    static QTranslator translator;
    if (translator.isEmpty() && translator.load(QStringLiteral(":/en.qm")))
        QCoreApplication::installTranslator(&translator);
}

void resetDataFolder()
{
    const QDir data = appDataDir();
    for (const char* name : {"local_databases", "virtual_android", "android_cache"})
        removeDirRecursively(data.absoluteFilePath(QLatin1String(name)));
    QFile::remove(data.absoluteFilePath(QStringLiteral("last-adv")));
}

void writeDatabase(const QString& folder, const QList<ConversationSpec>& conversations)
{
    MessageSet set;
    qint64 rowid = 1;
    QList<_MsgMessage*> messages;
    for (const ConversationSpec& spec : conversations) {
        auto* handle = new _MsgHandle;
        handle->rowid = rowid++;
        handle->id = spec.address;
        handle->_ct_name = spec.contact;
        set.handles.insert(handle->rowid, handle);
        auto* chat = new _MsgChat;
        chat->rowid = rowid++;
        chat->guid = QStringLiteral("SMS;-;") + spec.address;
        chat->chat_identifier = spec.address;
        chat->participants.insert(spec.address, handle);
        set.chats.insert(chat->rowid, chat);
        int date = spec.firstDate;
        for (const QString& text : spec.texts) {
            auto* m = new _MsgMessage;
            m->rowid = rowid++;
            m->guid = QStringLiteral("guid-%1-%2").arg(spec.address).arg(m->rowid);
            m->text = text;
            m->date = date;
            date += 60;
            m->service = QStringLiteral("SMS");
            m->is_from_me = int(chat->messages.size() % 2);
            m->chat = chat;
            m->handle = handle;
            chat->messages.insert(QString::number(m->rowid), m);
            set.messages.insert(m->rowid, m);
            messages << m;
        }
        chat->_last = date;
    }
    ExportMessagesDb exporter{QDir(folder), QString()};
    exporter.begin();
    for (const _MsgMessage* message : messages)
        exporter.write(*message);
    exporter.end();
}

void writeEmptyDatabase(const QString& folder)
{
    writeDatabase(folder, {});
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

QAction* actionNamed(MainWindow& window, const QString& objectName)
{
    return window.findChild<QAction*>(objectName);
}

QAction* menuEntry(MainWindow& window, const QString& menu, const QString& text)
{
    for (QAction* top : window.menuBar()->actions()) {
        if (top->text() != menu || !top->menu())
            continue;
        for (QAction* entry : top->menu()->actions()) {
            if (entry->text() == text)
                return entry;
        }
    }
    return nullptr;
}

AbsTreeItemModel::_ItemNode* childNamed(AbsTreeItemModel::_ItemNode* parent, const QString& name)
{
    if (!parent)
        return nullptr;
    for (AbsTreeItemModel::_ItemNode* child : parent->children) {
        if (child->name == name)
            return child;
    }
    return nullptr;
}

QStringList childNames(const AbsTreeItemModel::_ItemNode* parent)
{
    QStringList names;
    if (parent) {
        for (const AbsTreeItemModel::_ItemNode* child : parent->children)
            names << child->name;
    }
    return names;
}

AbsTreeItemModel::_ItemNode* localDbNode(MainWindow& window, const QString& name)
{
    return childNamed(treeModelOf(window)->localDbRoot(), name);
}

AbsTreeItemModel::_ItemNode* phoneNode(MainWindow& window, const QString& name)
{
    return childNamed(treeModelOf(window)->deviceRoot(), name);
}

void selectNode(MainWindow& window, AbsTreeItemModel::_ItemNode* node)
{
    QVERIFY(node);
    const QModelIndex index = treeModelOf(window)->indexOfNode(node);
    QVERIFY(index.isValid());
    treeOf(window)->setCurrentIndex(index);
    QCoreApplication::processEvents();
}

void selectRows(MainWindow& window, const QList<int>& rows)
{
    QItemSelectionModel* selection = listOf(window)->selectionModel();
    for (int row : rows) {
        selection->select(listModelOf(window)->indexOfRow(row),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
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
    if (!menu)
        return entries;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        entries << (action->isEnabled() ? action->text() : action->text() + QStringLiteral(" (disabled)"));
    }
    return entries;
}
