#include "app/ui/WinMovable.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

// A frameless window that counts the mouse events reaching it.
class MouseCounter : public QWidget
{
public:
    int presses = 0;
    int moves = 0;
    int releases = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void mouseMoveEvent(QMouseEvent*) override { ++moves; }
    void mouseReleaseEvent(QMouseEvent*) override { ++releases; }
};

void sendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void press(QWidget* target, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(target, QEvent::MouseButtonPress, pos, button, button);
}

void moveTo(QWidget* target, QPoint pos, Qt::MouseButtons held = Qt::LeftButton)
{
    sendMouse(target, QEvent::MouseMove, pos, Qt::NoButton, held);
}

void release(QWidget* target, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(target, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

} // namespace

class TestWinMovable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void leftDragFollowsMouse();
    void releaseEndsDrag();
    void rightButtonDoesNotMove();
    void pressAtOriginDoesNotDrag();
    void pressOnEdgeStillDrags();
    void moveWithoutPressDoesNothing();
    void eventsAreNotConsumed();

private:
    std::unique_ptr<MouseCounter> window;
    std::unique_ptr<WinMovable> movable;
    const QPoint start{100, 80};
};

void TestWinMovable::init()
{
    window = std::make_unique<MouseCounter>();
    window->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    window->resize(200, 120);
    window->move(start);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->pos(), start);
    movable = std::make_unique<WinMovable>(window.get());
}

void TestWinMovable::cleanup()
{
    movable.reset();
    window.reset();
}

void TestWinMovable::leftDragFollowsMouse()
{
    press(window.get(), {10, 10});
    moveTo(window.get(), {40, 30});
    QCOMPARE(window->pos(), start + QPoint(30, 20));
    // The next position is again relative to the moved window.
    moveTo(window.get(), {5, 12});
    QCOMPARE(window->pos(), start + QPoint(25, 22));
}

void TestWinMovable::releaseEndsDrag()
{
    press(window.get(), {10, 10});
    moveTo(window.get(), {20, 20});
    release(window.get(), {20, 20});
    const QPoint dropped = window->pos();
    QCOMPARE(dropped, start + QPoint(10, 10));
    moveTo(window.get(), {60, 60}, Qt::NoButton);
    QCOMPARE(window->pos(), dropped);
}

void TestWinMovable::rightButtonDoesNotMove()
{
    press(window.get(), {10, 10}, Qt::RightButton);
    moveTo(window.get(), {40, 30}, Qt::RightButton);
    QCOMPARE(window->pos(), start);
    // A right press also ends a left drag.
    press(window.get(), {10, 10});
    press(window.get(), {10, 10}, Qt::RightButton);
    moveTo(window.get(), {40, 30}, Qt::LeftButton | Qt::RightButton);
    QCOMPARE(window->pos(), start);
}

void TestWinMovable::pressAtOriginDoesNotDrag()
{
    press(window.get(), {0, 0});
    moveTo(window.get(), {40, 30});
    QCOMPARE(window->pos(), start);
}

void TestWinMovable::pressOnEdgeStillDrags()
{
    press(window.get(), {0, 5});
    moveTo(window.get(), {10, 5});
    QCOMPARE(window->pos(), start + QPoint(10, 0));
}

void TestWinMovable::moveWithoutPressDoesNothing()
{
    moveTo(window.get(), {40, 30});
    QCOMPARE(window->pos(), start);
}

void TestWinMovable::eventsAreNotConsumed()
{
    press(window.get(), {10, 10});
    moveTo(window.get(), {20, 20});
    release(window.get(), {20, 20});
    QCOMPARE(window->presses, 1);
    QCOMPARE(window->moves, 1);
    QCOMPARE(window->releases, 1);
}

QTEST_MAIN(TestWinMovable)
#include "test_winmovable.moc"
