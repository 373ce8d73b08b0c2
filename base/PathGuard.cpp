#include "base/PathGuard.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

// A link whose target does not exist: creating something there would create
// it wherever the link points.
bool isDanglingLink(const QFileInfo& info)
{
    return info.isSymLink() && !info.exists();
}

} // namespace

bool isSameOrInside(const QString& path, const QString& folder)
{
    if (path.isEmpty() || folder.isEmpty())
        return false;
    if (path == folder)
        return true;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(prefix);
}

bool isRealSubfolder(const QString& folder)
{
    const QFileInfo info(QDir::cleanPath(QDir(folder).absolutePath()));
    if (!info.isDir() || info.isSymLink() || info.isJunction())
        return false;
    const QString parent = QFileInfo(info.absolutePath()).canonicalFilePath();
    return info.canonicalFilePath() == QDir(parent).filePath(info.fileName());
}

QString entryLeadingOutside(const QString& folder, const QString& path)
{
    const QString root = QDir::cleanPath(QDir(folder).absolutePath());
    const QFileInfo rootInfo(root);
    if (isDanglingLink(rootInfo))
        return root;
    if (!rootInfo.exists())
        return QString(); // created below its parent as a real folder
    const QString parent = QFileInfo(rootInfo.absolutePath()).canonicalFilePath();
    const QString canonicalRoot = rootInfo.canonicalFilePath();
    if (!isSameOrInside(canonicalRoot, parent) || canonicalRoot == parent)
        return root;

    const QString target = QDir::cleanPath(QDir(root).absoluteFilePath(path));
    if (!isSameOrInside(target, root))
        return target;
    const QStringList parts = target.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = root;
    for (const QString& part : parts) {
        current += QLatin1Char('/') + part;
        const QFileInfo info(current);
        if (isDanglingLink(info))
            return current;
        if (!info.exists())
            break; // what follows is created here, inside the folder
        if (!isSameOrInside(info.canonicalFilePath(), canonicalRoot))
            return current;
    }
    return QString();
}
