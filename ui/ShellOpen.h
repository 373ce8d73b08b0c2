#pragma once

#include <QString>

class QUrl;

// Opens a folder in the file manager, or a file with its associated program.
void openInExplorer(const QString& path);
// True for an address the program hands to the browser: http or https, with
// a host. Links from outside (the vendor's server, a phone, a file) open only
// when they are such an address.
bool isWebAddress(const QUrl& url);
// Opens a web address in the system's browser. Anything that is not one (a
// file: or javascript: link, a data: URL, a relative name, a path) is refused
// and logged, and false is returned. On Windows the maker's device manager
// beside the program, which the USB hints link to, also opens.
bool openWithShell(const QString& target);
