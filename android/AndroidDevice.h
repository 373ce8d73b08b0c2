#pragma once

#include <QMetaType>
#include <QString>

// One connected (or virtual) Android phone: how it is reached and the
// properties the companion app reported when it was connected. A plain value
// type, copied between the connect and load jobs, the dialogs, the main window
// and the phone's node of the source tree.
struct AndroidDevice
{
    QString serial;       // the adb serial; empty for WiFi
    QString uid;          // the phone's own identifier ("uid")
    bool isWifi = false;  // false for USB, true for WiFi
    QString host;         // IPv4 address of a WiFi phone
    int port = 0;         // control port of a WiFi phone
    int version = 0;      // companion app version code ("version")
    QString model;        // "model"
    QString manufacturer; // "manufacturer"
    QString imei;         // "imei": names the phone's cache folder
    QString sdk;          // platform version text ("sdk")
    int sdkId = 0;        // platform level ("sdk_id")
    bool root = false;    // "root": true when the value is a non-zero number
    QString storage1;     // "storage1"
    QString mmc;          // mobile country code ("mmc")
    // Read over the adb shell without the companion app (Android 10 and
    // later): its messages can be read, not written; uid and cache folder
    // come from the serial.
    bool viaAdbShell = false;

    // The identifier the device monitor knows the phone by: uid over WiFi, else the serial.
    QString deviceId() const;
    // Manufacturer and model joined by a space (model omitted when empty), trimmed.
    QString displayName() const;
    // Absolute path of "android_cache/<imei>" in the data folder, created when missing.
    // The imei is cleaned as every name made from outside text (safeFileName: no
    // separators, no leading dots, cut to what a file system takes), so the folder
    // never lies outside android_cache.
    // Without a usable imei the uid names the folder, else the serial, else "unknown".
    // A phone read over the adb shell has "shell-<serial>", apart from companion caches.
    QString cacheDir() const;

    // Stores one key of the companion app's device information in its field.
    // Numbers are read as decimal integers (anything else reads as 0); unknown
    // keys are ignored. Returns whether the key was known.
    bool setInfoValue(const QString& key, const QString& value);
};

Q_DECLARE_METATYPE(AndroidDevice)
