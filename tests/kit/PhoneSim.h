#pragma once

#include "android/AndroidDevice.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The phone simulator and stand-in adb of tools/phonesim, driven from a
// test: a state folder of the test's own (TEXTFERRY_PHONESIM_DIR, which the
// stand-in adb inherits), phones plugged and unplugged, faults, and what adb
// was asked. The stand-in adb is first on PATH in every test (CTest sets it).
class PhoneSim
{
public:
    PhoneSim();

    bool isValid() const { return state.isValid(); }
    // A phone file with the defaults every test starts from: serial S1, the
    // app installed and version 12, imei 350000000000001, uid sim-uid-1, mcc 310.
    static QJsonObject phone(const QString& serial = QStringLiteral("S1"));
    // The record the USB connect job makes of a phone file with the companion
    // app (its serial, and uid, imei and mcc from its info): the phone a load
    // or transfer test starts from.
    static AndroidDevice companionRecord(const QJsonObject& phone = PhoneSim::phone());
    // A message of the phone: ms since 1970, sent or received.
    static QJsonObject message(qint64 ms, bool sent, const QString& address, const QString& name,
                               const QString& body);

    bool plug(const QJsonObject& phone);
    bool unplug(const QString& serial);
    // Rewrites a plugged phone's file (state, faults) without replugging it.
    bool update(const QJsonObject& phone);
    void setAdbFault(const QString& word);
    // The adb calls so far, one line each, arguments joined by spaces.
    QStringList adbCalls() const;
    void forgetAdbCalls();
    // Every phone test's start: phone S1 unplugged, the adb calls forgotten
    // and no phone cache left in the data folder. False when the unplug failed.
    bool startAfresh();
    QString folder() const { return state.path(); }

private:
    QTemporaryDir state;
};
