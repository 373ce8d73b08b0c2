#include "export/ExportOutput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <stdexcept>

namespace {
const char kTemporarySuffix[] = ".textferry-part";
} // namespace

QString ExportOutput::stage(const QString& finalPath)
{
    const QString temporary = finalPath + QLatin1String(kTemporarySuffix);
    QFile::remove(temporary); // a leftover of an export that was killed
    staged.append({temporary, finalPath});
    return temporary;
}

QString ExportOutput::unusedName(const QString& folder, const QString& fileName)
{
    const QFileInfo info(fileName);
    const QString base = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString name = fileName;
    for (int n = 2; usedNames.contains(QDir(folder).filePath(name).toLower()); ++n)
        name = QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(suffix);
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
        if (!QFile::rename(file.temporary, file.final)) {
            const QString text =
                QStringLiteral("can not write %1.").arg(QDir::toNativeSeparators(file.final));
            throw std::runtime_error(text.toUtf8().toStdString());
        }
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
