#include "android/PhoneCacheFolder.h"

#include "base/AppDirs.h"
#include "base/PathGuard.h"

#include <QDir>
#include <QFileInfo>

bool isOwnCacheFolder(const QString& folder)
{
    const QString caches =
        QFileInfo(appDataDir().absoluteFilePath(QStringLiteral("android_cache"))).canonicalFilePath();
    const QFileInfo info(folder);
    return isRealSubfolder(folder) && !caches.isEmpty() &&
           QFileInfo(info.absolutePath()).canonicalFilePath() == caches;
}

bool replaceCacheFolder(const QString& loaded, const QString& cache, QString* error)
{
    const QString retired = cache + QStringLiteral(".__old");
    if (QFileInfo::exists(retired) && isOwnCacheFolder(retired))
        removeDirRecursively(retired);
    QDir dir;
    const bool hadCache = QFileInfo::exists(cache);
    if (hadCache && !dir.rename(cache, retired)) {
        *error = QStringLiteral("can not overwrite %1.").arg(QDir::toNativeSeparators(cache));
        return false;
    }
    if (!dir.rename(loaded, cache)) {
        if (hadCache)
            dir.rename(retired, cache);
        *error = QStringLiteral("can not overwrite %1.").arg(QDir::toNativeSeparators(cache));
        return false;
    }
    if (hadCache)
        removeDirRecursively(retired);
    return true;
}
