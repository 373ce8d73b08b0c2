#include "ui/ShellOpen.h"

#include <QDir>
#include <QUrl>

#ifdef Q_OS_WIN
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <QDesktopServices>
#endif

void openInExplorer(const QString& path)
{
#ifdef Q_OS_WIN
    QProcess explorer;
    explorer.setProgram(QStringLiteral("explorer"));
    explorer.setNativeArguments(QStringLiteral("\"") + QDir::toNativeSeparators(path) + QStringLiteral("\""));
    explorer.startDetached();
#else
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::cleanPath(path)));
#endif
}

bool isWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

#ifdef Q_OS_WIN
namespace {
// The maker's device manager beside the program: the one local program that
// the USB hints link to.
bool isOwnDeviceManager(const QUrl& url)
{
    const QString manager =
        QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("QuillbridgeDeviceManager.exe"));
    return url.isLocalFile() && QFileInfo(url.toLocalFile()) == QFileInfo(manager);
}
} // namespace
#endif

bool openWithShell(const QString& target)
{
    const QUrl url(target.trimmed());
#ifdef Q_OS_WIN
    if (isOwnDeviceManager(url)) {
        const QString program = QDir::toNativeSeparators(url.toLocalFile());
        ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(program.utf16()), nullptr, nullptr,
                      SW_SHOW);
        return true;
    }
#endif
    if (!isWebAddress(url)) {
        qWarning("Not opened, not a web address: %s", qUtf8Printable(target.left(200)));
        return false;
    }
#ifdef Q_OS_WIN
    const QString address = url.toString(QUrl::FullyEncoded);
    ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(address.utf16()), nullptr, nullptr,
                  SW_SHOW);
    return true;
#else
    return QDesktopServices::openUrl(url);
#endif
}
