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
// The port the app listens on over WiFi once the user pressed its Connection button.
inline constexpr int kWifiControlPort = 44441;

// Connection URLs; %1 is the port. The scheme names the exchange.
inline constexpr char kDeviceUrl[] = "device2://127.0.0.1:%1";
inline constexpr char kBackupUrl[] = "backup2://127.0.0.1:%1";
inline constexpr char kRestoreUrl[] = "restore2://127.0.0.1:%1";
} // namespace CompanionApp
