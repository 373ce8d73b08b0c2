// Phones: the device monitor, connecting a phone found on USB, loading its
// messages into its cache and showing it, and phones that leave.
#include "app/MainWindow.h"

#include "android/AndroidConnectWithUSBThread.h"
#include "android/AndroidLoadSMSThread.h"
#include "android/AndroidMonitor.h"
#include "android/AndroidShellLoadSMSThread.h"
#include "android/forms/AndroidWIFIForm.h"
#include "app/MainWindowForm.h"
#include "app/tree/ItemModelMain.h"
#include "base/AppInfo.h"
#include "country/CountryLibDb.h"
#include "country/forms/CountrySelForm.h"
#include "jobs/JobRunner.h"
#include "jobs/ProgressForm.h"
#include "store/IOS6MessageDb.h"
#include "ui/MessageBoxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QMetaType>
#include <QStatusBar>
#include <QTimer>

#include <exception>
#include <memory>

namespace {
// How long after start the window waits for a phone before it explains how to connect one.
constexpr int kUsbHintDelayMs = 10000;
// How long the status bar says that a phone was read without the companion app.
constexpr int kShellNoteMs = 15000;
// How long it says that a phone was unplugged.
constexpr int kDisconnectNoteMs = 60000;

// The steps after USB debugging, in the system's own words: on Windows the
// phone's driver and the maker's device manager; elsewhere the udev rules
// that let a user reach the phone, and the phone's own question.
QString usbHintSystemSteps()
{
#ifdef Q_OS_WIN
    const QString manager = QDir(QCoreApplication::applicationDirPath())
                                .absoluteFilePath(QStringLiteral("QuillbridgeDeviceManager.exe"));
    return MainWindow::tr("* Install USB driver software on your computer. <a href=\"%1\">How to</a>?<br/><br/>")
               .arg(QLatin1String(AppInfo::kUsbDriverPage)) +
           MainWindow::tr("* Click <a href=\"file:///%1\">HERE</a> to run Quillbridge Device Manager to try "
                          "again.<br/><br/>")
               .arg(QDir::fromNativeSeparators(manager));
#else
    return MainWindow::tr("* Install the udev rules that let you reach Android phones over USB (Debian package "
                          "<b>android-sdk-platform-tools-common</b>), then unplug the phone and plug it in "
                          "again.<br/><br/>") +
           MainWindow::tr("* When the phone asks \"Allow USB debugging?\", tick \"Always allow from this "
                          "computer\" and press OK.<br/><br/>");
#endif
}
} // namespace

void MainWindow::startDeviceMonitor()
{
    // The monitor's signals carry listing entries across threads.
    qRegisterMetaType<AdbDevice>("AdbDevice");
    monitor = new AndroidMonitor(this);
    connect(monitor, &AndroidMonitor::deviceConnected, this, &MainWindow::androidDeviceConnected);
    connect(monitor, &AndroidMonitor::deviceDisconnected, this, &MainWindow::androidDeviceDisconnected);
    monitor->startMonitoring();
    QTimer::singleShot(kUsbHintDelayMs, this, &MainWindow::androidUsbTips);
}

// A phone the monitor found: a hint when it has not allowed debugging yet,
// then the connect job and, after it, the load.
void MainWindow::androidDeviceConnected(const AdbDevice& device)
{
    if (!device.isOnline()) {
        showWarningBox(
            tr("If you are presented with the pop up to allow debugging with the computer on your "
               "Android device screen. Please simply check \"Always allow from this computer\" and "
               "then click \"OK\" to finish.<br/>(%1)")
                .arg(device.line.toHtmlEscaped()));
    }
    AndroidDevice connected;
    {
        ProgressForm form(QString(), this);
        AndroidConnectWithUSBThread job(device.serial, &form, this);
        if (!runJob(form, job))
            return;
        connected = job.device();
    }
    androidDeviceLoad(connected);
}

