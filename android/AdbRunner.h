#pragma once

#include "android/AdbDevice.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

// Runs the Android Debug Bridge, started by its bare name "adb" so that the
// system's program search finds it. Every call starts a fresh process and
// keeps no state; failures are std::runtime_error with UTF-8 text.
//
// A call never waits for ever: adb that does not finish within
// kAdbFinishLimitMs is killed, and a caller that can stop (the device
// monitor at exit, a job on cancel) passes a check that ends the wait early.

// Asked every 100 ms while adb runs; true kills adb and throws AdbStopped.
using AdbStopCheck = std::function<bool()>;

// The longest an adb call may run (an install of a large package over a slow cable).
constexpr int kAdbFinishLimitMs = 180000;

// adb was killed because the caller stopped waiting (always thrown, whatever
// the error mode of the call).
class AdbStopped : public std::runtime_error
{
public:
    AdbStopped() : std::runtime_error("adb was stopped.") {}
};

// Runs adb with args and returns its output. Not started within 10 s: with
// throwOnError throws "run adb failed.", otherwise returns that text. Not
// finished within the limit: likewise with "adb did not finish within %1
// seconds.". Text on standard error: with throwOnError thrown (after the
// server's start-up notices are taken out), otherwise returned before the
// output, separated by a line feed. The exit code is never looked at.
QString runAdb(const QStringList& args, bool throwOnError, const AdbStopCheck& stop = {});

// "start-server"; the output is returned, errors included.
QString adbStartServer(const AdbStopCheck& stop = {});
// "kill-server"; the output is dropped. Afterwards no server counts as started here.
void adbKillServer();
// True once an adb call of this process started the adb server (adb says
// "daemon started successfully" when it does), until adbKillServer(). A
// server that was running before belongs to whoever started it: other
// Android tools may be using it.
bool adbServerStartedHere();
// "devices", parsed; throws.
QList<AdbDevice> adbDevices(const AdbStopCheck& stop = {});
// "-s serial shell pm -l", parsed; when that lists nothing (a modern pm answers
// "Unknown command: -l"), "-s serial shell pm list packages" once. Empty when
// neither lists a package.
QSet<QString> adbInstalledPackages(const QString& serial, const AdbStopCheck& stop = {});
// "-s serial install apkPath"; throws the whole output unless a line reads "Success".
void adbInstall(const QString& serial, const QString& apkPath, const AdbStopCheck& stop = {});
// "-s serial shell am command" with the optional -n, -a, -d, -c (each
// category) and -t pairs; throws the whole output when a line begins with "error:".
void adbAm(const QString& serial, const QString& command, const QString& component, const QString& action,
           const QString& data, const QStringList& categories, const QString& mimeType,
           const AdbStopCheck& stop = {});
// "-s serial forward tcp:localPort tcp:remotePort"; throws.
void adbForward(const QString& serial, int localPort, int remotePort, const AdbStopCheck& stop = {});
