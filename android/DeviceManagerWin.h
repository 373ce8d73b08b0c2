#pragma once

// Windows only: the maker's device manager program, which sets up the phone
// drivers and adb, run from the application's folder.

// Runs "QuillbridgeDeviceManager.exe" hidden and waits for it at most waitMs.
// A missing program is not reported.
void runDeviceManager(int waitMs);
