#include "app/MainWindow.h"

#include "app/MainWindowForm.h"
#include "app/tree/ItemModelMain.h"
#include "app/views/MyTreeView.h"

#include <QAction>
#include <QCursor>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QModelIndex>
#include <QToolBar>

namespace {
// One menu entry: its text (a translation source in context QObject; the
// English text carries the entry's mnemonic), its picture (none when empty),
// the command it runs and, in the menu bar, its key.
struct Entry
{
    const char* text;
    const char* icon;
    void (MainWindow::*slot)();
    bool enabled = true;
    QKeySequence key = QKeySequence();
};

QAction* addEntry(QMenu* menu, MainWindow* window, const Entry& entry)
{
    const QString text = QObject::tr(entry.text);
    QAction* action =
        entry.icon[0] ? menu->addAction(QIcon(QLatin1String(entry.icon)), text) : menu->addAction(text);
    action->setEnabled(entry.enabled);
    action->setShortcut(entry.key);
    QObject::connect(action, &QAction::triggered, window, entry.slot);
    return action;
}

// Where a context menu opens: at the mouse when it is over the view, else
// (the menu key) under the view's current row.
QPoint menuPosition(const QAbstractItemView* view)
{
    const QPoint mouse = view->viewport()->mapFromGlobal(QCursor::pos());
    if (view->viewport()->rect().contains(mouse))
        return QCursor::pos();
    const QRect row = view->visualRect(view->currentIndex());
    return view->viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint(0, 0));
}

QMenu* menuOf(MainWindow* window, const QList<Entry>& entries)
{
    auto* menu = new QMenu(window);
    for (const Entry& entry : entries)
        addEntry(menu, window, entry);
    return menu;
}

const char kBackupText[] = "Backup SMS to Local Database";
const char kA2AText[] = "Transfer Android SMS to other Android";
const char kDb2AText[] = "Transfer SMS from Database to Android";
const char kExportText[] = "Export SMS to File";
const char kPrintText[] = "Print SMS";
const char kOpenDbFolderText[] = "Open Database Folder";
const char kImportXmlText[] = "Import XML Backup\u2026";

const char kBackupIcon[] = ":res/backup.png";
const char kA2AIcon[] = ":res/a2a.png";
const char kDb2AIcon[] = ":res/db2a.png";
const char kExportIcon[] = ":res/export.png";
const char kPrintIcon[] = ":res/print.png";
const char kDeleteIcon[] = ":res/delete.png";
const char kOpenDbFolderIcon[] = ":res/open_db_folder.png";
const char kNoIcon[] = "";
} // namespace

