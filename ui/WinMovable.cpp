#include "ui/WinMovable.h"

#include <QMouseEvent>
#include <QWidget>

WinMovable::WinMovable(QWidget* target) : QObject(nullptr), target(target)
{
    target->installEventFilter(this);
}

bool WinMovable::eventFilter(QObject* obj, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        pressX = pos.x();
        pressY = pos.y();
        dragging = mouse->button() == Qt::LeftButton;
        break;
    }
    case QEvent::MouseMove: {
        // A press at (0, 0) counts as no press at all.
        if ((pressX != 0 || pressY != 0) && dragging) {
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            const QRect geometry = target->geometry();
            target->move(geometry.x() + pos.x() - pressX, geometry.y() + pos.y() - pressY);
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        dragging = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(obj, event);
}
