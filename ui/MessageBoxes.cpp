#include "ui/MessageBoxes.h"

#include "base/AppInfo.h"
#include "ui/AppStyle.h"
#include "ui/ErrorReport.h"
#include "ui/SafeRichText.h"
#include "ui/ShellOpen.h"

#include <QLabel>
#include <QPushButton>
#include <QObject>
#include <QTextDocument>

namespace {
// What every box of the program is: titled with the product, styled, its
// text kept to the program's markup (or plain), its links opened only when
// they are web addresses, its text selectable (a path, an address to copy).
void prepareBox(QMessageBox& box, const QString& text)
{
    // What the box would take for rich text keeps only the program's own
    // markup; plain text stays plain (it loads nothing).
    const bool rich = Qt::mightBeRichText(text);
    box.setWindowTitle(QObject::tr("Textferry"));
    box.setTextFormat(rich ? Qt::RichText : Qt::PlainText);
    box.setText(rich ? safeRichText(text) : text);
    // A box may show text from outside (a phone's error, say): its links open
    // only when they are web addresses.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        label->setOpenExternalLinks(false);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
        QObject::connect(label, &QLabel::linkActivated, [](const QString& link) { openWithShell(link); });
    }
    box.setStyleSheet(appStyleSheet());
}
} // namespace

int messageBox(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, QString(), QString(), QMessageBox::NoButton, nullptr,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    prepareBox(box, text);
    for (QMessageBox::StandardButton button :
         {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok, QMessageBox::Cancel}) {
        if (buttons.testFlag(button))
            box.addButton(button);
    }
    return box.exec();
}

void showInfoBoxWithAction(const QString& text, const QString& actionText, const std::function<void()>& action)
{
    QMessageBox box(QMessageBox::Information, QString(), QString(), QMessageBox::NoButton, nullptr,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    prepareBox(box, text);
    QPushButton* extra = box.addButton(actionText, QMessageBox::ActionRole);
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    if (box.clickedButton() == extra)
        action();
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
