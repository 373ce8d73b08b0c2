#include "android/DeviceManagerWin.h"

#include <QCoreApplication>
#include <QDir>

#include <windows.h>

#include <shellapi.h>

void runDeviceManager(int waitMs)
{
    const QString path =
        QDir::toNativeSeparators(QDir(QCoreApplication::applicationDirPath())
                                     .absoluteFilePath(QStringLiteral("QuillbridgeDeviceManager.exe")));
    const std::wstring file = path.toStdWString();
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = GetActiveWindow();
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info) || !info.hProcess)
        return;
    WaitForSingleObject(info.hProcess, DWORD(waitMs));
    CloseHandle(info.hProcess);
}
