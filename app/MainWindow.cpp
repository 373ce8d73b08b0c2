#include "app/MainWindow.h"

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainWindow"));
    resize(1000, 680);
    setWindowTitle(QObject::tr("Textferry"));
}

MainWindow::~MainWindow() = default;
