#include "export/ExportFileError.h"

#include <QDir>
#include <QFileDevice>

#include <cerrno>

QString osErrorWords(int osError)
{
    if (osError == 0)
        return QString();
    const QString system = qt_error_string(osError);
    switch (osError) {
    case ENOSPC:
        return QStringLiteral("the disk is full (%1)").arg(system);
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("your disk quota is used up (%1)").arg(system);
#endif
#ifdef EFBIG
    case EFBIG:
        return QStringLiteral("the file would grow larger than this system allows (%1)").arg(system);
#endif
    case EIO:
        return QStringLiteral("the disk could not be read or written (%1)").arg(system);
    default:
        return system;
    }
}

std::runtime_error exportFileError(const char* action, const QString& path, int osError,
                                   const QString& fallback)
{
    QString reason = osErrorWords(osError);
    if (reason.isEmpty())
        reason = fallback.isEmpty() ? QStringLiteral("the data could not be written") : fallback;
    const QString text =
        QStringLiteral("%1 %2: %3.").arg(QLatin1String(action), QDir::toNativeSeparators(path), reason);
    return std::runtime_error(text.toUtf8().toStdString());
}

std::runtime_error exportWriteError(const QFileDevice& file, int osError)
{
    return exportFileError("can not write", file.fileName(), osError, file.errorString());
}
