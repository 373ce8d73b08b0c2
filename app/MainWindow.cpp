#include "app/MainWindow.h"

#include "android/AndroidMonitor.h"
#include "app/MainWindowForm.h"
#include "base/AppDirs.h"
#include "app/messages/ItemModelSms.h"
#include "app/messages/SmsBrowser.h"
#include "app/tree/ItemModelMain.h"
#include "ui/AppStyle.h"
#include "ui/PromotionLink.h"
#include "ui/ShellOpen.h"
#include "ui/VendorRequest.h"
#include "app/views/MyTreeView.h"

#include <QDateTime>
#include <QFile>
#include <QFontInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPersistentModelIndex>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>

#include <algorithm>

namespace {
// Wide enough for the longest date of the system's short format (a two-digit
// day and month, an evening hour) beside the message's icon.
int dateColumnWidth(const QWidget& list)
{
    const QDateTime longest(QDate(2026, 12, 28), QTime(23, 59));
    const QString sample = QLocale::system().toString(longest, QLocale::ShortFormat);
    constexpr int kIconAndMargins = 18 + 30;
    return list.fontMetrics().horizontalAdvance(sample) + kIconAndMargins;
}

// Emoji on screen come in colour (Debian's fonts-noto-color-emoji). The
// window's own family (as resolved, not an alias) draws what it has, the
// colour font the rest; left to itself the system may pick an outline emoji
// font (the one printed pages use) before it.
void preferColourEmoji(QWidget* window)
{
    QFont font = window->font();
    font.setFamilies({QFontInfo(font).family(), QStringLiteral("Noto Color Emoji")});
    window->setFont(font);
}
} // namespace

MainWindow::MainWindow(QWidget* parent, DeviceWatch watch)
    : QMainWindow(parent), ui(std::make_unique<MainWindowForm>())
{
    ui->setupUi(this);
    preferColourEmoji(this);
    setStyleSheet(appStyleSheet());
    connectViews();
    ui->splitter->setSizes({250, 750});
    setUpModels();
    buildMenus();
    buildToolBar();
    setWindowTitle(QObject::tr("Textferry"));
    setUpStatusBar();
    if (watch == DeviceWatch::On)
        startDeviceMonitor();
    loadLocalDatabases();
    startUpdateChecks();
    loadVirtualDevices();
}

MainWindow::~MainWindow()
{
    // Stops watching and the adb server before anything else goes.
    delete monitor;
    monitor = nullptr;
    abortUpdateChecks();
    // The views point into the sets the tree's nodes own.
    clearMessageView();
}

void MainWindow::connectViews()
{
    connect(ui->treeViewDS, &MyTreeView::onSelectionChanged, this, &MainWindow::onMainTreeSelected);
    connect(ui->treeViewDS, &MyTreeView::createContextMenu, this, &MainWindow::onMainTreeContextMenu);
    connect(ui->treeViewSMS, &MyTreeView::onSelectionChanged, this, &MainWindow::onSMSItemSelected);
    connect(ui->treeViewSMS, &MyTreeView::createContextMenu, this, &MainWindow::onSMSContextMenu);
    connect(ui->btnSearchSMS, &QToolButton::pressed, this, &MainWindow::searchMessages);
    connect(ui->txtSMSKeyword, &QLineEdit::returnPressed, this, &MainWindow::searchMessages);
    connect(ui->btnSearchHandle, &QToolButton::pressed, this, &MainWindow::searchCotnact);
    connect(ui->txtHandleKeyword, &QLineEdit::returnPressed, this, &MainWindow::searchCotnact);
}

void MainWindow::setUpModels()
{
    mainModel = new ItemModelMain(this);
    ui->treeViewDS->setModel(mainModel);
    ui->treeViewDS->expandAll();
    // A selection changes before the current index does; the actions follow
    // the current node, so they are brought up to date on both.
    connect(ui->treeViewDS->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainWindow::updateActions);
    connect(ui->treeViewDS->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainWindow::updateCaption);

    smsModel = new ItemModelSms(this);
    MyTreeView* list = ui->treeViewSMS;
    list->setSortingEnabled(true);
    list->header()->setSectionsMovable(false);
    list->header()->setSortIndicator(0, Qt::AscendingOrder);
    connect(list->header(), &QHeaderView::sortIndicatorChanged, this, &MainWindow::onSMSSortIndicatorChanged);
    list->setModel(smsModel);
    // Every row has the same height; a list of many thousand rows lays out at once.
    list->setUniformRowHeights(true);
    list->header()->resizeSection(0, std::max(160, dateColumnWidth(*list)));
    list->header()->resizeSection(1, 50);
    list->header()->resizeSection(2, 120);
}

void MainWindow::setUpStatusBar()
{
    advLabel = new QLabel(this);
    advLabel->setObjectName(QStringLiteral("lbAdv"));
    advLabel->setTextFormat(Qt::RichText);
    // The link opens only when it is a web address.
    advLabel->setOpenExternalLinks(false);
    connect(advLabel, &QLabel::linkActivated, this, [](const QString& link) { openWithShell(link); });
    ui->statusBar->setStyleSheet(QStringLiteral("QStatusBar::item{border: 0px}"));
    ui->statusBar->addWidget(advLabel, 0);
    // The promotion link of an earlier run, shown until a new one arrives;
    // the file is held to the same rules as a reply.
    QFile cached(appDataDir().absoluteFilePath(QStringLiteral("last-adv")));
    if (cached.open(QIODevice::ReadOnly))
        advLabel->setText(promotionLinkHtml(QString::fromUtf8(cached.read(VendorRequest::kMaxBodyBytes))));
}

MainWindow::Node* MainWindow::currentNode() const
{
    return mainModel->nodeFromIndex(ui->treeViewDS->currentIndex());
}

void MainWindow::updateCaption()
{
    Node* node = currentNode();
    const Node* source = ItemModelMain::sourceOf(node);
    if (asConversation(node))
        ui->lbChatName->setText(node->name);
    else if (source)
        ui->lbChatName->setText(tr("All conversations of %1").arg(source->name));
    else
        ui->lbChatName->setText(tr("Conversations"));
}

void MainWindow::selectAndExpand(Node* node)
{
    const QModelIndex index = mainModel->indexOfNode(node);
    if (!index.isValid())
        return;
    ui->treeViewDS->expand(index);
    const QPersistentModelIndex target(index);
    MyTreeView* tree = ui->treeViewDS;
    QMetaObject::invokeMethod(
        tree,
        [tree, target] {
            if (target.isValid())
                tree->setCurrentIndex(target);
        },
        Qt::QueuedConnection);
}

int MainWindow::phoneCount() const
{
    return mainModel->countChildrenOfType(mainModel->deviceRoot(), kNodeDevice);
}

void MainWindow::removeSourceNode(_AbsDBItemNode* node)
{
    if (!node)
        return;
    // With the current index inside the departing subtree the tree would
    // select a neighbour (and read it) while the rows are being removed.
    const Node* current = currentNode();
    if (current && (current == node || current->parent == node))
        ui->treeViewDS->setCurrentIndex(QModelIndex());
    if (viewsShow(node))
        clearMessageView();
    mainModel->removeNode(node);
}
