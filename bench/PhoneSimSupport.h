#pragma once

#include "android/AndroidDevice.h"

#include <QString>
#include <QStringList>

class QTemporaryDir;

// The phone simulator and the stand-in adb of tools/phonesim for the phone
// benchmarks: a state folder in the benchmark's home and the stand-in first
// on PATH, then the simulator's commands.
namespace PhoneSimSupport {

// Call after BenchSupport::useTemporaryHome(), before any adb runs.
void usePhoneSimulator(const QTemporaryDir& home);
// Runs textferry-phonesim with args; true when it succeeded.
bool runPhoneSim(const QStringList& args);
// Generates a phone of that many messages and plugs it in.
bool plugGeneratedPhone(const QTemporaryDir& home, const QString& serial, const QString& imei, int messages);
// Sets the simulator up, plugs a generated phone of that many messages in and
// returns the device the jobs address it by (country code 310); exits the
// benchmark when the simulator fails.
AndroidDevice plugBenchPhone(const QTemporaryDir& home, const QString& serial, const QString& imei,
                             int messages);

} // namespace PhoneSimSupport
