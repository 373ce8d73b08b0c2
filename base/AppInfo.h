#pragma once

// Generated into the build tree from the version in CMakeLists.txt.
#include "TextferryVersion.h"

// The program's identity.
namespace AppInfo {
// Names the data folder and is sent to the vendor's web server as pid.
inline constexpr char kProductId[] = "5E0A7D19B3C24F6E8A1D0C9B7E6F4A21";
inline constexpr char kVersion[] = TEXTFERRY_VERSION;
inline constexpr int kBuildNumber = TEXTFERRY_BUILD_NUMBER;
// The name of the desktop entry (".desktop" file) and of the icon on Linux.
inline constexpr char kDesktopFileId[] = TEXTFERRY_APP_ID;
inline constexpr char kSupportEmail[] = "support@textferry.app";
inline constexpr char kHomePage[] = "https://www.textferry.app/";
inline constexpr char kHelpPage[] = "https://www.textferry.app/help/";
inline constexpr char kSupportPage[] = "https://www.textferry.app/support/";
inline constexpr char kUsbDebuggingPage[] = "https://www.textferry.app/help/usb-debugging/";
inline constexpr char kUsbDriverPage[] = "https://www.textferry.app/help/usb-driver/";
// The vendor's web server (HTTP, port 80): error reports, the update check and
// the promotion link. TEXTFERRY_SERVER overrides it (VendorServer).
inline constexpr char kServerHost[] = "service.textferry.app";
} // namespace AppInfo
