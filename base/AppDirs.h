#pragma once

#include <QDir>
#include <QString>

// Where the data folder goes when no redirect file says otherwise.
enum class DataFolderRule
{
    // "AppData/Roaming" in the home folder when it exists, else "Application
    // Data": Windows, and macOS.
    Roaming,
    // "AppData/Roaming" when it exists, else "Application Data" when it already
    // holds our data folder or its redirect file, else the XDG data home:
    // Linux and the other free desktops.
    Xdg,
};

// The rule of the system the program was built for.
DataFolderRule platformDataFolderRule();
// The XDG data home as QStandardPaths gives it ($XDG_DATA_HOME, else
// "~/.local/share"); "~/.local/share" when that is empty or relative.
QString xdgDataHome();
// The per-user data folder: resolved once per process (with the optional
// ".redirect" file beside its default place) and created on every call.
QDir appDataDir();
// The data folder for the given home folder, resolved afresh and not created:
// "<roaming>/QuillBridge/<product id>", or "<redirect target>/<product id>"
// when "<roaming>/QuillBridge/<product id>.redirect" names an existing path.
// <roaming> follows the rule; dataHomePath is the XDG data home the Xdg rule
// may choose, and the Roaming rule ignores it.
QString resolveAppDataFolder(const QString& homePath, const QString& dataHomePath, DataFolderRule rule);
// "local_databases" in the data folder, created when missing.
QDir localDbDir();
// Deletes a folder tree; entries that cannot be removed stay, silently.
// Symbolic links are removed, never followed. An empty path does nothing.
void removeDirRecursively(const QString& path);
// The longest file name, in UTF-8 bytes, that the common file systems take
// (ext4, btrfs, APFS; NTFS and FAT count 255 UTF-16 units, never fewer).
constexpr int kMaxFileNameBytes = 255;
// The name cut so that it, followed by reservedBytes more bytes of endings
// the program adds (a suffix, a counter, a working name), fits in
// kMaxFileNameBytes. The cut falls between two characters as the user sees
// them (never inside a UTF-8 sequence, a surrogate pair or a combining
// sequence); white space it leaves at the end is trimmed.
QString fitFileName(const QString& name, int reservedBytes = 0);
// A name usable as a file or folder name made from text that is not ours (a
// contact name, a phone's imei): removes \ / : * ? " < > |, turns control
// characters and line breaks into spaces, trims, removes leading dots (no
// hidden files, no "." or ".."), and cuts it with fitFileName(reservedBytes).
// The result may be empty.
QString safeFileName(const QString& name, int reservedBytes = 0);
