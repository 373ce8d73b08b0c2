#include "base/LocalDbName.h"

#include "base/AppDirs.h"

#include <QDir>
#include <QFileInfo>

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

bool isUsableLocalDbName(const QString& name)
{
    if (name.trimmed().isEmpty() || name.startsWith(QLatin1Char('.')))
        return false;
    for (const QChar c : name) {
        if (isForbiddenCharacter(c))
            return false;
    }
    return !escapesLocalDbDir(name);
}
