#pragma once

#include <QString>

// The folders of android_cache that the load jobs delete and rebuild.

// True when folder is a real folder directly inside android_cache, whatever
// the phone called itself (no link, no way out).
bool isOwnCacheFolder(const QString& folder);

// Puts the freshly loaded folder `loaded` in the place of `cache`: the old
// cache goes only once the new one is in place; on failure the old one stays
// where it was and *error names what failed. Both lie in android_cache.
bool replaceCacheFolder(const QString& loaded, const QString& cache, QString* error);
