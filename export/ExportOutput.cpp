#include "export/ExportOutput.h"

#include "base/AppDirs.h"
#include "export/ExportFileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace {
const char kTemporarySuffix[] = ".textferry-part";
const int kTemporarySuffixBytes = int(sizeof(kTemporarySuffix)) - 1;

int utf8Bytes(const QString& text)
{
    return int(text.toUtf8().size());
}
} // namespace

QString ExportOutput::stage(const QString& finalPath)
{
    // A name the file system takes only just still gets a working name it takes.
    const QFileInfo destination(finalPath);
    const QString temporary = QDir(destination.path())
                                  .filePath(fitFileName(destination.fileName(), kTemporarySuffixBytes) +
                                            QLatin1String(kTemporarySuffix));
    QFile::remove(temporary); // a leftover of an export that was killed
    staged.append({temporary, finalPath});
    return temporary;
}

QString ExportOutput::unusedName(const QString& folder, const QString& fileName)
{
    const QFileInfo info(fileName);
    const QString base = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    // The base is cut so that it, the counter, the suffix and the working
    // name's ending fit in one file name.
    QString name;
    for (int n = 1; name.isEmpty() || usedNames.contains(QDir(folder).filePath(name).toLower()); ++n) {
        const QString ending = (n == 1 ? QString() : QStringLiteral(" (%1)").arg(n)) + suffix;
        name = fitFileName(base, utf8Bytes(ending) + kTemporarySuffixBytes) + ending;
    }
    usedNames.insert(QDir(folder).filePath(name).toLower());
    return name;
}

bool ExportOutput::makeFolder(const QString& path)
{
    QStringList missing;
    for (QString folder = QDir::cleanPath(QDir(path).absolutePath()); !QFileInfo::exists(folder);
         folder = QFileInfo(folder).path()) {
        missing.prepend(folder);
        if (QFileInfo(folder).path() == folder)
            break;
    }
    for (const QString& folder : std::as_const(missing)) {
        if (!QDir().mkdir(folder))
            return false;
        createdFolders.append(folder);
    }
    return QFileInfo(path).isDir();
}

void ExportOutput::copySupportFile(const QString& from, const QString& to)
{
    if (!QFileInfo::exists(to) && QFile::copy(from, to))
        createdFiles.append(to);
}

void ExportOutput::commit()
{
    for (const Staged& file : std::as_const(staged)) {
        if (!QFileInfo::exists(file.temporary))
            continue; // an exporter that wrote nothing
        QFile::remove(file.final);
        errno = 0;
        QFile temporary(file.temporary);
        if (!temporary.rename(file.final))
            throw exportFileError("can not write", file.final, errno, temporary.errorString());
    }
    staged.clear();
}

void ExportOutput::discard()
{
    for (const Staged& file : std::as_const(staged))
        QFile::remove(file.temporary);
    for (const QString& file : std::as_const(createdFiles))
        QFile::remove(file);
    // Innermost first; a folder that holds something else stays.
    for (auto it = createdFolders.crbegin(); it != createdFolders.crend(); ++it)
        QDir().rmdir(*it);
    staged.clear();
    createdFiles.clear();
    createdFolders.clear();
}

QString ExportOutput::withFinalNames(QString text) const
{
    for (const Staged& file : staged)
        text.replace(QDir::toNativeSeparators(file.temporary), QDir::toNativeSeparators(file.final));
    return text;
}
