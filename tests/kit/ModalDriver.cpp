#include "tests/kit/ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDebug>
#include <QDialog>
#include <QLabel>
#include <QMetaEnum>
#include <QPushButton>
#include <QTest>

namespace {

QString standardButtonName(QMessageBox::StandardButton button)
{
    const QMetaObject& meta = QMessageBox::staticMetaObject;
    const QMetaEnum buttons = meta.enumerator(meta.indexOfEnumerator("StandardButtons"));
    const char* key = buttons.valueToKey(button);
    return key ? QString::fromLatin1(key) : QString::number(button);
}

QPushButton* pushButtonWithText(QWidget* widget, const QString& text)
{
    const QList<QPushButton*> buttons = widget->findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        if (button->window() == widget && button->isVisibleTo(widget) && button->isEnabled() &&
            button->text().remove(QLatin1Char('&')) == text)
            return button;
    }
    return nullptr;
}

QAbstractButton* buttonWithName(QWidget* widget, const QString& name)
{
    QAbstractButton* button = widget->findChild<QAbstractButton*>(name);
    if (button && button->window() == widget && button->isEnabled())
        return button;
    return nullptr;
}

QAbstractButton* standardButton(QWidget* widget, QMessageBox::StandardButton which)
{
    auto* box = qobject_cast<QMessageBox*>(widget);
    QAbstractButton* button = box ? box->button(which) : nullptr;
    return button && button->isEnabled() ? button : nullptr;
}

} // namespace

ModalDriver::ModalDriver(QObject* parent) : QObject(parent)
{
    timer.setInterval(15);
    connect(&timer, &QTimer::timeout, this, &ModalDriver::tick);
}

ModalDriver::~ModalDriver()
{
    if (!queue.isEmpty())
        qWarning().noquote() << "ModalDriver: answers never used:"
                             << pendingAnswers().join(QStringLiteral("; "));
}

void ModalDriver::answer(QMessageBox::StandardButton button)
{
    enqueue({QStringLiteral("press standard button %1").arg(standardButtonName(button)),
             [button](QWidget* w) { return standardButton(w, button) != nullptr; },
             [button](QWidget* w) {
                 if (QAbstractButton* b = standardButton(w, button))
                     b->click();
             }});
}

void ModalDriver::answerByText(const QString& buttonText)
{
    enqueue({QStringLiteral("press the button \"%1\"").arg(buttonText),
             [buttonText](QWidget* w) { return pushButtonWithText(w, buttonText) != nullptr; },
             [buttonText](QWidget* w) {
                 if (QPushButton* b = pushButtonWithText(w, buttonText))
                     b->click();
             }});
}

void ModalDriver::answerByName(const QString& buttonName)
{
    enqueue({QStringLiteral("press the button named %1").arg(buttonName),
             [buttonName](QWidget* w) { return buttonWithName(w, buttonName) != nullptr; },
             [buttonName](QWidget* w) {
                 if (QAbstractButton* b = buttonWithName(w, buttonName))
                     b->click();
             }});
}

void ModalDriver::answerWith(Action action, Filter accepts, const QString& description)
{
    if (!accepts)
        accepts = [](QWidget*) { return true; };
    enqueue({description.isEmpty() ? QStringLiteral("custom answer") : description, std::move(accepts),
             std::move(action)});
}

void ModalDriver::enqueue(Answer answer)
{
    if (gaveUp) {
        failed << QStringLiteral("%1: ignored, the driver had given up").arg(answer.description);
        return;
    }
    if (queue.isEmpty())
        frontWaiting.restart();
    queue.append(std::move(answer));
    if (!timer.isActive())
        timer.start();
}

bool ModalDriver::hasPending() const
{
    return !queue.isEmpty() || actionsRun < actionsPosted;
}

bool ModalDriver::waitUntilDone(int timeoutMs)
{
    const bool done = QTest::qWaitFor([this] { return !hasPending(); }, timeoutMs);
    if (!done && !queue.isEmpty())
        giveUp(QStringLiteral("%1: no box within the %2 ms of waitUntilDone()")
                   .arg(queue.first().description)
                   .arg(timeoutMs));
    return done && failed.isEmpty();
}

QStringList ModalDriver::pendingAnswers() const
{
    QStringList descriptions;
    for (const Answer& answer : queue)
        descriptions << answer.description;
    return descriptions;
}

QString ModalDriver::widgetText(QWidget* widget)
{
    if (auto* box = qobject_cast<QMessageBox*>(widget))
        return box->text();
    QStringList parts{widget->windowTitle()};
    const QList<QLabel*> labels = widget->findChildren<QLabel*>();
    for (QLabel* label : labels) {
        if (label->window() == widget && !label->text().isEmpty())
            parts << label->text();
    }
    return parts.join(QLatin1Char('\n'));
}

void ModalDriver::rejectEveryBox()
{
    everyBox = [](QMessageBox* box) { box->reject(); };
    timer.start();
}

void ModalDriver::closeEveryBox(QMessageBox::StandardButton result, Action beforeClosing)
{
    everyBox = [result, beforeClosing = std::move(beforeClosing)](QMessageBox* box) {
        if (beforeClosing)
            beforeClosing(box);
        box->done(result);
    };
    timer.start();
}

void ModalDriver::tick()
{
    if (everyBox) {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seenTexts << widgetText(box);
            everyBox(box);
        }
        return;
    }
    if (gaveUp) {
        // Keeps a failed test from hanging in a modal loop nobody answers.
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
        return;
    }
    if (queue.isEmpty()) {
        timer.stop();
        return;
    }
    if (frontWaiting.elapsed() > answerTimeoutMs) {
        QWidget* active = QApplication::activeModalWidget();
        const QString shown =
            active ? QStringLiteral("the active modal widget says \"%1\"").arg(widgetText(active))
                   : QStringLiteral("no modal widget is shown");
        giveUp(QStringLiteral("%1: no fitting box within %2 ms (%3)")
                   .arg(queue.first().description)
                   .arg(answerTimeoutMs)
                   .arg(shown));
        return;
    }
    QWidget* widget = modalCandidate();
    if (widget && queue.first().accepts(widget))
        take(widget);
}

QWidget* ModalDriver::modalCandidate()
{
    QWidget* active = QApplication::activeModalWidget();
    if (!active || !active->isVisible() || active == lastAnswered) {
        candidate = nullptr;
        return nullptr;
    }
    if (active != candidate) {
        candidate = active;
        return nullptr;
    }
    return active;
}

void ModalDriver::take(QWidget* widget)
{
    Answer answer = queue.takeFirst();
    seenTexts << widgetText(widget);
    lastAnswered = widget;
    candidate = nullptr;
    frontWaiting.restart();
    ++actionsPosted;
    // Run from the event loop, not from inside the timer's tick: a box the
    // action opens runs its own loop, in which the timer must fire again.
    QPointer<QWidget> guard(widget);
    QMetaObject::invokeMethod(
        this,
        [this, guard, answer] {
            ++actionsRun;
            if (guard)
                answer.action(guard.data());
            else
                failed << QStringLiteral("%1: the box closed before it was answered").arg(answer.description);
        },
        Qt::QueuedConnection);
}

void ModalDriver::giveUp(const QString& reason)
{
    // The reason names the answer in front; the rest were never reached.
    failed << reason;
    if (!queue.isEmpty())
        queue.removeFirst();
    for (const Answer& answer : queue)
        failed << QStringLiteral("%1: never used").arg(answer.description);
    queue.clear();
    gaveUp = true;
    if (!timer.isActive())
        timer.start();
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        dialog->reject();
}
