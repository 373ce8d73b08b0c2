#include "app/MainWindowForm.h"

#include "app/messages/SmsBrowser.h"
#include "app/views/MyTreeView.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const char kSearchIcon[] = ":/res/search.png";

QWidget* namedWidget(QWidget* parent, const char* name)
{
    auto* widget = new QWidget(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QVBoxLayout* verticalLayoutOf(QWidget* widget, const char* name, int spacing, int margins)
{
    auto* layout = new QVBoxLayout(widget);
    layout->setObjectName(QLatin1String(name));
    layout->setSpacing(spacing);
    layout->setContentsMargins(margins, margins, margins, margins);
    return layout;
}

// A keyword box with its search button beside it.
void setupSearchRow(QWidget* row, const char* layoutName, QLineEdit*& edit, const char* editName,
                    QToolButton*& button, const char* buttonName)
{
    auto* layout = new QHBoxLayout(row);
    layout->setObjectName(QLatin1String(layoutName));
    layout->setSpacing(2);
    layout->setContentsMargins(0, 0, 0, 4);
    edit = new QLineEdit(row);
    edit->setObjectName(QLatin1String(editName));
    layout->addWidget(edit);
    button = new QToolButton(row);
    button->setObjectName(QLatin1String(buttonName));
    button->setText(QStringLiteral("..."));
    button->setIcon(QIcon(QLatin1String(kSearchIcon)));
    layout->addWidget(button);
}
} // namespace

void MainWindowForm::setupUi(QMainWindow* window)
{
    window->setObjectName(QStringLiteral("MainWindow"));
    window->resize(1000, 680);

    centralWidget = namedWidget(window, "centralWidget");
    verticalLayout_4 = verticalLayoutOf(centralWidget, "verticalLayout_4", 0, 11);
    splitter = new QSplitter(Qt::Horizontal, centralWidget);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setHandleWidth(1);
    splitter->setChildrenCollapsible(false);
    verticalLayout_4->addWidget(splitter);

    setupLeftPane();
    setupRightPane();
    window->setCentralWidget(centralWidget);
    setupBars(window);
}

void MainWindowForm::setupLeftPane()
{
    widget_5 = namedWidget(splitter, "widget_5");
    verticalLayout_3 = verticalLayoutOf(widget_5, "verticalLayout_3", 0, 0);
    widget_4 = namedWidget(widget_5, "widget_4");
    setupSearchRow(widget_4, "horizontalLayout_2", txtHandleKeyword, "txtHandleKeyword", btnSearchHandle,
                   "btnSearchHandle");
    verticalLayout_3->addWidget(widget_4);

    treeViewDS = new MyTreeView(widget_5);
    treeViewDS->setObjectName(QStringLiteral("treeViewDS"));
    treeViewDS->setHeaderHidden(true);
    // A long database name keeps its beginning and its end; the tooltip has it whole.
    treeViewDS->setTextElideMode(Qt::ElideMiddle);
    treeViewDS->setFrameShadow(QFrame::Sunken);
    treeViewDS->setLineWidth(1);
    verticalLayout_3->addWidget(treeViewDS);
    splitter->addWidget(widget_5);
}

void MainWindowForm::setupRightPane()
{
    widget = namedWidget(splitter, "widget");
    verticalLayout_5 = verticalLayoutOf(widget, "verticalLayout_5", 0, 0);
    splitter_2 = new QSplitter(Qt::Vertical, widget);
    splitter_2->setObjectName(QStringLiteral("splitter_2"));
    splitter_2->setHandleWidth(1);
    splitter_2->setChildrenCollapsible(false);
    verticalLayout_5->addWidget(splitter_2);

    widget_2 = namedWidget(splitter_2, "widget_2");
    verticalLayout = verticalLayoutOf(widget_2, "verticalLayout", 0, 0);
    widget_3 = namedWidget(widget_2, "widget_3");
    setupSearchRow(widget_3, "horizontalLayout", txtSMSKeyword, "txtSMSKeyword", btnSearchSMS,
                   "btnSearchSMS");
    verticalLayout->addWidget(widget_3);
    treeViewSMS = new MyTreeView(widget_2);
    treeViewSMS->setObjectName(QStringLiteral("treeViewSMS"));
    treeViewSMS->setSelectionMode(QAbstractItemView::ExtendedSelection);
    treeViewSMS->setIndentation(5);
    treeViewSMS->setItemsExpandable(false);
    treeViewSMS->setDropIndicatorShown(false);
    verticalLayout->addWidget(treeViewSMS);
    splitter_2->addWidget(widget_2);

    widget_6 = namedWidget(splitter_2, "widget_6");
    verticalLayout_2 = verticalLayoutOf(widget_6, "verticalLayout_2", 0, 0);
    lbChatName = new QLabel(widget_6);
    lbChatName->setObjectName(QStringLiteral("lbChatName"));
    lbChatName->setTextFormat(Qt::PlainText); // names from outside
    lbChatName->setText(QCoreApplication::translate("MainWindow", "Conversations"));
    lbChatName->setMinimumHeight(25);
    verticalLayout_2->addWidget(lbChatName);
    txtSMS = new SmsBrowser(widget_6);
    txtSMS->setObjectName(QStringLiteral("txtSMS"));
    txtSMS->setFrameShadow(QFrame::Plain);
    txtSMS->setLineWidth(0);
    txtSMS->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    verticalLayout_2->addWidget(txtSMS);
    lbSMSCount = new QLabel(widget_6);
    lbSMSCount->setObjectName(QStringLiteral("lbSMSCount"));
    lbSMSCount->setText(QCoreApplication::translate("MainWindow", "Messages: 0"));
    lbSMSCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    verticalLayout_2->addWidget(lbSMSCount);
    splitter_2->addWidget(widget_6);

    splitter->addWidget(widget);
}

void MainWindowForm::setupBars(QMainWindow* window)
{
    menuBar = new QMenuBar(window);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    menuBar->setGeometry(0, 0, 999, 20);
    window->setMenuBar(menuBar);

    mainToolBar = new QToolBar(window);
    mainToolBar->setObjectName(QStringLiteral("mainToolBar"));
    mainToolBar->setMovable(false);
    mainToolBar->setFloatable(false);
    mainToolBar->setIconSize(QSize(60, 60));
    window->addToolBar(Qt::TopToolBarArea, mainToolBar);

    statusBar = new QStatusBar(window);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    window->setStatusBar(statusBar);
}
