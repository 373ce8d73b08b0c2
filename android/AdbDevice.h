#pragma once

#include <QMetaType>
#include <QString>

// One line of the `adb devices` listing: a phone attached over USB and the
// state adb reports for it. A plain value type; it travels from the device
// monitor's thread to the main window in queued signals.
struct AdbDevice
{
    QString line;   // the whole listing line, trimmed
    QString serial; // the serial number as adb prints it
    QString state;  // "device", "offline", "unauthorized", ...

    // True when adb reports the phone as ready ("device", in any letter case).
    bool isOnline() const;
};

Q_DECLARE_METATYPE(AdbDevice)
