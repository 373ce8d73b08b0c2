#include "app/ui/ShellOpen.h"

#include <QDir>

#ifdef Q_OS_WIN
#include <QProcess>
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <QDesktopServices>
#include <QUrl>
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

void openWithShell(const QString& target)
{
#ifdef Q_OS_WIN
    ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(target.utf16()), nullptr, nullptr,
                  SW_SHOW);
#else
    // A scheme of one letter is a Windows drive, so such a target is a path too.
    const QUrl url(target);
    if (url.scheme().size() > 1)
        QDesktopServices::openUrl(url);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(target));
#endif
}