// The menu titles are not translated; each has its mnemonic. Every command
// of the window is in a menu, most with a standard key.
void MainWindow::buildMenus()
{
    QMenu* file = ui->menuBar->addMenu(QStringLiteral("&File"));
    actBackup = addEntry(file, this,
                         {kBackupText, kBackupIcon, &MainWindow::miBackup, false, QKeySequence(Qt::CTRL | Qt::Key_B)});
    actA2A = addEntry(file, this, {kA2AText, kA2AIcon, &MainWindow::miA2A, false});
    actDb2A = addEntry(file, this, {kDb2AText, kDb2AIcon, &MainWindow::miDb2A, false});
    file->addSeparator();
    actExport = addEntry(
        file, this, {kExportText, kExportIcon, &MainWindow::miExport, false, QKeySequence(Qt::CTRL | Qt::Key_E)});
    actPrint = addEntry(file, this, {kPrintText, kPrintIcon, &MainWindow::miPrint, false, QKeySequence::Print});
    actDelete =
        addEntry(file, this, {"Delete SMS", kDeleteIcon, &MainWindow::miDel, false, QKeySequence::Delete});
    file->addSeparator();
    addEntry(file, this, {kImportXmlText, kNoIcon, &MainWindow::miImportXml})
        ->setObjectName(QStringLiteral("actImportXml"));
    addEntry(file, this, {kOpenDbFolderText, kOpenDbFolderIcon, &MainWindow::miOpenDbFolder});
    file->addSeparator();
    QAction* exit = file->addAction(QIcon(QStringLiteral(":res/exit.png")), QObject::tr("Exit"));
    exit->setObjectName(QStringLiteral("actExit"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q)); // the standard key is empty on some platforms
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = ui->menuBar->addMenu(QStringLiteral("&Edit"));
    addEntry(edit, this, {"Find in Messages", kNoIcon, &MainWindow::miFindMessages, true, QKeySequence::Find});
    addEntry(edit, this, {"Find Next", kNoIcon, &MainWindow::searchMessages, true, QKeySequence(Qt::Key_F3)});
    addEntry(edit, this,
             {"Find Previous", kNoIcon, &MainWindow::searchMessagesBackward, true,
              QKeySequence(Qt::SHIFT | Qt::Key_F3)});
    addEntry(edit, this,
             {"Find Conversation", kNoIcon, &MainWindow::miFindConversation, true,
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)});
    edit->addSeparator();
    addEntry(edit, this,
             {"Select All Messages", kNoIcon, &MainWindow::miSelectAllMessages, true, QKeySequence::SelectAll});

    QMenu* view = ui->menuBar->addMenu(QStringLiteral("&View"));
    addEntry(view, this, {"Refresh", kNoIcon, &MainWindow::miRefresh, true, QKeySequence::Refresh})
        ->setObjectName(QStringLiteral("actRefresh"));

    actBackup->setObjectName(QStringLiteral("actBackup"));
    actA2A->setObjectName(QStringLiteral("actA2A"));
    actDb2A->setObjectName(QStringLiteral("actDb2A"));
    actExport->setObjectName(QStringLiteral("actExport"));
    actPrint->setObjectName(QStringLiteral("actPrint"));
    actDelete->setObjectName(QStringLiteral("actDelete"));

    QMenu* tools = ui->menuBar->addMenu(QStringLiteral("&Tools"));
    addEntry(tools, this, {"Check for Update", kNoIcon, &MainWindow::miCheckUpdate})
        ->setObjectName(QStringLiteral("actCheckUpdate"));
    addEntry(tools, this, {"Clear Cache files", kNoIcon, &MainWindow::miClearCache});
    addEntry(tools, this, {"Connect Android Phone via WiFi", kNoIcon, &MainWindow::miConnectWifi});

    QMenu* help = ui->menuBar->addMenu(QStringLiteral("&Help"));
    addEntry(help, this, {"Help", ":res/help.png", &MainWindow::miHelp, true, QKeySequence::HelpContents});
    addEntry(help, this, {"Feedback and Support", kNoIcon, &MainWindow::miFeedback});
    addEntry(help, this, {"About", kNoIcon, &MainWindow::miAbout});
}

void MainWindow::buildToolBar()
{
    ui->mainToolBar->addAction(actBackup);
    ui->mainToolBar->addAction(actA2A);
    ui->mainToolBar->addAction(actDb2A);
    ui->mainToolBar->addSeparator();
    ui->mainToolBar->addAction(actExport);
    ui->mainToolBar->addAction(actPrint);
    ui->mainToolBar->addAction(actDelete);
}

void MainWindow::updateActions()
{
    // Setting the tree's model reports a selection change before the menus exist.
    if (!actBackup)
        return;
    const _AbsDBItemNode* source = ItemModelMain::sourceOf(currentNode());
    const bool phone = asPhone(source) != nullptr;
    const bool localDb = asLocalDb(source) != nullptr;
    const int phones = phoneCount();
    actBackup->setEnabled(phone);
    actA2A->setEnabled(phone && phones > 1);
    actDb2A->setEnabled(localDb && phones > 0);
    actExport->setEnabled(phone || localDb);
    actPrint->setEnabled(phone || localDb);
    actDelete->setEnabled(localDb);
}

