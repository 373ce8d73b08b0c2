#include "ui/MessageBoxes.h"

#include "base/AppInfo.h"
#include "ui/AppStyle.h"
#include "ui/ErrorReport.h"
#include "ui/SafeRichText.h"
#include "ui/ShellOpen.h"

#include <QLabel>
#include <QObject>
#include <QTextDocument>

int messageBox(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons)
{
    // What the box would take for rich text keeps only the program's own
    // markup; plain text stays plain (it loads nothing).
    const bool rich = Qt::mightBeRichText(text);
    QMessageBox box(icon, QObject::tr("Textferry"), rich ? safeRichText(text) : text, QMessageBox::NoButton,
                    nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.setTextFormat(rich ? Qt::RichText : Qt::PlainText);
    // A box may show text from outside (a phone's error, say): its links open
    // only when they are web addresses.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        label->setOpenExternalLinks(false);
        QObject::connect(label, &QLabel::linkActivated, [](const QString& link) { openWithShell(link); });
    }
    box.setStyleSheet(appStyleSheet());
    for (QMessageBox::StandardButton button :
         {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok, QMessageBox::Cancel}) {
        if (buttons.testFlag(button))
            box.addButton(button);
    }
    return box.exec();
}

QString wrappedErrorText(const QString& text)
{
    return QStringLiteral("An Error Occurred. <br/><br/>%1<br/><br/> Or you can contact ").arg(text) +
           QString::fromLatin1(AppInfo::kSupportEmail) + QStringLiteral(" for help.");
}

void showErrorBox(const QString& text)
{
    messageBox(QMessageBox::Critical, wrappedErrorText(text), QMessageBox::Ok);
    sendErrorReport(text);
}

void showInfoBox(const QString& text)
{
    messageBox(QMessageBox::Information, text, QMessageBox::Ok);
}

void showWarningBox(const QString& text)
{
    messageBox(QMessageBox::Warning, text, QMessageBox::Ok);
}

bool askYesNo(const QString& text)
{
    return messageBox(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
