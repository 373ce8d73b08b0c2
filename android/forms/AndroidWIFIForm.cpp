#include "android/forms/AndroidWIFIForm.h"

#include "android/AndroidConnectWithWiFiThread.h"
#include "ui/AppStyle.h"
#include "ui/MessageBoxes.h"
#include "jobs/JobRunner.h"
#include "jobs/ProgressForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

AndroidWIFIForm::AndroidWIFIForm(QWidget* parent) : QDialog(parent)
{
    buildForm();
    connect(btnClose, &QPushButton::pressed, this, &QDialog::reject);
    setStyleSheet(appStyleSheet() +
                  QStringLiteral(" #lbTipsDownloadWifiConnection { font-size:9px; color:#767B7C; margin:0 10px;}"));
    connect(btnConnect, &QPushButton::pressed, this, &AndroidWIFIForm::onBtnConnect);
}

// Laid out rather than placed, so the texts wrap to whatever room they need
// (the hint under the buttons is never cut off).
void AndroidWIFIForm::buildForm()
{
    setObjectName(QStringLiteral("AndroidWIFIForm"));
    setWindowTitle(tr("AndroidWIFIForm"));
    setMinimumWidth(404);

    label_2 = new QLabel(tr("Connect Android via WiFi"), this);
    label_2->setObjectName(QStringLiteral("label_2"));

    label = new QLabel(tr("Run Quillbridge SMS Sync on Android phone and click Connection button to get the Wifi "
                          "connection info. Now input the info to the following Text Box. "),
                       this);
    label->setObjectName(QStringLiteral("label"));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);

    txtWifiSocket = new QLineEdit(this);
    txtWifiSocket->setObjectName(QStringLiteral("txtWifiSocket"));
    label->setBuddy(txtWifiSocket);

    btnConnect = new QPushButton(tr("Connect"), this);
    btnConnect->setObjectName(QStringLiteral("btnConnect"));
    btnConnect->setDefault(true); // Enter in the address field connects
    btnClose = new QPushButton(tr("Cancel"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnConnect);
    buttons->addSpacing(40);
    buttons->addWidget(btnClose);
    buttons->addStretch();

    lbTipsDownloadWifiConnection =
        new QLabel(tr("If you haven't installed Quillbridge SMS Sync on Android phone, please go to the Market "
                      "(Google Play) on your Android to search Quillbridge SMS Sync to download and install. "),
                   this);
    lbTipsDownloadWifiConnection->setObjectName(QStringLiteral("lbTipsDownloadWifiConnection"));
    lbTipsDownloadWifiConnection->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lbTipsDownloadWifiConnection->setWordWrap(true);
    lbTipsDownloadWifiConnection->setOpenExternalLinks(true);

    auto* fields = new QVBoxLayout;
    fields->setContentsMargins(20, 0, 20, 0);
    fields->addWidget(label);
    fields->addWidget(txtWifiSocket);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->addWidget(label_2);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addSpacing(10);
    layout->addWidget(lbTipsDownloadWifiConnection);
}

void AndroidWIFIForm::onBtnConnect()
{
    static const QRegularExpression address(
        QStringLiteral("^(\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}\\.\\d{1,3})$"));
    const QRegularExpressionMatch match = address.match(txtWifiSocket->text().trimmed());
    if (!match.hasMatch()) {
        showWarningBox(tr("IDS_WIFI_SOCK_WRONG_FOR_EXAMPLE"));
        return;
    }
    ProgressForm form(tr("IDS_CONNECTING_ANDROID_DEVICE"), this);
    AndroidConnectWithWiFiThread job(match.captured(1), &form, this);
    if (!runJob(form, job))
        return; // the job said what went wrong; the address can be corrected
    device = job.device();
    accept();
}

// Compiled here so the meta-object code links with this class alone.
#include "moc_AndroidWIFIForm.cpp"
