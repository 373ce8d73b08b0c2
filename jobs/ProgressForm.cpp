#include "jobs/ProgressForm.h"

#include "ui/AppStyle.h"
#include "ui/MessageBoxes.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>

ProgressForm::ProgressForm(const QString& title, QWidget* parent)
    : QDialog(parent), JobProgress(this)
{
    buildWidgets();
    QMetaObject::connectSlotsByName(this);
    setStyleSheet(appStyleSheet());
    connect(this, &QDialog::finished, this, &ProgressForm::onFinish);
    connect(btnCancel, &QPushButton::pressed, this, &ProgressForm::cancel);
    // The title bar names what runs: the title, later the job's status.
    setWindowTitle(title.isEmpty() ? QObject::tr("Textferry") : title);
    lbStatus->setText(title);
}

void ProgressForm::buildWidgets()
{
    setObjectName(QStringLiteral("ProgressForm"));
    resize(350, 122);
    setWindowTitle(QCoreApplication::translate("ProgressForm", "Dialog"));

    lbStatus = new QLabel(this);
    lbStatus->setObjectName(QStringLiteral("lbStatus"));
    lbStatus->setGeometry(20, 20, 311, 16);

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setGeometry(20, 40, 321, 23);
    progressBar->setValue(0);
    progressBar->setTextVisible(true);
    progressBar->setOrientation(Qt::Horizontal);
    progressBar->setTextDirection(QProgressBar::TopToBottom);

    lbProgress = new QLabel(this);
    lbProgress->setObjectName(QStringLiteral("lbProgress"));
    lbProgress->setGeometry(25, 70, 281, 20);
    lbProgress->setAlignment(Qt::AlignCenter);

    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(130, 90, 75, 23);
    btnCancel->setText(QCoreApplication::translate("ProgressForm", "Cancel"));
}

void ProgressForm::setCancelEnabled(bool enabled)
{
    btnCancel->setEnabled(enabled);
    // A job that cannot be stopped offers no close button either.
    setWindowFlag(Qt::CustomizeWindowHint, !enabled);
    setWindowFlag(Qt::WindowTitleHint, true);
    setWindowFlag(Qt::WindowCloseButtonHint, enabled);
}

void ProgressForm::accept() {}

// Escape and the window's close button: Cancel, when the job may be stopped.
void ProgressForm::reject()
{
    if (btnCancel->isEnabled())
        cancel();
}

void ProgressForm::updateProgress(const QString& status, int curProgress, const QString& progressText)
{
    if (!status.isEmpty()) {
        lbStatus->setText(status);
        setWindowTitle(status);
    }
    if (curProgress < 0)
        curProgress = progressBar->value();
    progressBar->setValue(curProgress);
    lbProgress->setText(progressText.isEmpty()
                            ? QCoreApplication::translate("ProgressForm", "Progress:%1%").arg(curProgress)
                            : progressText);
}

void ProgressForm::errorOccurred(const QString& err)
{
    showErrorBox(err);
    done(0);
}

void ProgressForm::succeed(const QString& tipsStr)
{
    if (!tipsStr.isEmpty()) {
        if (successBox)
            successBox(tipsStr);
        else
            showInfoBox(tipsStr);
    }
    done(1);
}

void ProgressForm::onFinish(int result)
{
    canceled = (result == 0);
}

void ProgressForm::tipsWait(const QString& info)
{
    showInfoBox(info);
    waitingTips = false;
}

void ProgressForm::cancel()
{
    emit userCacel();
    done(0);
}
