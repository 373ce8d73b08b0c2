#pragma once

#include <QDir>
#include <QString>

// The folder that the phone simulator and the stand-in adb share:
// $TEXTFERRY_PHONESIM_DIR, else ~/.textferry-phonesim. Created on first use.
//
//   server                  exists while the stand-in adb "server" runs
//   phones/<serial>.json    plugged phones
//   installed/<serial>      the companion app is installed on that phone
//   adb-fault               optional: hang, devices-garbage, devices-stderr
//   adb.log                 one line per stand-in adb call
//   restored/<serial>.jsonl messages a phone received on restore connections
//   serve.log               standard error of the phone servers adb starts
//   generated/<key>.bin     generated messages, kept so that every connection
//                           serves them at once
class SimState
{
public:
    SimState();

    QString root() const { return dir.absolutePath(); }
    QString serverFile() const { return dir.filePath(QStringLiteral("server")); }
    QString faultFile() const { return dir.filePath(QStringLiteral("adb-fault")); }
    QString adbLogFile() const { return dir.filePath(QStringLiteral("adb.log")); }
    QString serveLogFile() const { return dir.filePath(QStringLiteral("serve.log")); }
    QString phonesDir() const { return dir.filePath(QStringLiteral("phones")); }
    QString phoneFile(const QString& serial) const;
    QString installedMarker(const QString& serial) const;
    QString restoredFile(const QString& serial) const;
    QString generatedFile(const QString& key) const;

    // Serials of the plugged phones, sorted by file name.
    QStringList pluggedSerials() const;
    bool isPlugged(const QString& serial) const;
    bool isInstalled(const QString& serial) const;
    // Creates or removes installed/<serial>.
    bool setInstalled(const QString& serial, bool installed) const;
    // The adb fault word, trimmed; empty when there is none.
    QString adbFault() const;

private:
    QDir dir;
};
