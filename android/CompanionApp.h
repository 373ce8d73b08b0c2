#pragma once

// What the application knows of its companion app on the phone.
namespace CompanionApp {
inline constexpr char kPackageName[] = "com.quillbridge.smssync";
// The broadcast receiver that starts the app over USB with a connection URL.
inline constexpr char kReceiverComponent[] = "com.quillbridge.smssync/.AdbSyncBroadcastReceiver";
// The installation package carried in the resources (built outside this project).
inline constexpr char kPackageResource[] = ":/res/com.quillbridge.smssync.apk";
inline constexpr char kPackageFileName[] = "com.quillbridge.smssync.apk";
// Older versions speak an earlier protocol and are refused.
inline constexpr int kMinimumVersion = 10;
inline constexpr char kMinimumVersionName[] = "3.1.10";
// The port the app listens on over WiFi once the user pressed its Connection
// button. For each exchange the computer first connects here and sends the
// connection URL as one line; the app answers one line, "0" + Base64 of its
// reason to refuse, anything else to accept (and then listens on the URL's
// port of the same address):
//   computer: backup2://127.0.0.1:23405
//   phone:    1
// or, refused ("Connection refused by the user."):
//   phone:    0Q29ubmVjdGlvbiByZWZ1c2VkIGJ5IHRoZSB1c2VyLg==
inline constexpr int kWifiControlPort = 44441;

// Connection URLs; %1 is the port (simpleprotocol::pickPort). The scheme
// names the exchange the app serves on that port (SimpleProtocol.h); the
// host is always 127.0.0.1, also over WiFi, and only the port is used. Over
// USB the URL is the data of the adb broadcast that starts the app, and the
// same port is forwarded:
//   adb -s SERIAL shell am broadcast -n com.quillbridge.smssync/.AdbSyncBroadcastReceiver
//       -d device2://127.0.0.1:23405          (one command line)
//   adb -s SERIAL forward tcp:23405 tcp:23405
// device2: the phone's properties ("$hello:").
inline constexpr char kDeviceUrl[] = "device2://127.0.0.1:%1";
// backup2: the phone sends all its messages ("$count:", batches of "$sms:").
inline constexpr char kBackupUrl[] = "backup2://127.0.0.1:%1";
// restore2: the computer sends messages to the phone in batches of "$sms:".
inline constexpr char kRestoreUrl[] = "restore2://127.0.0.1:%1";
} // namespace CompanionApp
