#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

// Answers the modal boxes and dialogs that the code under test opens, so a GUI
// test can call that code synchronously.
//
// Use: queue the answers first, then call the code, then check the driver.
//
//     ModalDriver driver;
//     driver.answer(QMessageBox::Yes);              // the first box: press Yes
//     driver.answerByName("btnOk");                 // the next dialog: press its btnOk
//     driver.answerWith([](QWidget* w) {            // or do anything with the widget
//         w->findChild<QComboBox*>("cbCountry")->setCurrentIndex(2);
//         w->findChild<QPushButton*>("btnOk")->click();
//     });
//     const bool yes = askYesNo("Sure?");           // runs its own modal loop
//     QVERIFY(driver.waitUntilDone());              // every answer found its box
//     QCOMPARE(driver.texts().first(), "Sure?");    // what the boxes said
//
// How it works: while answers are queued a 15 ms timer looks at
// QApplication::activeModalWidget(). The modal loop of the box (or the test's
// waitUntilDone()) keeps that timer running. An answer is taken by the first
// visible modal widget that
//   - is not the widget answered last (while that one still exists), so a box
//     is never answered twice while it is closing;
//   - stayed the active modal widget for two ticks in a row, so a dialog that
//     is about to close after a nested box is not mistaken for a new one;
//   - fits the answer: a QMessageBox holding that enabled standard button, a
//     widget holding an enabled push button with that text or a button with
//     that object name, or whatever the answer's filter accepts.
// A widget that does not fit (say a progress dialog under the expected box)
// is left alone. The widget's text is recorded (texts()) when the answer is
// taken; the button press or callback then runs from the event loop, so a
// box opened by that press (nested) is answered by the next queued answer.
// A dialog answered before may take a later answer again once another box
// was answered in between (e.g. OK, then a validation box, then Cancel).
// Do several steps on one widget in a single answerWith() callback.
//
// When an answer finds no fitting box within answerTimeout() (10 s by
// default) the driver gives up: it records the failure, drops the remaining
// answers and rejects every modal dialog that appears from then on, so a test
// never hangs in a modal loop; waitUntilDone() then returns false and
// failures() says what was missing. Answers still queued when the driver is
// destroyed are reported with qWarning.
class ModalDriver : public QObject
{
    Q_OBJECT
public:
    using Action = std::function<void(QWidget*)>;
    using Filter = std::function<bool(QWidget*)>;

    explicit ModalDriver(QObject* parent = nullptr);
    ~ModalDriver() override;

    // Presses the standard button of the next QMessageBox.
    void answer(QMessageBox::StandardButton button);
    // Presses the push button with this text ("&" markers ignored) of the next modal widget.
    void answerByText(const QString& buttonText);
    // Presses the button with this object name of the next modal widget.
    void answerByName(const QString& buttonName);
    // Runs the action on the next modal widget that `accepts` (any, when empty).
    // The action must close the widget itself if it is meant to close.
    void answerWith(Action action, Filter accepts = {}, const QString& description = QString());

    // For steps that must open no message box: from now on every modal
    // QMessageBox that appears is rejected and its text recorded in texts().
    // Other dialogs (a progress dialog) are left alone.
    void rejectEveryBox();
    // For steps whose boxes need only closing, however many there are: from
    // now on every modal QMessageBox that appears has its text recorded in
    // texts(), then beforeClosing (if any) runs on it while it is still open
    // (to note the state of what lies under it), then it closes with result,
    // as if that button had been pressed. Other dialogs are left alone.
    //
    //     driver.closeEveryBox(QMessageBox::Ok, [&](QWidget*) { shownOver << form.isVisible(); });
    void closeEveryBox(QMessageBox::StandardButton result = QMessageBox::Ok, Action beforeClosing = {});

    // Processes events until every answer was used and its action ran. False
    // when that did not happen within timeoutMs or any answer failed.
    bool waitUntilDone(int timeoutMs = 10000);
    // True while answers are queued or actions are still to run.
    bool hasPending() const;

    // The recorded text of every widget answered, in order.
    QStringList texts() const { return seenTexts; }
    // Descriptions of answers that found no box (or whose box vanished).
    QStringList failures() const { return failed; }
    // Descriptions of the answers still queued.
    QStringList pendingAnswers() const;

    int answerTimeout() const { return answerTimeoutMs; }
    void setAnswerTimeout(int ms) { answerTimeoutMs = ms; }

    // QMessageBox::text(); for other widgets the window title followed by the
    // texts of the labels in that window, one per line.
    static QString widgetText(QWidget* widget);

private:
    struct Answer
    {
        QString description;
        Filter accepts;
        Action action;
    };

    void enqueue(Answer answer);
    void tick();
    QWidget* modalCandidate();
    void take(QWidget* widget);
    void giveUp(const QString& reason);

    QTimer timer;
    QList<Answer> queue;
    QPointer<QWidget> lastAnswered;
    QPointer<QWidget> candidate;
    QElapsedTimer frontWaiting;
    int answerTimeoutMs = 10000;
    int actionsPosted = 0;
    int actionsRun = 0;
    bool gaveUp = false;
    // Set by rejectEveryBox() and closeEveryBox(): what happens to every box.
    std::function<void(QMessageBox*)> everyBox;
    QStringList seenTexts;
    QStringList failed;
};
