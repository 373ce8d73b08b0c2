#pragma once

#include <QString>

// Opens a folder in the file manager, or a file with its associated program.
void openInExplorer(const QString& path);
// Opens a web address or a file with the system's shell.
void openWithShell(const QString& target);
