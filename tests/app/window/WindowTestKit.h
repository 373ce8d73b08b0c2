#pragma once

#include "app/tree/AbsTreeItemModel.h"

#include <QList>
#include <QString>
#include <QStringList>

class ItemModelMain;
class ItemModelSms;
class MainWindow;
class MyTreeView;
class QAction;
class QLabel;
class QMenu;
class QTemporaryDir;
class SmsBrowser;
class _AbsDBItemNode;

// One conversation of a database written for a test: a contact with a name
// and an address, and its messages (one per text, a minute apart from
// firstDate, alternately received and sent).
struct ConversationSpec
{
    QString contact;
    QString address;
    QStringList texts;
    int firstDate = 400000000;
};

// Texts "<prefix> 1" ... "<prefix> <count>".
QStringList numberedTexts(const QString& prefix, int count);

// Points HOME at the temporary folder and installs the English translation;
// call before anything asks for the data folder.
void prepareWindowTestHome(QTemporaryDir& home);
// Empties the data folder's local databases, virtual phones and phone caches.
void resetDataFolder();

// Writes the conversations into the message database of the folder.
void writeDatabase(const QString& folder, const QList<ConversationSpec>& conversations);
// An empty but valid message database.
void writeEmptyDatabase(const QString& folder);
// A folder whose database file holds no database.
void writeCorruptDatabase(const QString& folder);
// The number of messages the database of the folder holds, read afresh.
int messageCountOf(const QString& folder);

QString localDbFolder(const QString& name);
QString virtualPhoneFolder(const QString& name);

// The window's parts, found by their object names.
ItemModelMain* treeModelOf(MainWindow& window);
MyTreeView* treeOf(MainWindow& window);
MyTreeView* listOf(MainWindow& window);
ItemModelSms* listModelOf(MainWindow& window);
SmsBrowser* browserOf(MainWindow& window);
QString counterText(MainWindow& window);
QAction* actionNamed(MainWindow& window, const QString& objectName);
// The entry of a menu bar menu ("File", "Tools", "Help") with that text.
QAction* menuEntry(MainWindow& window, const QString& menu, const QString& text);

// Tree look-ups and selection.
AbsTreeItemModel::_ItemNode* localDbNode(MainWindow& window, const QString& name);
AbsTreeItemModel::_ItemNode* phoneNode(MainWindow& window, const QString& name);
AbsTreeItemModel::_ItemNode* childNamed(AbsTreeItemModel::_ItemNode* parent, const QString& name);
QStringList childNames(const AbsTreeItemModel::_ItemNode* parent);
// Makes the node the tree's current index (as a click does) and lets queued calls run.
void selectNode(MainWindow& window, AbsTreeItemModel::_ItemNode* node);
// Selects list rows (whole rows), as a click with Ctrl does.
void selectRows(MainWindow& window, const QList<int>& rows);
// The texts of the messages in the list, in display order.
QStringList listTexts(MainWindow& window);

// The entries of a menu: text, and whether each is enabled, as "text" or "text (disabled)".
QStringList menuEntries(const QMenu* menu);
