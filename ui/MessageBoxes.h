#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

// The application's modal boxes: titled, styled, their text selectable. A text that
// looks like rich text is shown as such, kept to the program's own markup
// (safeRichText); any other is shown as plain text. Links open only when they
// are web addresses (openWithShell).
int messageBox(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons);
// Critical box with the text wrapped in the support sentence; the plain text
// is then handed to the error report.
void showErrorBox(const QString& text);
void showInfoBox(const QString& text);
void showWarningBox(const QString& text);
// An information box with one more button beside OK; pressing it closes the
// box and runs the action ("Open Folder" after an export, say).
void showInfoBoxWithAction(const QString& text, const QString& actionText, const std::function<void()>& action);
// True only when the user pressed Yes.
bool askYesNo(const QString& text);
// The text the error box shows for an error text.
QString wrappedErrorText(const QString& text);
