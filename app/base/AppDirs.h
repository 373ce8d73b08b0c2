#pragma once

#include <QDir>
#include <QString>

// The per-user data folder: resolved once per process (with the optional
// ".redirect" file beside its default place) and created on every call.
QDir appDataDir();
// The data folder for the given home folder, resolved afresh and not created:
// "<roaming>/QuillBridge/<product id>", or "<redirect target>/<product id>"
// when "<roaming>/QuillBridge/<product id>.redirect" names an existing path.
QString resolveAppDataFolder(const QString& homePath);
// "local_databases" in the data folder, created when missing.
QDir localDbDir();
// Deletes a folder tree; entries that cannot be removed stay, silently.
// Symbolic links are removed, never followed. An empty path does nothing.
void removeDirRecursively(const QString& path);
// Removes \ / : * ? " < > | and trims: a name usable as a file name.
QString safeFileName(const QString& name);