// A phone that left the monitor's listing leaves the tree; the status bar
// says so, since the tree alone shows it only by what is missing.
void MainWindow::androidDeviceDisconnected(const QString& id)
{
    if (id.isEmpty())
        return;
    _AndroidDeviceItemNode* phone = mainModel->deviceNodeById(id);
    if (!phone)
        return;
    const QString name = phone->device.displayName();
    removeSourceNode(phone);
    ui->statusBar->showMessage(tr("Phone %1 disconnected; its messages stay in the cache").arg(name),
                               kDisconnectNoteMs);
}

// A phone's country code as the country library knows it; the user picks
// the country when the phone reported none or one the library does not know.
// A dialog left without a choice keeps the code the phone reported.
QString MainWindow::phoneCountryCode(const AndroidDevice& device)
{
    if (!device.mmc.isEmpty()) {
        bool known = false;
        try {
            CountryLibDb(QString()).findByMcc(device.mmc, &known);
        } catch (const std::exception& e) {
            showErrorBox(QString::fromUtf8(e.what()));
            return device.mmc;
        }
        if (known)
            return device.mmc;
    }
    showInfoBox(tr("IDS_ANDROID_%1_CANT_READ_MMC_NUMBER"));
    CountrySelForm form(this);
    return form.exec() == QDialog::Accepted ? form.selectedMcc() : device.mmc;
}

// Loads the phone's messages into its cache under a progress dialog, then
// shows the phone with its conversations.
void MainWindow::androidDeviceLoad(const AndroidDevice& device)
{
    AndroidDevice record = device;
    record.mmc = phoneCountryCode(device);
    {
        ProgressForm form(QString(), this);
        // A phone without the companion app is read over the adb shell.
        std::unique_ptr<QThread> job;
        if (record.viaAdbShell)
            job = std::make_unique<AndroidShellLoadSMSThread>(&record, &form, this);
        else
            job = std::make_unique<AndroidLoadSMSThread>(&record, &form, this);
        if (!runJob(form, *job))
            return;
    }
    showLoadedPhone(record);
    if (record.viaAdbShell) {
        ui->statusBar->showMessage(
            tr("%1: Read over USB without the companion app").arg(record.displayName()), kShellNoteMs);
    }
}

void MainWindow::showLoadedPhone(const AndroidDevice& device)
{
    removeSourceNode(mainModel->deviceNodeByUid(device.uid));
    try {
        auto db = QSharedPointer<IOS6MessageDb>::create(QDir(device.cacheDir()), device.mmc);
        _AndroidDeviceItemNode* node = mainModel->addDevice(db, device);
        readSource(node);
        selectAndExpand(node);
    } catch (const std::exception& e) {
        showErrorBox(QString::fromUtf8(e.what()));
    }
}

// Ten seconds after start, with no phone found, how to get one recognised.
void MainWindow::androidUsbTips()
{
    if (!monitor || monitor->hasSeenDevice())
        return;
    QString text = tr("<b>Android device not found.</b><br/><br/>");
    text += tr("Want to connect Android device? If yes, please follow these steps:<br/><br/>");
    text += tr("* Enable USB debugging on your Android device. <a href=\"%1\">How to</a>?<br/><br/>")
                .arg(QLatin1String(AppInfo::kUsbDebuggingPage));
    text += usbHintSystemSteps();
    showInfoBox(text);
}

// "Disconnect Device": the phone leaves the tree; nothing is sent to it. The
// node itself is removed (virtual phones share an empty serial, so a look-up
// by identifier could hit another one).
void MainWindow::miUnmoutDevice()
{
    removeSourceNode(asPhone(currentNode()));
}

// "Connect Android Phone via WiFi": the WiFi dialog, then the load, as for a
// phone on USB.
void MainWindow::miConnectWifi()
{
    AndroidDevice device;
    {
        AndroidWIFIForm form(this);
        if (form.exec() != QDialog::Accepted)
            return;
        device = form.device;
    }
    removeSourceNode(mainModel->deviceNodeByUid(device.uid));
    androidDeviceLoad(device);
}
