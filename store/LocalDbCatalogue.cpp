#include "store/LocalDbCatalogue.h"

#include "base/AppDirs.h"
#include "store/IOS6MessageDb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <stdexcept>

namespace {

bool isForbiddenCharacter(QChar c)
{
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    return forbidden.contains(c) || c.category() == QChar::Other_Control;
}

// A name the file system would read as something else than one folder of
// that name directly inside the local-databases folder.
bool escapesLocalDbDir(const QString& name)
{
    const QString base = QDir::cleanPath(localDbDir().absolutePath());
    const QFileInfo target(QDir::cleanPath(base + QLatin1Char('/') + name));
    return target.fileName() != name || QDir::cleanPath(target.path()) != base;
}

} // namespace

bool LocalDbCatalogue::isUsableName(const QString& name)
{
    if (name.trimmed().isEmpty() || name.startsWith(QLatin1Char('.')))
        return false;
    for (const QChar c : name) {
        if (isForbiddenCharacter(c))
            return false;
    }
    return !escapesLocalDbDir(name);
}

QStringList LocalDbCatalogue::names()
{
    return localDbDir().entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

QString LocalDbCatalogue::match(const QStringList& names, const QString& name)
{
    if (names.contains(name))
        return name;
    for (const QString& other : names) {
        if (other.compare(name, Qt::CaseInsensitive) == 0)
            return other;
    }
    return QString();
}

QString LocalDbCatalogue::find(const QString& name)
{
    return match(names(), name);
}

QString LocalDbCatalogue::folderOf(const QString& name)
{
    return localDbDir().absoluteFilePath(name);
}

QSharedPointer<IOS6MessageDb> LocalDbCatalogue::database(const QString& name)
{
    return QSharedPointer<IOS6MessageDb>::create(QDir(folderOf(name)), QString());
}

bool LocalDbCatalogue::create(const QString& name)
{
    const QString folder = folderOf(name);
    const bool existed = QFileInfo::exists(folder);
    if (!QDir().mkpath(folder))
        throw std::runtime_error(
            QCoreApplication::translate("LocalDbCatalogue", "Can't create the database folder %1.")
                .arg(QDir::toNativeSeparators(folder))
                .toStdString());
    return !existed;
}
