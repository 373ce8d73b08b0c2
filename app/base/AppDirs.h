#pragma once

#include <QDir>
#include <QString>

// The per-user data folder: resolved once per process (with the optional
// ".redirect" file beside its default place) and created on every call.
QDir appDataDir();
// "local_databases" in the data folder, created when missing.
QDir localDbDir();
// Deletes a folder tree; entries that cannot be removed stay, silently.
void removeDirRecursively(const QString& path);
// Removes \ / : * ? " < > | and trims: a name usable as a file name.
QString safeFileName(const QString& name);
