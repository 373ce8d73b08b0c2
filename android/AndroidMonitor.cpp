#include "android/AndroidMonitor.h"

#include "android/AdbRunner.h"

#include <QtConcurrent/QtConcurrentRun>
#include <QtDebug>

#include <exception>

#ifdef Q_OS_WIN
#include "android/DeviceManagerWin.h"
#endif

namespace {
constexpr int kSleepSliceMs = 100;
} // namespace

AndroidMonitor::AndroidMonitor(QObject* parent) : QThread(parent) {}

AndroidMonitor::~AndroidMonitor()
{
    qDebug("%s", "~AndroidMonitor begin");
    stopRequested = true;
    loopFuture.waitForFinished();
    // A server that was running before belongs to another tool, which may still use it.
    if (adbServerStartedHere())
        adbKillServer();
    else
        qDebug("%s", "adb server left running: Textferry did not start it");
    qDebug("%s", "~AndroidMonitor end");
}

void AndroidMonitor::startMonitoring()
{
    loopFuture = QtConcurrent::run([this] { loop(); });
}

void AndroidMonitor::loop()
{
    startServer();
    while (!stopping()) {
        poll();
        for (int slept = 0; slept < pollIntervalMs.load() && !stopping(); slept += kSleepSliceMs)
            QThread::msleep(kSleepSliceMs);
    }
}

void AndroidMonitor::startServer()
{
    const auto stop = [this] { return stopping(); };
    try {
        const QString output = adbStartServer(stop);
#ifdef Q_OS_WIN
        // A server that did not start afresh may be another program's: the
        // maker's device manager sets the phone drivers and adb straight.
        if (!output.contains(QLatin1String("daemon started successfully"), Qt::CaseInsensitive)) {
            runDeviceManager(5000);
            adbStartServer(stop);
        }
#else
        Q_UNUSED(output);
#endif
    } catch (const std::exception&) {
        // Stopped while starting; the loop sees the flag.
    }
}

void AndroidMonitor::poll()
{
    try {
        const QList<AdbDevice> devices = adbDevices([this] { return stopping(); });
        QSet<QString> current;
        for (const AdbDevice& device : devices) {
            current.insert(device.serial);
            if (knownSerials.contains(device.serial))
                continue;
            knownSerials.insert(device.serial);
            knownCount = int(knownSerials.size());
            emit deviceConnected(device);
        }
        const QSet<QString> gone = knownSerials - current;
        for (const QString& serial : gone) {
            knownSerials.remove(serial);
            knownCount = int(knownSerials.size());
            emit deviceDisconnected(serial);
        }
    } catch (const std::exception&) {
        // adb failed or complained: this poll changes nothing; the next one tries again.
    }
}

// Compiled here so the meta-object code links with this class alone.
#include "moc_AndroidMonitor.cpp"
