#include "android/AdbRunner.h"

#include "android/AdbOutput.h"

#include <QElapsedTimer>
#include <QProcess>

#include <atomic>

namespace {

constexpr int kStartLimitMs = 10000;
constexpr int kWaitSliceMs = 100;
constexpr int kKillServerLimitMs = 5000;

// Every adb command starts the server when none runs, and says so on standard error.
std::atomic<bool> serverStartedHere{false};

void noteServerStart(const QString& error)
{
    if (error.contains(QLatin1String("daemon started successfully"), Qt::CaseInsensitive))
        serverStartedHere = true;
}

QString failure(const QString& text, bool throwOnError)
{
    if (throwOnError)
        throw std::runtime_error(text.toUtf8().toStdString());
    return text;
}

void killAndReap(QProcess& process)
{
    process.kill();
    process.waitForFinished(kStartLimitMs);
}

// Waits for adb to end in short slices. False when it ran out of time.
bool waitForEnd(QProcess& process, const AdbStopCheck& stop)
{
    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning) {
        if (process.waitForFinished(kWaitSliceMs))
            break;
        if (stop && stop()) {
            killAndReap(process);
            throw AdbStopped();
        }
        if (clock.elapsed() > kAdbFinishLimitMs) {
            killAndReap(process);
            return false;
        }
    }
    return true;
}

} // namespace

QString runAdb(const QStringList& args, bool throwOnError, const AdbStopCheck& stop)
{
    QProcess process;
    process.start(QStringLiteral("adb"), args, QIODevice::ReadWrite);
    if (!process.waitForStarted(kStartLimitMs)) {
        killAndReap(process);
        return failure(QStringLiteral("run adb failed."), throwOnError);
    }
    process.closeWriteChannel();
    if (!waitForEnd(process, stop)) {
        return failure(QStringLiteral("adb did not finish within %1 seconds.").arg(kAdbFinishLimitMs / 1000),
                       throwOnError);
    }
    const QString error = adbText(process.readAllStandardError());
    const QString output = adbText(process.readAllStandardOutput());
    noteServerStart(error);
    if (throwOnError) {
        const QString realError = withoutServerNotices(error);
        if (!realError.isEmpty())
            throw std::runtime_error(realError.toUtf8().toStdString());
        return output;
    }
    if (!error.isEmpty())
        return error + QLatin1Char('\n') + output;
    return output;
}

QString adbStartServer(const AdbStopCheck& stop)
{
    return runAdb({QStringLiteral("start-server")}, false, stop);
}

void adbKillServer()
{
    // Runs while the program closes: a hung adb gets a few seconds, not minutes.
    QElapsedTimer clock;
    clock.start();
    try {
        runAdb({QStringLiteral("kill-server")}, false,
               [&clock] { return clock.elapsed() > kKillServerLimitMs; });
    } catch (const AdbStopped&) {
    }
    serverStartedHere = false;
}

bool adbServerStartedHere()
{
    return serverStartedHere.load();
}

QList<AdbDevice> adbDevices(const AdbStopCheck& stop)
{
    return parseAdbDevices(runAdb({QStringLiteral("devices")}, true, stop));
}

QSet<QString> adbInstalledPackages(const QString& serial, const AdbStopCheck& stop)
{
    const QStringList args = {QStringLiteral("-s"), serial, QStringLiteral("shell"), QStringLiteral("pm"),
                              QStringLiteral("-l")};
    const QSet<QString> packages = parseInstalledPackages(runAdb(args, false, stop));
    if (!packages.isEmpty())
        return packages;
    // Android 7 and later answer "pm -l" with "Unknown command: -l"; they list with "pm list packages".
    const QStringList listArgs = {QStringLiteral("-s"),    serial,
                                  QStringLiteral("shell"), QStringLiteral("pm"),
                                  QStringLiteral("list"),  QStringLiteral("packages")};
    return parseInstalledPackages(runAdb(listArgs, false, stop));
}

void adbInstall(const QString& serial, const QString& apkPath, const AdbStopCheck& stop)
{
    const QString output =
        runAdb({QStringLiteral("-s"), serial, QStringLiteral("install"), apkPath}, false, stop);
    if (!installSucceeded(output))
        throw std::runtime_error(output.toUtf8().toStdString());
}

void adbAm(const QString& serial, const QString& command, const QString& component, const QString& action,
           const QString& data, const QStringList& categories, const QString& mimeType,
           const AdbStopCheck& stop)
{
    QStringList args = {QStringLiteral("-s"), serial, QStringLiteral("shell"), QStringLiteral("am"), command};
    const auto addPair = [&args](const char* option, const QString& value) {
        if (!value.isEmpty())
            args << QLatin1String(option) << value;
    };
    addPair("-n", component);
    addPair("-a", action);
    addPair("-d", data);
    for (const QString& category : categories)
        addPair("-c", category);
    addPair("-t", mimeType);
    const QString output = runAdb(args, false, stop);
    if (activityManagerFailed(output))
        throw std::runtime_error(output.toUtf8().toStdString());
}

void adbForward(const QString& serial, int localPort, int remotePort, const AdbStopCheck& stop)
{
    const QString local = QStringLiteral("tcp:%0").arg(localPort);
    const QString remote = QStringLiteral("tcp:%0").arg(remotePort);
    runAdb({QStringLiteral("-s"), serial, QStringLiteral("forward"), local, remote}, true, stop);
}
