#pragma once

#include <QObject>

class QWidget;

// Lets the user drag a frameless window with the left mouse button. Owned by
// the window it moves (or by whoever shows the box); consumes no event.
class WinMovable : public QObject
{
    Q_OBJECT
public:
    explicit WinMovable(QWidget* target);

    bool eventFilter(QObject* obj, QEvent* event) override;

private:
    QWidget* target;
    int pressX = 0;
    int pressY = 0;
    bool dragging = false;
};