QMenu* MainWindow::createTreeContextMenu()
{
    Node* node = currentNode();
    if (!node)
        return nullptr;
    const bool otherPhone = phoneCount() > 1;
    const bool anyPhone = phoneCount() > 0;
    if (node == mainModel->localDbRoot())
        return menuOf(this, {{kOpenDbFolderText, kOpenDbFolderIcon, &MainWindow::miOpenDbFolder},
                             {kImportXmlText, kNoIcon, &MainWindow::miImportXml}});
    const _AbsDBItemNode* source = ItemModelMain::sourceOf(node);
    const bool conversation = asConversation(node) != nullptr;
    if (asPhone(source) && !conversation) {
        return menuOf(this, {
                                {kBackupText, kBackupIcon, &MainWindow::miBackupAll},
                                {kA2AText, kA2AIcon, &MainWindow::miA2AAll, otherPhone},
                                {kExportText, kExportIcon, &MainWindow::miExportAll},
                                {kPrintText, kPrintIcon, &MainWindow::miPrintAll},
                                {"View Cache Files", kNoIcon, &MainWindow::miViewCache},
                                {"Disconnect Device", ":res/unmount.png", &MainWindow::miUnmoutDevice},
                            });
    }
    if (asLocalDb(source) && !conversation) {
        return menuOf(this, {
                                {kDb2AText, kDb2AIcon, &MainWindow::miDb2AAll, anyPhone},
                                {kExportText, kExportIcon, &MainWindow::miExportAll},
                                {kPrintText, kPrintIcon, &MainWindow::miPrintAll},
                                {"Delete this Database", kDeleteIcon, &MainWindow::miDelAll},
                            });
    }
    if (asPhone(source)) {
        return menuOf(
            this,
            {
                {"Backup SMS with this contact to Local Database", kBackupIcon, &MainWindow::miBackupChat},
                {"Transfer SMS with this contact to other Android", kA2AIcon, &MainWindow::miA2AChat,
                 otherPhone},
                {"Export SMS with this contact to File", kExportIcon, &MainWindow::miExportChat},
                {"Print SMS with this contact", kPrintIcon, &MainWindow::miPrintChat},
            });
    }
    if (asLocalDb(source)) {
        return menuOf(
            this,
            {
                {"Transfer SMS with this contact to Android", kDb2AIcon, &MainWindow::miDb2AChat, anyPhone},
                {"Export SMS with this contact to File", kExportIcon, &MainWindow::miExportChat},
                {"Print SMS with this contact", kPrintIcon, &MainWindow::miPrintChat},
                {"Delete SMS with this contact", kDeleteIcon, &MainWindow::miDelChat},
            });
    }
    return nullptr;
}

QMenu* MainWindow::createSmsContextMenu()
{
    const _AbsDBItemNode* source = ItemModelMain::sourceOf(currentNode());
    if (!source)
        return nullptr;
    if (asPhone(source)) {
        return menuOf(
            this,
            {
                {"Backup Selected SMS to Local Database", kBackupIcon, &MainWindow::miBackupSel},
                {"Transfer Selected SMS to other Android", kA2AIcon, &MainWindow::miA2ASel, phoneCount() > 1},
                {"Export Selected SMS to File", kExportIcon, &MainWindow::miExportSel},
                {"Print Selected SMS", kPrintIcon, &MainWindow::miPrintSel},
            });
    }
    return menuOf(
        this, {
                  {"Transfer Selected SMS to Android", kDb2AIcon, &MainWindow::miDb2ASel, phoneCount() > 0},
                  {"Export Selected SMS to File", kExportIcon, &MainWindow::miExportSel},
                  {"Print Selected SMS", kPrintIcon, &MainWindow::miPrintSel},
                  {"Delete Selected SMS", kDeleteIcon, &MainWindow::miDelSel},
              });
}

void MainWindow::onMainTreeContextMenu()
{
    const std::unique_ptr<QMenu> menu(createTreeContextMenu());
    if (menu)
        menu->exec(menuPosition(ui->treeViewDS));
}

void MainWindow::onSMSContextMenu()
{
    const std::unique_ptr<QMenu> menu(createSmsContextMenu());
    if (menu)
        menu->exec(menuPosition(ui->treeViewSMS));
}
