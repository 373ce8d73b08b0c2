#pragma once

#include "android/AdbDevice.h"
#include "android/AndroidDevice.h"
#include "app/tree/AbsTreeItemModel.h"
#include "store/MessageSet.h"

#include <QItemSelection>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

class AndroidMonitor;
class ItemModelMain;
class ItemModelSms;
class MainWindowForm;
class QAction;
class QLabel;
class QMenu;
class QNetworkAccessManager;
class QNetworkReply;
class _AbsDBItemNode;
class _AndroidDeviceItemNode;
class _LocalDBItemNode;
class _ChatSessionItemNode;
struct _MsgMessage;

// The program's only top-level window: the source tree (phones, local
// databases and their conversations) on the left, the messages of the
// selected node as a list and as a paged transcript on the right, and the
// menus, tool bar and context menus from which every command starts.
//
// The message views hold raw pointers into the MessageSet of one source.
// The window keeps that set alive while it is displayed and clears the views
// before any record they may show is deleted or its node goes away. A source
// read again gets a new set in place of its old one (never old records mixed
// with new rows); the views and conversations let go of the old one first.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // Whether the window watches for phones on USB (the device monitor and
    // its hint); tests of other things leave it off.
    enum class DeviceWatch
    {
        On,
        Off
    };
    explicit MainWindow(QWidget* parent = nullptr, DeviceWatch watch = DeviceWatch::On);
    ~MainWindow() override;

    // The context menus for the current tree node, built but not shown; the
    // caller owns the menu. Null when that node offers no menu.
    QMenu* createTreeContextMenu();
    QMenu* createSmsContextMenu();

public slots:
    // Replies of the vendor's web server, once they have finished.
    void onCheckVersionReadyRead();
    void onGetAdvLinkRead();

    // Phone events.
    void androidDeviceConnected(const AdbDevice& device);
    void androidDeviceDisconnected(const QString& id);
    void androidDeviceLoad(const AndroidDevice& device);
    void androidUsbTips();

    void onMainTreeSelected(const QItemSelection& selected, const QItemSelection& deselected);
    void onMainTreeContextMenu();
    void onSMSItemSelected(const QItemSelection& selected, const QItemSelection& deselected);
    void onSMSSortIndicatorChanged(int logicalIndex, Qt::SortOrder order);
    void onSMSContextMenu();
    void searchMessages();
    // The message search backwards: the previous match before the current row.
    void searchMessagesBackward();
    void searchCotnact();

    void miBackup();
    void miBackupSel();
    void miBackupChat();
    void miBackupAll();
    void miExport();
    void miExportSel();
    void miExportChat();
    void miExportAll();
    void miPrint();
    void miPrintSel();
    void miPrintChat();
    void miPrintAll();
    void miDel();
    void miDelSel();
    void miDelChat();
    void miDelAll();
    void miA2A();
    void miA2ASel();
    void miA2AChat();
    void miA2AAll();
    void miDb2A();
    void miDb2ASel();
    void miDb2AChat();
    void miDb2AAll();
    void miConnectWifi();
    void miViewCache();
    void miOpenDbFolder();
    void miImportXml();
    void miCheckUpdate();
    void miHelp();
    void miFeedback();
    void miAbout();
    void miClearCache();
    void miUnmoutDevice();
    // Keyboard commands (MainWindowKeyboard.cpp): the search boxes, the whole
    // list, and the current source read again from its file.
    void miFindMessages();
    void miFindConversation();
    void miSelectAllMessages();
    void miRefresh();

