#pragma once

#include "app/tree/AbsTreeItemModel.h"

#include <QList>
#include <QString>
#include <QStringList>

class ItemModelMain;
class ModalDriver;
class ItemModelSms;
class MainWindow;
class MyTreeView;
class QMenu;
class SmsBrowser;

using Node = AbsTreeItemModel::_ItemNode;

// One conversation of a database written for a test: a contact with a name
// and an address, and its messages "<prefix> 1" ... "<prefix> <count>", a
// minute apart from firstDate, alternately received and sent.
struct ConversationPlan
{
    QString contact;
    QString address;
    QStringList texts;
    int firstDate = 400000000;
};
// The conversation with contact number n: address +15550000<nn>, first message at 400000000 + (n - 1) *
// 100000.
ConversationPlan planConversation(const char* contact, int number, const char* prefix, int count);

// The sources most window tests start from: local databases Alpha (Bob Jones,
// Alice Smith) and Beta (Carol White), and up to two virtual phones: Phone A
// (Erin Black, Dave Brown) and Phone B (Frank Green).
extern const ConversationPlan kAlice, kBob, kCarol, kDave, kErin, kFrank;
void writeStandardSources(int phones);

// Empties the data folder's local databases, virtual phones and phone caches.
void resetDataFolder();

// Writes the conversations into the message database of the folder.
void writeDatabase(const QString& folder, const QList<ConversationPlan>& conversations);
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
void triggerAction(MainWindow& window, const char* objectName);

// "db:Alpha", "phone:Phone A", "conv:Alpha/Alice Smith" (the database is read
// first), "root:Devices", "root:Local Databases"; null for anything else.
Node* nodeAt(MainWindow& window, const QString& path);
Node* childNamed(Node* parent, const QString& name);
QStringList childNames(const Node* parent);
Node* currentTreeNode(MainWindow& window);
// Makes the node the tree's current index (as a click does) and lets queued calls run.
void selectNode(MainWindow& window, Node* node);
void selectNode(MainWindow& window, const QString& path);
// Selects list rows (whole rows), as a click with Ctrl does.
void selectRows(MainWindow& window, const QList<int>& rows);
// The texts of the messages in the list, in display order.
QStringList listTexts(MainWindow& window);
// The entries of a menu as "text" or "text (disabled)"; empty for no menu.
QStringList menuEntries(const QMenu* menu);

// Answers the database picker by typing a name into its edit field and
// pressing Confirm, then the box that follows (the job's verdict) with OK.
// Records the name the picker suggested.
void answerPickerWith(ModalDriver& driver, const QString& name, QString* suggested = nullptr);
// Answers the next file dialog (open or save) by choosing nameFilter, when
// one is given, typing path into its name field and accepting it.
void answerFileDialog(ModalDriver& driver, const QString& path, const QString& nameFilter = QString());
