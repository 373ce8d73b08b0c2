#pragma once

#include <QString>
#include <QStringList>

class PhoneProfile;
class SimState;

// The phone's shell commands that read it without the companion app, as
// Android 10 and later answer them to the adb shell user:
//   getprop NAME
//   content query --uri URI [--projection P] [--where W] [--sort S] [--user U]
// for content://sms (only inbox and sent messages are visible to the shell)
// and content://com.android.contacts/data/phones. Each returns the exit code
// and writes to standard output and error as it goes.
namespace ShellProvider {

int getprop(const PhoneProfile& phone, const QStringList& args);
// args: what follows "content". serial and state serve the unplug fault.
int content(const PhoneProfile& phone, const SimState& state, const QString& serial, const QStringList& args);

} // namespace ShellProvider