private:
    using Node = AbsTreeItemModel::_ItemNode;
    using MessageList = QList<_MsgMessage*>;
    using Command = void (MainWindow::*)();
    using ListCommand = void (MainWindow::*)(const MessageList&);

    // Construction (MainWindow.cpp, MainWindowMenus.cpp, MainWindowSources.cpp).
    void connectViews();
    void setUpModels();
    void setUpStatusBar();
    void buildMenus();
    void buildToolBar();
    void loadLocalDatabases();
    void loadVirtualDevices();
    void startDeviceMonitor();
    // Shows a phone whose cache was just loaded: replaces its node (MainWindowPhones.cpp).
    void showLoadedPhone(const AndroidDevice& device);
    QString phoneCountryCode(const AndroidDevice& device);

    // The vendor's web server: the daily update check, the promotion link and
    // the update page (MainWindowUpdates.cpp).
    void startUpdateChecks();
    void abortUpdateChecks();
    void offerUpdate(const QString& address);
    void showPromotion(const QString& link);
    void openUpdatePage();

    // Tree helpers (MainWindow.cpp).
    Node* currentNode() const;
    // The caption above the transcript names the current conversation (or source).
    void updateCaption();
    void selectAndExpand(Node* node);
    int phoneCount() const;
    // Removes a phone or local database node, clearing the views first when
    // they show its records.
    void removeSourceNode(_AbsDBItemNode* node);
    // Reads a source (its chats and messages) into a new set, closes its file
    // again and puts the set in place of the node's (MainWindowSources.cpp).
    // Throws, leaving the node as it was, when the read fails.
    void readSource(_AbsDBItemNode* source);
    // Puts a set in place of a source's: the views that show the old records
    // are cleared, the selection leaves its conversations, and they are
    // rebuilt on the new records.
    void replaceSourceSet(_AbsDBItemNode* source, const MessageSetPtr& set);
    // Reads a source again after a job wrote it and selects it.
    void reloadSource(_AbsDBItemNode* target);

    // Actions (MainWindowMenus.cpp).
    void updateActions();

    // The message search, forwards or backwards (MainWindowSearch.cpp).
    void findMessage(bool forward);

    // Message views (MainWindowSelection.cpp).
    void showSelectedNode(Node* node);
    void showLocalDb(_LocalDBItemNode* node);
    void showSourceMessages(_AbsDBItemNode* source, const MessageList& list);
    void showMessageList(const MessageList& list);
    void clearMessageView();
    bool viewsShow(const _AbsDBItemNode* source) const;
    MessageList selectedMessages() const;
    MessageList chatMessages() const;
    MessageList allSourceMessages();
    // True when every message of the list belongs to the current node's
    // source; otherwise says so in the error box (nothing when there is no
    // source). Every command checks the list it was handed.
    bool listBelongsToSource(const MessageList& list);
    // The plain command of a family: its Sel, Chat or All variant.
    void runPlainCommand(Command sel, Command chat, Command all);
    // The Sel variant of a family: nothing when no message is selected.
    void runWithSelectedMessages(ListCommand command);
    // The All variant of a family: nothing when the source holds no message.
    void runWithAllMessages(ListCommand command);

    // Backup (MainWindowBackup.cpp).
    void backupMessages(const MessageList& list);
    // created (when given) tells whether the database was made just now.
    _LocalDBItemNode* pickLocalDbForWriting(const QString& suggestedName, bool* created = nullptr);
    QStringList localDbNames() const;
    _LocalDBItemNode* findLocalDb(const QString& name) const;
    _LocalDBItemNode* createLocalDb(const QString& name, bool& made);

    // Import (MainWindowImport.cpp).
    bool importCountry(_LocalDBItemNode* target, const QString& file, QString& country);
    void discardLocalDb(_LocalDBItemNode* target);

    // Delete (MainWindowDelete.cpp).
    void deleteEmptyChats(MessageSet& set, const QList<_MsgChat*>& chats);
    bool runDeleteJob(_AbsDBItemNode* source, const MessageList& list);

    // Export and print (MainWindowExport.cpp).
    void exportMessages(const MessageList& list);
    void printMessages(const MessageList& list);

    // Transfers (MainWindowTransfer.cpp).
    void sendToAndroid(const MessageList& list);
    _AndroidDeviceItemNode* pickTargetPhone();

    std::unique_ptr<MainWindowForm> ui;
    ItemModelMain* mainModel = nullptr;
    ItemModelSms* smsModel = nullptr;
    // The update check and the promotion request of this start while they
    // are under way, and their manager; aborted when the window goes.
    QNetworkAccessManager* network = nullptr;
    QPointer<QNetworkReply> updateRequest;
    QPointer<QNetworkReply> advRequest;
    QLabel* advLabel = nullptr;
    QAction* actBackup = nullptr;
    QAction* actA2A = nullptr;
    QAction* actDb2A = nullptr;
    QAction* actExport = nullptr;
    QAction* actPrint = nullptr;
    QAction* actDelete = nullptr;
    AndroidMonitor* monitor = nullptr; // owned; deleted first by the destructor

    // The set whose records the message views show (null when they are
    // empty); held so that it outlives the views' pointers into it.
    MessageSetPtr shownSet;
};
