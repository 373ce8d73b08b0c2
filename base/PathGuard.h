#pragma once

#include <QString>

// Checks that keep the program's writes and deletions inside the folders it
// owns when symbolic links in the data folder point somewhere else.

// True when path is folder or lies below it; both are compared as given,
// so pass canonical paths.
bool isSameOrInside(const QString& path, const QString& folder);

// True when folder is a real folder where its parent lists it: it exists and
// neither it nor its name in the parent is a symbolic link to elsewhere.
bool isRealSubfolder(const QString& folder);

// The first entry on the way from `folder` down to `path` (a path below it,
// existing or not) that leads out of where it stands: `folder` itself when it
// is a link away from its parent folder, an entry below it when it resolves
// outside `folder`, or a link that leads nowhere. Empty when every existing
// part of the path stays inside.
QString entryLeadingOutside(const QString& folder, const QString& path);
