#include "android/AndroidConnectWithUSBThread.h"

#include "android/AdbRunner.h"
#include "android/CompanionApp.h"
#include "android/CompanionInfo.h"
#include "android/ProtocolWait.h"
#include "android/ShellRoute.h"
#include "base/AppDirs.h"
#include "jobcore/JobBody.h"
#include "jobcore/JobProgress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>

namespace {

// How long the phone gets to set up a freshly installed app.
constexpr int kAfterInstallMs = 5000;

QString translated(const char* text)
{
    return QCoreApplication::translate("AndroidConnectWithUSBThread", text);
}

// What the user can try when the app does not answer.
QString connectHint()
{
    QString hint = translated("Please try the following:<br/><br/>");
    hint += translated(
        "1 Go to Google Play on your phone to download and installed the latest version Quillbridge SMS "
        "Sync.<br/><br/>");
#ifdef Q_OS_WIN
    const QString manager = QDir(QCoreApplication::applicationDirPath())
                                .absoluteFilePath(QStringLiteral("QuillbridgeDeviceManager.exe"));
    hint += translated(
                "2 click <a href=\"file:///%1\"><b>HERE</b></a> to run Quillbridge Device Manager and then "
                "restart your phone to try again.<br/><br/>")
                .arg(QDir::fromNativeSeparators(manager));
#else
    hint += translated(
        "2 Restart your phone, plug it in again and allow USB debugging when the phone asks, to try "
        "again.<br/><br/>");
#endif
    return hint;
}

} // namespace

AndroidConnectWithUSBThread::AndroidConnectWithUSBThread(const QString& serial, JobProgress* form,
                                                         QObject* parent)
    : QThread(parent), form(form)
{
    record.serial = serial;
    record.isWifi = false;
}

void AndroidConnectWithUSBThread::run()
{
    form->postUpdateProgress(translated("IDS_CHECKING_APK_INSTALL"), -1, QString());
    if (!installCompanionIfMissing() || form->isCanceled())
        return;
    if (record.viaAdbShell) {
        form->postSucceed(QString()); // read over the shell: nothing to ask the app
        return;
    }
    form->postUpdateProgress(translated("IDS_GET_ANDROID_DEVICE_INFO"), 99, QString());
    const bool read = runJobBody(
        form, [this] { readCompanionInfo(record, [this] { return form->isCanceled(); }); }, {},
        [](const std::exception& e) -> QString { return connectHint() + QString::fromUtf8(e.what()); });
    if (read)
        postCompanionVersionVerdict(record, form);
}

// False when the job is over (cancelled, or the install failed and said so).
bool AndroidConnectWithUSBThread::installCompanionIfMissing()
{
    try {
        const QSet<QString> packages =
            adbInstalledPackages(record.serial, [this] { return form->isCanceled(); });
        // An empty list says nothing about the app: it is not installed blindly.
        if (packages.isEmpty() || packages.contains(QLatin1String(CompanionApp::kPackageName)))
            return true;
        if (form->isCanceled())
            return false;
        installCompanion();
        return true;
    } catch (int) {
        return false;
    } catch (const std::exception& e) {
        if (!form->isCanceled())
            return chooseShellRoute(QString::fromUtf8(e.what()));
        return false;
    }
}

// The app could not be installed (a real phone refuses a package that is not
// a real one): Android 10 and later are read over the shell instead, older
// phones get the install error. False when the job is over.
bool AndroidConnectWithUSBThread::chooseShellRoute(const QString& installError)
{
    const auto cancelled = [this] { return form->isCanceled(); };
    QHash<QString, QString> properties; // one getprop call per property
    const auto property = [&](const QString& name) {
        if (!properties.contains(name))
            properties.insert(name, ShellRoute::adbGetprop(record.serial, name, cancelled));
        return properties.value(name);
    };
    int sdk = 0;
    try {
        sdk = ShellRoute::sdkLevel(property(QStringLiteral("ro.build.version.sdk")));
        if (sdk >= ShellRoute::kMinimumSdk) {
            ShellRoute::fillShellRecord(record, property);
            qInfo("%s (Android %s, SDK %d) refused the companion app; reading it over the adb shell",
                  qUtf8Printable(record.serial), qUtf8Printable(record.sdk), record.sdkId);
            return true;
        }
    } catch (const std::exception& e) {
        if (form->isCanceled())
            return false;
        qWarning("%s: its properties could not be read: %s", qUtf8Printable(record.serial), e.what());
        if (sdk >= ShellRoute::kMinimumSdk) {
            postConnectError(QString::fromUtf8(e.what()));
            return false;
        }
    }
    form->postErrorOccurred(
        translated("Please go to Google Play on your Android Phone to download and install "
                   "Quillbridge SMS Sync first and then try again. <br/><br/>Error:") +
        installError + QStringLiteral("<br/><br/>") +
        translated("This phone needs Android 10 or later, or the companion app Quillbridge SMS "
                   "Sync."));
    return false;
}

void AndroidConnectWithUSBThread::installCompanion()
{
    const QString target = appDataDir().absoluteFilePath(QLatin1String(CompanionApp::kPackageFileName));
    if (QFile::exists(target))
        QFile::remove(target);
    if (!QFile::copy(QLatin1String(CompanionApp::kPackageResource), target)) {
        throw std::runtime_error(QStringLiteral("can not create %1.")
                                     .arg(QDir::toNativeSeparators(target))
                                     .toUtf8()
                                     .toStdString());
    }
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    const auto cancelled = [this] { return form->isCanceled(); };
    adbInstall(record.serial, target, cancelled);
    simpleprotocol::pause(kAfterInstallMs, cancelled);
}

void AndroidConnectWithUSBThread::postConnectError(const QString& text)
{
    if (!form->isCanceled())
        form->postErrorOccurred(connectHint() + text);
}
