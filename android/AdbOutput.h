#pragma once

#include "android/AdbDevice.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

// Reading what adb prints. Pure text functions, so every parser can be tested
// on captured output without a device.

// Bytes of adb's output as text: 8-bit characters up to the first NUL byte.
QString adbText(const QByteArray& bytes);

// Standard error without the lines the adb server prints while it starts
// ("* daemon not running; starting now at tcp:5037", "* daemon started
// successfully", the version mismatch notice). Real adb writes them to
// standard error on any command that finds no server running; they are no
// failure of the command.
QString withoutServerNotices(const QString& standardError);

// The entries of an `adb devices` listing, after its "List of devices
// attached" header (any letter case), in listing order. Lines before the
// header and lines without two runs of serial characters are skipped.
QList<AdbDevice> parseAdbDevices(const QString& output);

// The package names of a `pm -l` listing: every line that starts with
// "package:". Anything else (an error text) yields nothing.
QSet<QString> parseInstalledPackages(const QString& output);

// True when a line of an `adb install` output reads "Success" (any letter case).
bool installSucceeded(const QString& output);

// True when a line of an activity-manager call begins with "error:" (any letter case).
bool activityManagerFailed(const QString& output);
