#pragma once

#include "tools/phonesim/SimState.h"

#include <QByteArray>
#include <QStringList>

class PhoneProfile;

// Plays the adb 1.0.41 client for the few commands Textferry runs, against
// the phones plugged into the simulator's folder: the same texts on the same
// streams and the same exit codes. A broadcast to the companion app's
// receiver starts "textferry-phonesim serve" for the connection URL.
class AdbStandIn
{
public:
    explicit AdbStandIn(const QStringList& args);

    // Runs the call; returns the exit code.
    int run();

private:
    void logCall() const;
    [[noreturn]] static void hangForever();
    void announceServerStart() const;

    int listDevices() const;
    int unknownCommand() const;
    static bool isDeviceCommand(const QStringList& words);
    int runOnDevice(const QStringList& words) const;
    bool loadReadyPhone(PhoneProfile* phone) const;
    // dashL: "pm -l" rather than "pm list packages".
    int listPackages(const PhoneProfile& phone, bool dashL) const;
    int install(const PhoneProfile& phone, const QStringList& words) const;
    int broadcast(const PhoneProfile& phone, const QStringList& words) const;
    void startPhoneServer(const PhoneProfile& phone, const QString& url) const;

    static void writeOut(const QByteArray& bytes);
    static void writeErr(const QByteArray& bytes);

    QStringList args;
    QString serial; // from -s
    QStringList commandWords;
    SimState state;
};
