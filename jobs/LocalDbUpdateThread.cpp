#include "jobs/LocalDbUpdateThread.h"

#include "base/AppDirs.h"
#include "base/Rc4.h"
#include "country/CountryInfo.h"
#include "jobcore/JobBody.h"
#include "jobcore/JobProgress.h"
#include "jobs/OldLocalDbFormat.h"
#include "store/ExportMessagesDb.h"
#include "store/SimpleSms.h"
#include "store/StoredDate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("LocalDbUpdateThread", text);
}

// Plain files only: a link may lead anywhere.
QStringList oldFiles()
{
    return localDbDir().entryList(QDir::Files | QDir::NoSymLinks, QDir::NoSort);
}

// Checked again right before the rename: another program may have converted
// the file meanwhile, leaving a folder of the same name.
bool isPlainFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink();
}

// The message text: empty for NULL or nothing, else deciphered, as UTF-8.
QString decipheredBody(const QByteArray& body)
{
    if (body.isEmpty())
        return QString();
    return QString::fromUtf8(rc4(QByteArray(OldLocalDbFormat::kKey), body));
}

} // namespace

LocalDbUpdateThread::LocalDbUpdateThread(JobProgress* form, QObject* parent) : QThread(parent), form(form) {}

bool LocalDbUpdateThread::hasOldDatabases()
{
    return !oldFiles().isEmpty();
}

std::unique_ptr<QLockFile> LocalDbUpdateThread::lockConversion()
{
    auto lock = std::make_unique<QLockFile>(appDataDir().absoluteFilePath(QStringLiteral("convert.lock")));
    // A conversion may take long; only a lock whose program is gone is stale.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    qint64 pid = 0;
    QString host;
    QString program;
    lock->getLockInfo(&pid, &host, &program);
    qDebug("Old local databases are not converted now: %s (process %lld on %s) holds %s.",
           qUtf8Printable(program), pid, qUtf8Printable(host), qUtf8Printable(lock->fileName()));
    return nullptr;
}

void LocalDbUpdateThread::run()
{
    const QStringList files = oldFiles();
    if (files.isEmpty()) {
        // Gone since the caller looked: the dialog closes without a word.
        form->postSucceed(QString());
        return;
    }
    for (const QString& name : files) {
        const Outcome outcome = convertFile(name);
        if (outcome == Outcome::Failed)
            return;
        if (outcome == Outcome::Converted)
            ++convertedFiles;
    }
    removeLeftovers();
    // Nothing converted after all: nothing to restart for.
    form->postSucceed(convertedFiles > 0 ? translated("IDS_LOCALDB_UPDATE_SUC_RESTART_REFRESH") : QString());
}

LocalDbUpdateThread::Outcome LocalDbUpdateThread::convertFile(const QString& fileName)
{
    form->postUpdateProgress(translated("IDS_UPDATING_LOCALDB_%1").arg(fileName), 0, QString());
    QString path = localDbDir().absoluteFilePath(fileName);
    if (!isPlainFile(path)) {
        qWarning("%s is no longer a plain file; it is left as it is.", qUtf8Printable(path));
        return Outcome::LeftAlone;
    }
    const QLatin1String working(OldLocalDbFormat::kWorkingSuffix);
    if (QFileInfo(path).suffix().compare(working.mid(1), Qt::CaseInsensitive) != 0) {
        const QString renamed = workingPath(path);
        if (!QFile::rename(path, renamed)) {
            form->postErrorOccurred(QStringLiteral("can not rename %1.").arg(path));
            return Outcome::Failed;
        }
        path = renamed;
    }
    const QString folder = path.left(path.lastIndexOf(QLatin1Char('.')));
    ExportMessagesDb exporter{QDir(folder), QString()};
    Sqlite3DB old;
    const bool copied = runJobBody(
        form,
        [&] {
            old.openThrow(path, Sqlite3DB::ReadWrite);
            exporter.begin();
            copyMessages(old, exporter);
            exporter.end();
            old.close();
            QFile::remove(path);
        },
        [&exporter] { exporter.abandon(); }); // nothing of this file is committed
    return copied ? Outcome::Converted : Outcome::Failed;
}

QString LocalDbUpdateThread::workingPath(const QString& path)
{
    const QLatin1String working(OldLocalDbFormat::kWorkingSuffix);
    const QFileInfo info(path);
    return QDir(info.path()).filePath(fitFileName(info.fileName(), int(working.size())) + working);
}

void LocalDbUpdateThread::copyMessages(Sqlite3DB& old, ExportMessagesDb& exporter)
{
    Sqlite3Cursor cursor = old.queryThrow(QStringLiteral("select * from view_sms"));
    const int n = cursor.count();
    const CountryInfo country = exporter.country();
    const int address = cursor.columnIndex(QStringLiteral("address"));
    const int body = cursor.columnIndex(QStringLiteral("body"));
    const int person = cursor.columnIndex(QStringLiteral("person"));
    const int date = cursor.columnIndex(QStringLiteral("date"));
    const int isSend = cursor.columnIndex(QStringLiteral("is_send"));
    const QString counter = translated("SMS: %1/%2");
    for (int k = 1; cursor.moveNext(); ++k) {
        form->postItemProgress(QString(), k, n, counter);
        SimpleSms sms;
        sms.fill({normalizePhoneNumber(country, cursor.getText(address)), cursor.getText(person),
                  decipheredBody(cursor.getBlob(body)), QString(),
                  storedDateFromUnixSeconds(cursor.getInt64(date)), cursor.getInt64(isSend) != 0});
        exporter.write(sms);
    }
}

// Working files of an earlier, interrupted run that nothing took up.
void LocalDbUpdateThread::removeLeftovers()
{
    QDir folder = localDbDir();
    for (const QString& name :
         folder.entryList({QLatin1Char('*') + QLatin1String(OldLocalDbFormat::kWorkingSuffix)}, QDir::Files))
        folder.remove(name);
}
