#pragma once

class MyTreeView;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenuBar;
class QSplitter;
class QStatusBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class QWidget;
class SmsBrowser;

// The main window's widgets, built in code: the source tree with its search
// box on the left, the message list with its search box, the conversation
// caption, the paged browser and the message counter on the right, and the
// menu bar, tool bar and status bar. Every widget carries its object name
// (the style sheet addresses several of them); all are owned by the window.
class MainWindowForm
{
public:
    void setupUi(QMainWindow* window);

    QWidget* centralWidget = nullptr;
    QVBoxLayout* verticalLayout_4 = nullptr;
    QSplitter* splitter = nullptr;

    QWidget* widget_5 = nullptr;
    QVBoxLayout* verticalLayout_3 = nullptr;
    QWidget* widget_4 = nullptr;
    QHBoxLayout* horizontalLayout_2 = nullptr;
    QLineEdit* txtHandleKeyword = nullptr;
    QToolButton* btnSearchHandle = nullptr;
    MyTreeView* treeViewDS = nullptr;

    QWidget* widget = nullptr;
    QVBoxLayout* verticalLayout_5 = nullptr;
    QSplitter* splitter_2 = nullptr;
    QWidget* widget_2 = nullptr;
    QVBoxLayout* verticalLayout = nullptr;
    QWidget* widget_3 = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QLineEdit* txtSMSKeyword = nullptr;
    QToolButton* btnSearchSMS = nullptr;
    MyTreeView* treeViewSMS = nullptr;
    QWidget* widget_6 = nullptr;
    QVBoxLayout* verticalLayout_2 = nullptr;
    QLabel* lbChatName = nullptr;
    SmsBrowser* txtSMS = nullptr;
    QLabel* lbSMSCount = nullptr;

    QMenuBar* menuBar = nullptr;
    QToolBar* mainToolBar = nullptr;
    QStatusBar* statusBar = nullptr;

private:
    void setupLeftPane();
    void setupRightPane();
    void setupBars(QMainWindow* window);
};
