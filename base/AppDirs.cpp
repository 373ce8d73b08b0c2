#include "base/AppDirs.h"

#include "base/AppInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

constexpr QLatin1String kVendorFolder("QuillBridge");

QString productId()
{
    return QString::fromLatin1(AppInfo::kProductId);
}

// "AppData/Roaming" in the home folder when it exists, else "Application Data".
QString roamingFolder(const QString& homePath)
{
    const QDir home(homePath);
    const QString roaming = home.absoluteFilePath(QStringLiteral("AppData/Roaming"));
    if (QDir(roaming).exists())
        return roaming;
    return home.absoluteFilePath(QStringLiteral("Application Data"));
}

// The Xdg rule: "AppData/Roaming" when it exists; "Application Data" while
// it holds our data folder or its redirect file, so that nobody's databases
// vanish with an update; else the XDG data home.
QString xdgRoamingFolder(const QString& homePath, const QString& dataHomePath)
{
    const QDir home(homePath);
    const QString roaming = home.absoluteFilePath(QStringLiteral("AppData/Roaming"));
    if (QDir(roaming).exists())
        return roaming;
    const QString legacy = home.absoluteFilePath(QStringLiteral("Application Data"));
    const QString dataFolder = QDir(legacy).absoluteFilePath(kVendorFolder + QLatin1Char('/') + productId());
    if (QFileInfo::exists(dataFolder) || QFileInfo::exists(dataFolder + QStringLiteral(".redirect")))
        return legacy;
    return dataHomePath;
}

// The base folder named by the redirect file, or an empty text when the file
// is missing, unreadable, empty or names nothing that exists.
QString redirectTarget(const QString& redirectFile)
{
    QFile file(redirectFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray content = file.readAll();
    const int nul = content.indexOf('\0');
    if (nul >= 0)
        content.truncate(nul);
    const QString target = QString::fromUtf8(content);
    if (target.isEmpty() || !QFileInfo::exists(target))
        return {};
    return target;
}

} // namespace

DataFolderRule platformDataFolderRule()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return DataFolderRule::Roaming;
#else
    return DataFolderRule::Xdg;
#endif
}

QString xdgDataHome()
{
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    // The XDG rules ignore a relative path; it would follow the current folder.
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        return QDir::home().absoluteFilePath(QStringLiteral(".local/share"));
    return dataHome;
}

QString resolveAppDataFolder(const QString& homePath, const QString& dataHomePath, DataFolderRule rule)
{
    const QString id = productId();
    const QDir roaming(rule == DataFolderRule::Roaming ? roamingFolder(homePath)
                                                       : xdgRoamingFolder(homePath, dataHomePath));
    QString base = redirectTarget(
        roaming.absoluteFilePath(kVendorFolder + QLatin1Char('/') + id + QStringLiteral(".redirect")));
    if (base.isEmpty())
        base = roaming.absoluteFilePath(kVendorFolder);
    return QDir(base).absoluteFilePath(id);
}

QDir appDataDir()
{
    // Resolved once; a redirect file changed later takes effect at the next start.
    static const QString folder =
        resolveAppDataFolder(QDir::homePath(), xdgDataHome(), platformDataFolderRule());
    QDir().mkpath(folder);
    return QDir(folder);
}

QDir localDbDir()
{
    const QString folder = appDataDir().absoluteFilePath(QStringLiteral("local_databases"));
    if (!QDir(folder).exists())
        QDir().mkpath(folder);
    return QDir(folder);
}

void removeDirRecursively(const QString& path)
{
    // An empty path would name the current folder.
    if (path.isEmpty())
        return;
    QDir dir(path);
    if (!dir.exists())
        return;
    // System lists links whose target is gone; left behind, they would keep
    // the folder from being removed.
    const QFileInfoList entries = dir.entryInfoList(
        QDir::Dirs | QDir::Files | QDir::Drives | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() || entry.isJunction()) {
            // A link to a folder elsewhere goes, but what it points at stays.
            if (!dir.remove(entry.fileName()))
                QDir().rmdir(entry.absoluteFilePath());
        } else if (entry.isDir()) {
            removeDirRecursively(entry.absoluteFilePath());
        } else {
            dir.remove(entry.fileName());
        }
    }
    QDir().rmdir(dir.absolutePath());
}

QString fitFileName(const QString& name, int reservedBytes)
{
    const int budget = kMaxFileNameBytes - std::max(reservedBytes, 0);
    if (name.toUtf8().size() <= budget)
        return name;
    // Cut only where a user-perceived character ends.
    QTextBoundaryFinder boundaries(QTextBoundaryFinder::Grapheme, name);
    qsizetype fits = 0;
    qsizetype bytes = 0;
    for (qsizetype end = boundaries.toNextBoundary(); end > 0; end = boundaries.toNextBoundary()) {
        bytes += QStringView(name).mid(fits, end - fits).toUtf8().size();
        if (bytes > budget)
            break;
        fits = end;
    }
    return name.left(fits).trimmed();
}

QString safeFileName(const QString& name, int reservedBytes)
{
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|]"));
    // C0 and C1 controls, and the Unicode line and paragraph separators.
    static const QRegularExpression breaks(
        QStringLiteral("[\\x{0}-\\x{1f}\\x{7f}-\\x{9f}\\x{2028}\\x{2029}]+"));
    static const QRegularExpression leadingDots(QStringLiteral("^\\.+"));
    QString cleaned = name;
    cleaned.remove(forbidden);
    cleaned.replace(breaks, QStringLiteral(" "));
    cleaned = cleaned.trimmed();
    cleaned.remove(leadingDots);
    return fitFileName(cleaned.trimmed(), reservedBytes);
}
