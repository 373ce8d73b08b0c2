#pragma once

#include "android/AdbDevice.h"

#include <QFuture>
#include <QSet>
#include <QString>
#include <QThread>

#include <atomic>

// Watches for phones on USB: polls `adb devices` every few seconds on the
// global thread pool and reports serials that appear in the listing and
// serials that leave it, as signals the GUI thread receives queued. The adb
// server is started when watching begins and stopped when the monitor goes,
// but only when this program started it: a server that was already running
// serves other Android tools too.
//
// Derives QThread by tradition; it is never started as a thread.
class AndroidMonitor : public QThread
{
    Q_OBJECT
public:
    explicit AndroidMonitor(QObject* parent = nullptr);
    // Stops the loop (within a slice, even while adb hangs), waits for it,
    // then stops the adb server if this program started it.
    ~AndroidMonitor() override;

    // Hands the loop to the global thread pool. Call once.
    void startMonitoring();
    // True while a phone reported as connected has not been reported gone
    // (safe from the GUI thread).
    bool hasSeenDevice() const { return knownCount.load() > 0; }
    // The pause between two polls; 3 s unless a test asks for less.
    void setPollInterval(int ms) { pollIntervalMs = ms; }

signals:
    void deviceConnected(const AdbDevice& dev);
    void deviceDisconnected(const QString& devid);

private:
    void loop();
    void startServer();
    void poll();
    bool stopping() const { return stopRequested.load(); }

    std::atomic<bool> stopRequested{false};
    QSet<QString> knownSerials; // changed by the loop only
    std::atomic<int> knownCount{0};
    std::atomic<int> pollIntervalMs{3000};
    QFuture<void> loopFuture;
};
